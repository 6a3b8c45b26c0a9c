// "Zapisz znalezione" and "Otwórz znalezione" on the real window with the real
// file dialogs. The button's command shows a modal dialog and returns only when
// it closes, so the test thread sends the command while a second thread plays
// the user: it waits for each dialog, types, presses and reads what it shows.
#include <windows.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/app_fixture.hpp"

namespace {

using namespace apptest;

class FoundSets : public ::testing::Test {
  protected:
    static std::string folder;

    static void SetUpTestSuite() {
        ASSERT_NE(mainWindow(), nullptr);
        folder = ownTempFolder("found-sets") + "\\";
    }
    static void TearDownTestSuite() {
        for (const std::string& name : filesIn()) {
            SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + name).c_str());
        }
        RemoveDirectoryA(folder.c_str());
    }
    // The save dialog may make the chosen folder the current one; the other
    // window tests read their files from the working folder.
    void SetUp() override { GetCurrentDirectoryA(MAX_PATH, workingFolder); }
    void TearDown() override { SetCurrentDirectoryA(workingFolder); }

    static std::set<std::string> filesIn() {
        std::set<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(data.cFileName);
        while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }
    static void write(const std::string& name, const std::string& bytes) {
        HANDLE f = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(f);
    }
    // The file's bytes, or "(none)" when it does not exist.
    static std::string contents(const std::string& name) {
        HANDLE f = CreateFileA((folder + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return "(none)";
        std::string bytes(GetFileSize(f, nullptr), '\0');
        DWORD read = 0;
        ReadFile(f, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(f);
        return bytes.substr(0, read);
    }
    static std::string results() { return textOf(state().resultsBox); }
    static void setResults(const std::string& text) {
        SetWindowTextA(state().resultsBox, text.c_str());
    }

    char workingFolder[MAX_PATH] = "";
};
std::string FoundSets::folder;

TEST_F(FoundSets, EveryPanelSavesAndOpensTheOneResultsBoxByteForByte) {
    struct Panel {
        int save, open;
        const char* file;
        std::string text;
    };
    const Panel panels[] = {
        {43, 44, "multi.txt", "1, 2\r\nZażółć gęślą jaźń\r\n\r\nŁÓDŹ – 80, 79"},
        {45, 46, "lotto.txt", "Wszystkie pary już wypadły.\r\n"},
        {47, 48, "mini.txt", "1, 7, 8\r\n"},
    };
    for (const Panel& p : panels) {
        SCOPED_TRACE(p.file);
        setResults(p.text);
        EXPECT_EQ(runCommand(p.save, chooseFile(folder + p.file)), "");
        EXPECT_EQ(contents(p.file), p.text);
        setResults("earlier text");
        EXPECT_EQ(runCommand(p.open, chooseFile(folder + p.file)), "");
        EXPECT_EQ(results(), p.text);
    }
    // Windows-1250 bytes, one per letter.
    EXPECT_EQ(contents("multi.txt").substr(6, 6), "Za\xbf\xf3\xb3\xe6");
}

// Only the save dialog: Wine's open dialog looks for the bare name before it
// adds the extension, and refuses it.
TEST_F(FoundSets, SaveDialogAddsTxtToABareName) {
    setResults("3, 4");
    EXPECT_EQ(runCommand(kMultiSave, chooseFile(folder + "bare")), "");
    EXPECT_EQ(contents("bare.txt"), "3, 4");
    EXPECT_EQ(contents("bare"), "(none)");
}

TEST_F(FoundSets, SavingOverAFileAsksFirst) {
    write("over.txt", "a much longer old text\r\n");
    setResults("new");
    EXPECT_EQ(runCommand(kLottoSave, overwrite(folder + "over.txt", IDNO)), "asked, ");
    EXPECT_EQ(contents("over.txt"), "a much longer old text\r\n");
    EXPECT_EQ(runCommand(kLottoSave, overwrite(folder + "over.txt", IDYES)), "asked, ");
    EXPECT_EQ(contents("over.txt"), "new");
}

TEST_F(FoundSets, CancelChangesNothing) {
    const std::set<std::string> before = filesIn();
    setResults("kept");
    EXPECT_EQ(runCommand(kMiniSave, cancel()), "");
    EXPECT_EQ(runCommand(kMiniOpen, cancel()), "");
    EXPECT_EQ(results(), "kept");
    EXPECT_EQ(filesIn(), before);
}

TEST_F(FoundSets, AFailedSaveLeavesTheOldFileAsItWas) {
    const char failed[] = "asked, Error: Save file failed.";
    std::set<std::string> files = filesIn();
    files.insert({"old.txt", "readonly.txt"});
    write("old.txt", "old sets\r\n");
    setResults("");
    EXPECT_EQ(runCommand(kMultiSave, overwrite(folder + "old.txt", IDYES)), failed);
    EXPECT_EQ(contents("old.txt"), "old sets\r\n");

    write("readonly.txt", "kept sets\r\n");
    SetFileAttributesA((folder + "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    setResults("1, 2");
    EXPECT_EQ(runCommand(kLottoSave, overwrite(folder + "readonly.txt", IDYES)), failed);
    EXPECT_EQ(contents("readonly.txt"), "kept sets\r\n");

    // A file held open by another program.
    write("busy.txt", "busy sets\r\n");
    files.insert("busy.txt");
    HANDLE busy = CreateFileA((folder + "busy.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    EXPECT_EQ(runCommand(kMultiSave, overwrite(folder + "busy.txt", IDYES)), failed);
    CloseHandle(busy);
    EXPECT_EQ(contents("busy.txt"), "busy sets\r\n");

    // An empty box with a new name creates nothing, and no temporary file is left.
    setResults("");
    EXPECT_EQ(runCommand(kMiniSave, chooseFile(folder + "new.txt")), "Error: Save file failed.");
    EXPECT_EQ(filesIn(), files);
}

TEST_F(FoundSets, OpenReplacesTheBoxWithTheBytesAsTheyAre) {
    const std::string cases[][2] = {
        {"zero.txt", std::string("before\0after", 12)},  // up to the zero byte
        {"lf.txt", "1, 2\n3, 4\n"},                      // no conversion to CR LF
        {"empty.txt", ""},                               // empties the box, no message
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        write(c[0], c[1]);
        setResults("earlier text");
        EXPECT_EQ(runCommand(kMultiOpen, chooseFile(folder + c[0])), "");
        EXPECT_EQ(results(), c[1].c_str());
    }
}

TEST_F(FoundSets, OpenRefusesMissingAndOversizedFiles) {
    setResults("kept");
    // The dialog itself refuses a name that does not exist and stays open.
    const std::string missing = runCommand(kMultiOpen, [] {
        HWND dialog = waitForDialog(mainWindow());
        if (!dialog) return std::string("no file dialog");
        typeFileName(dialog, folder + "missing.txt");
        press(dialog, IDOK);
        HWND refusal = waitForDialog(dialog);
        if (!refusal) return "not refused, " + outcome(dialog);
        press(refusal, IDOK);
        press(dialog, IDCANCEL);
        return "refused, " + outcome(dialog);
    });
    EXPECT_EQ(missing, "refused, ");
    EXPECT_EQ(results(), "kept");

    // Over 4 GB (a sparse file): refused whole rather than cut to the low 32
    // bits of its size.
    write("huge.txt", "");
    HANDLE f = CreateFileA((folder + "huge.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 0x100000005LL;
    ASSERT_TRUE(SetFilePointerEx(f, size, nullptr, FILE_BEGIN) && SetEndOfFile(f));
    CloseHandle(f);
    EXPECT_EQ(runCommand(kLottoOpen, chooseFile(folder + "huge.txt")),
              "Otwórz znalezione: Plik ma 4,3\xA0GB, a pole wyników mieści najwyżej "
              "64\xA0MB. Nic nie wczytano.");
    EXPECT_EQ(results(), "kept");
}

// Above 2 MB the box takes seconds: the user is asked first, and the text
// goes in whole when the answer is Tak.
TEST_F(FoundSets, OpenAsksBeforeALongText) {
    std::string text;
    while (text.size() < 2'100'000) text += "1, 2, 3, 4, 5\r\n";
    write("long.txt", text);
    for (int answer : {IDNO, IDYES}) {
        setResults("kept");
        const std::string seen = runCommand(
            kMultiOpen,
            [answer] {
                HWND dialog = waitForDialog(mainWindow());
                if (!dialog) return std::string("no file dialog");
                typeFileName(dialog, folder + "long.txt");
                press(dialog, IDOK);
                HWND box = waitForDialog(mainWindow(), dialog);
                if (!box) return std::string("not asked");
                const std::string asked = messageText(box);
                press(box, answer);
                return asked;
            },
            kLongWaitMs);
        EXPECT_EQ(seen,
                  "Otwórz znalezione: Plik ma 2,1\xA0MB. Pole wyników przyjmuje ok. 0,8 "
                  "MB na sekundę, więc wczytanie potrwa ok. 3 s. Wczytać go?");
        EXPECT_EQ(results() == text, answer == IDYES);
    }
}

}  // namespace
