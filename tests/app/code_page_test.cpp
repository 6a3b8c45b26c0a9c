// The program on a Windows whose ANSI code page is not 1250: run with Wine's
// code page 1252 (the C.UTF-8 locale), as on an English Windows, it finds its history by its Polish
// name and saves and opens found sets under a Polish name.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/app_fixture.hpp"

namespace {

using namespace apptest;

TEST(CodePage, PolishFileNamesAreFoundOnAnEnglishWindows) {
    ASSERT_EQ(GetACP(), 1252u);
    ASSERT_NE(mainWindow(), nullptr);
    const std::string folder = ownTempFolder("code-page");
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    const std::wstring history = L"Mini Lotto wyniki losowa\u0144.txt";
    const std::wstring found = L"znalezione \u017c\u00f3\u0142\u0107.txt";
    DeleteFileW(found.c_str());  // left by an earlier run with the same process id
    const std::string data = ZESTAWY_DATA_DIR;
    ASSERT_TRUE(CopyFileW((std::wstring(data.begin(), data.end()) + L"/" + history).c_str(),
                          history.c_str(), FALSE))
        << GetLastError() << " " << data;

    resetToStartState();
    command(kCmdPrepareSearch);
    SetWindowTextA(state().countBox, "3");
    EXPECT_EQ(runCommand(kMiniLoad, answerBox(IDOK)), "");
    const std::string numbers = textOf(state().numbersBox);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), '\n'), 2) << numbers;

    SetWindowTextA(state().resultsBox, "1, 2\r\n3, 4");
    EXPECT_EQ(runCommand(kMiniSave, chooseFile(found)), "");
    EXPECT_NE(GetFileAttributesW(found.c_str()), INVALID_FILE_ATTRIBUTES);
    SetWindowTextA(state().resultsBox, "");
    EXPECT_EQ(runCommand(kMiniOpen, chooseFile(found)), "");
    EXPECT_EQ(textOf(state().resultsBox), "1, 2\r\n3, 4");
}

}  // namespace
