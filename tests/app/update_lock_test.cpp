// The lock of a history's updates under Windows: two updates at once through
// two names of one file (its short 8.3 name and its long one) share it, so
// both updates' draws survive, or one is turned away and says so; and a
// program whose download waits for it ends at once when its window closes.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "app/app_fixture.hpp"
#include "app/ids.hpp"
#include "net/download_cases.hpp"

#define ZESTAWY_WIDEN(text) L##text
#define ZESTAWY_WIDE(text) ZESTAWY_WIDEN(text)

namespace {

using apptest::fileBytes;
using apptest::ownTempFolder;

const std::wstring kTool = L"\"" ZESTAWY_WIDE(ZESTAWY_CLI) L"\"";

// Lines [from, to) of a text, by its line feeds.
std::string lines(const std::string& text, std::size_t from, std::size_t to = SIZE_MAX) {
    auto at = [&](std::size_t line) {
        std::size_t offset = 0;
        for (std::size_t i = 0; i < line && offset < text.size(); ++i) {
            const std::size_t feed = text.find('\n', offset);
            offset = feed == std::string::npos ? text.size() : feed + 1;
        }
        return offset;
    };
    return text.substr(at(from), at(to) - at(from));
}

void write(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(file);
}

// Starts `zestawy-cli --game lotto --history NAME --update DOWNLOAD`, its
// messages into `err`.
HANDLE startUpdate(const std::wstring& history, const std::wstring& download,
                   const std::string& err) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE to = CreateFileA(err.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::wstring line =
        kTool + L" --game lotto --history \"" + history + L"\" --update \"" + download + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = to;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(to);
    if (!started) return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD finished(HANDLE process) {
    DWORD code = 99;
    if (process && WaitForSingleObject(process, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    if (process) CloseHandle(process);
    return code;
}

std::wstring wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST(WindowsUpdate, TwoNamesOfOneFileShareOneLock) {
    const std::string folder = ownTempFolder("two-names");
    const std::string lotto =
        fileBytes(std::string(ZESTAWY_DATA_DIR) + "/Lotto wyniki losowa\xF1.txt");
    const std::string csv = fileBytes(std::string(ZESTAWY_DATA_DIR) + "/downloads/lotto.csv");
    ASSERT_FALSE(lotto.empty());
    const std::string history = folder + "\\historia lotto.txt";
    // Each brings half of the missing draws, and draw 6000, which ties it to
    // the history.
    write(folder + "\\first.csv", lines(csv, 5999, 6700));
    write(folder + "\\second.csv", lines(csv, 5999, 6000) + lines(csv, 6700));
    write(history, lines(lotto, 0, 6000));
    wchar_t shortName[MAX_PATH];
    const DWORD length = GetShortPathNameW(wide(history).c_str(), shortName, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || wide(history) == shortName)
        GTEST_SKIP() << "no short names here";
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        write(history, lines(lotto, 0, 6000));
        const HANDLE a =
            startUpdate(wide(history), wide(folder + "\\first.csv"), folder + "\\a.txt");
        const HANDLE b = startUpdate(shortName, wide(folder + "\\second.csv"), folder + "\\b.txt");
        const DWORD codeA = finished(a), codeB = finished(b);
        const std::string after = fileBytes(history);
        if (codeA == 0 && codeB == 0) {
            EXPECT_TRUE(after == lotto) << after.size() << " of " << lotto.size();
        } else {
            // One was turned away, and said so; the other's draws are all there.
            const bool aRefused = codeA != 0;
            EXPECT_EQ(aRefused ? codeB : codeA, 0u);
            EXPECT_NE(fileBytes(folder + (aRefused ? "\\a.txt" : "\\b.txt")).find("inny program"),
                      std::string::npos);
            EXPECT_TRUE(after == (aRefused ? lines(lotto, 0, 6000) + lines(lotto, 6700)
                                           : lines(lotto, 0, 6700)));
        }
    }
    if (!::testing::Test::HasFailure()) {
        for (const char* name : {"\\first.csv", "\\second.csv", "\\a.txt", "\\b.txt"})
            DeleteFileA((folder + name).c_str());
        DeleteFileA(history.c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

// The program's main window, once the process shows it.
HWND windowOf(DWORD process) {
    struct Find {
        DWORD process;
        HWND found;
    } find = {process, nullptr};
    for (int i = 0; i < 500 && !find.found; ++i, Sleep(20))
        EnumWindows(
            [](HWND hwnd, LPARAM param) {
                auto* f = reinterpret_cast<Find*>(param);
                DWORD owner = 0;
                char name[64];
                GetWindowThreadProcessId(hwnd, &owner);
                if (owner == f->process && GetClassNameA(hwnd, name, sizeof name) &&
                    lstrcmpA(name, "WindowClass") == 0)
                    f->found = hwnd;
                return f->found ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&find));
    return find.found;
}

TEST(WindowsUpdate, ClosingTheWindowEndsADownloadWaitingForTheLock) {
    using zestawy::nettest::ResultsServer;
    const std::string folder = ownTempFolder("lock-close");
    const std::string downloads = std::string(ZESTAWY_DATA_DIR) + "/downloads/";
    const ResultsServer server(zestawy::nettest::downloadAnswers(downloads));
    const std::string whole =
        fileBytes(std::string(ZESTAWY_DATA_DIR) + "/Multi Multi wyniki losowa\xF1.txt");
    const std::string history = folder + "\\Multi Multi wyniki losowa\xF1.txt";
    const std::string before = lines(whole, 0, 16000);
    write(history, before);
    // The other games' sources fail: no history is made beside the program.
    write(folder + "\\zrodla.txt", "multi = " + server.url("/multi_multi.csv") +
                                       "\nmini = " + server.url("/brak.csv") +
                                       "\nlotto = " + server.url("/brak.csv") + "\n");

    // The lock of the file's updates, held here as another update would.
    const HANDLE file = CreateFileA(history.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    ASSERT_TRUE(GetFileInformationByHandle(file, &info));
    CloseHandle(file);
    const std::wstring name =
        L"Local\\zestawy-update-" + std::to_wstring(info.dwVolumeSerialNumber) + L"-" +
        std::to_wstring((std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
    const HANDLE lock = CreateMutexW(nullptr, TRUE, name.c_str());
    ASSERT_NE(lock, nullptr);

    // The program, started in the folder, downloads and then waits for the lock.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = self;
    program = program.substr(0, program.rfind(L'\\')) + L"\\..\\" ZESTAWY_WIDE(ZESTAWY_EXE);
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                               wide(folder).c_str(), &startup, &process));
    CloseHandle(process.hThread);
    const HWND window = windowOf(process.dwProcessId);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND, kCmdDownload, 0);
    for (int i = 0; i < 500 && server.requests("/multi_multi.csv") == 0; ++i) Sleep(20);
    Sleep(500);  // the whole file fetched: the update now waits for the lock
    PostMessageW(window, WM_CLOSE, 0, 0);
    // Gone well before the lock's wait of 10 s would have ended it anyway.
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    ReleaseMutex(lock);
    CloseHandle(lock);
    EXPECT_TRUE(fileBytes(history) == before);
    if (!::testing::Test::HasFailure()) {
        DeleteFileA(history.c_str());
        DeleteFileA((folder + "\\zrodla.txt").c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

}  // namespace
