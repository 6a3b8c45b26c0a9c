// zestawy-cli.exe on a Windows console and into files: what the console shows
// is right Polish whatever its code page, and the tool's own lines end in
// CR LF. Runs in a process of its own, which takes a console for the tool.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/app_fixture.hpp"

#define ZESTAWY_WIDEN(text) L##text
#define ZESTAWY_WIDE(text) ZESTAWY_WIDEN(text)

namespace {

using apptest::ownTempFolder;

// From the build, as UTF-16: the tool and a history of Lotto.
const std::wstring kTool = L"\"" ZESTAWY_WIDE(ZESTAWY_CLI) L"\"";
const std::wstring kLotto =
    L"\"" ZESTAWY_WIDE(ZESTAWY_DATA_DIR) L"/Lotto wyniki losowa\u0144.txt\"";

class ToolConsole : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        FreeConsole();
        AllocConsole();
        // The Polish console's code page, which took UTF-8 bytes as garbage.
        SetConsoleOutputCP(852);
        console_ =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, &kInherit, OPEN_EXISTING, 0, nullptr);
        SetConsoleScreenBufferSize(console_, {kWidth, 2000});
    }
    static void TearDownTestSuite() {
        CloseHandle(console_);
        FreeConsole();
    }

    // Runs the tool with its output and messages to `to`; its exit code.
    static DWORD run(const std::wstring& args, HANDLE to) {
        std::wstring line = kTool + L" " + args;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = console_;
        startup.hStdOutput = startup.hStdError = to;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process))
            return 99;
        DWORD code = 99;
        if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    // The tool's text as the console shows it: its rows, blanks at the end
    // of each left out, with line feeds between them.
    static std::wstring onConsole(const std::wstring& args) {
        CONSOLE_SCREEN_BUFFER_INFO info;
        GetConsoleScreenBufferInfo(console_, &info);
        DWORD done = 0;
        FillConsoleOutputCharacterW(console_, L' ', info.dwSize.X * info.dwSize.Y, {0, 0}, &done);
        SetConsoleCursorPosition(console_, {0, 0});
        EXPECT_NE(run(args, console_), 99u) << "the tool did not end";
        GetConsoleScreenBufferInfo(console_, &info);
        std::wstring text;
        for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
            std::wstring line(kWidth, L' ');
            DWORD read = 0;
            ReadConsoleOutputCharacterW(console_, &line[0], kWidth, {0, row}, &read);
            line.resize(line.find_last_not_of(L' ') + 1);
            text += line + L"\n";
        }
        return text.substr(0, text.find_last_not_of(L'\n') + 1);
    }

    // The tool's bytes as it writes them into a file.
    static std::string inFile(const std::wstring& args) {
        const std::string path = ownTempFolder("console") + "\\out.txt";
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, &kInherit, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        run(args, file);
        CloseHandle(file);
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static constexpr SHORT kWidth = 300;
    static inline SECURITY_ATTRIBUTES kInherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    static inline HANDLE console_ = INVALID_HANDLE_VALUE;
};

TEST_F(ToolConsole, ShowsPolishOnTheConsoleAndWritesFilesAsAsked) {
    const std::wstring help = onConsole(L"--help");
    EXPECT_NE(help.find(L"plik wynik\u00f3w losowa\u0144"), std::wstring::npos) << help.size();

    const std::wstring ranking =
        onConsole(L"--game lotto --history " + kLotto + L" --search \"3 z 4\" --ranking --top 2");
    EXPECT_EQ(ranking.rfind(L"Czeka losowa\u0144", 0), 0u);

    const std::wstring missing =
        onConsole(L"--game lotto --history \"brak \u0105\u0119.txt\" --search \"3 z 4\"");
    EXPECT_EQ(missing, L"zestawy-cli: nie mo\u017cna otworzy\u0107 pliku 'brak \u0105\u0119.txt'");

    // Into a file: bytes as --encoding says, and the tool's lines end in CR LF.
    const std::wstring mini = L"--game mini --last 3 --search \"Wyszukaj 2\" --all";
    const std::string all = inFile(mini);
    ASSERT_GT(all.size(), 10u);
    std::size_t lines = 0, crLf = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == '\n') ++lines, crLf += i > 0 && all[i - 1] == '\r';
    EXPECT_EQ(crLf, lines);
    const std::string check = inFile(L"--game lotto --history " + kLotto + L" --check");
    EXPECT_NE(check.find("s\xc4\x85 poprawne.\r\n"), std::string::npos) << check;
    const std::string cp1250 =
        inFile(L"--game lotto --history " + kLotto + L" --check --encoding cp1250");
    EXPECT_NE(cp1250.find("s\xb9 poprawne.\r\n"), std::string::npos) << cp1250;
}

}  // namespace
