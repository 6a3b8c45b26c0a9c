// Helpers of the window tests: the one main window of the test process, the
// state of its controls, commands sent as the buttons and menu send them, and
// a driver for the modal message boxes that some commands show.
#pragma once

#include <windows.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "app/backtest_screen.hpp"
#include "app/controls.hpp"
#include "app/ranking_screen.hpp"
#include "app/screen.hpp"
#include "app/ticket_screen.hpp"
#include "app/wheel_screen.hpp"
#include "app/window.hpp"
#include "app/window_state.hpp"

using namespace zestawy;

namespace apptest {

// Created once, on first use, with every control, as the program creates it.
inline HWND mainWindow() {
    static HWND main = createMainWindow(GetModuleHandleA(nullptr));
    return main;
}

// A window's text as Windows gives it, in UTF-16 (WM_GETTEXT), whatever the
// ANSI code page.
inline std::wstring wideTextOf(HWND hwnd) {
    std::wstring s(static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(
        SendMessageW(hwnd, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(&s[0]))));
    return s;
}
// The same in the program's Windows-1250.
inline std::string textOf(HWND hwnd) {
    return narrow(wideTextOf(hwnd));
}

inline std::string classOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

inline WindowState& state() {
    return stateOf(mainWindow());
}
inline HWND control(int id) {
    return state().control(id);
}

// The control of a row of the control table.
inline HWND handleOf(const ControlRow& row) {
    return row.handle ? state().*row.handle : control(row.id);
}
inline bool shown(int id) {
    return IsWindowVisible(control(id)) != 0;
}
inline bool enabled(int id) {
    return IsWindowEnabled(control(id)) != 0;
}

// As a click on the button or menu item with this id.
inline LRESULT command(int id) {
    return SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// Every button id, in the order of the control table.
inline std::vector<int> buttonIds() {
    std::vector<int> ids;
    for (int i = 0; i < kControlCount; ++i)
        if (kControls[i].kind == ControlKind::Button) ids.push_back(kControls[i].id);
    return ids;
}

// Back to the state at start-up: only the about box shown, every button
// enabled, the work boxes empty.
inline void resetToStartState() {
    for (int i = 0; i < kControlCount; ++i) {
        const ControlRow& row = kControls[i];
        if (row.kind == ControlKind::Button) EnableWindow(handleOf(row), TRUE);
        if (row.kind == ControlKind::WorkBox) SetWindowTextA(handleOf(row), "");
        if (row.kind != ControlKind::Label)
            ShowWindow(handleOf(row), row.kind == ControlKind::AboutBox ? SW_SHOW : SW_HIDE);
    }
    state().numbersGame.reset();
    stopScreens(state());
    for (const auto& controls :
         {screenControls(state(), kCmdRanking), screenControls(state(), kCmdTicket),
          screenControls(state(), kCmdBacktest), screenControls(state(), kCmdWheel)})
        for (HWND control : controls) ShowWindow(control, SW_HIDE);
}

// ---- Playing the user of modal dialogs and message boxes ----
//
// A command that shows a modal dialog returns only when it closes, so the test
// thread sends the command while a second thread plays the user: it waits for
// each dialog, types, presses and reads what it shows.

// The folders of ownTempFolder: they go when every test of the process has
// passed; after a failure they are kept, and named.
class TempFolders : public ::testing::EmptyTestEventListener {
  public:
    static void add(const std::string& folder) {
        static TempFolders* folders = [] {
            auto* made = new TempFolders;  // the listeners own it
            ::testing::UnitTest::GetInstance()->listeners().Append(made);
            return made;
        }();
        if (std::find(folders->made_.begin(), folders->made_.end(), folder) == folders->made_.end())
            folders->made_.push_back(folder);
    }
    void OnTestProgramEnd(const ::testing::UnitTest& tests) override {
        for (const std::string& folder : made_) {
            std::error_code ignored;
            if (tests.Passed())
                std::filesystem::remove_all(folder, ignored);
            else
                std::printf("(files kept in %s)\n", folder.c_str());
        }
    }

  private:
    std::vector<std::string> made_;
};

// A folder of this test process's own under the temporary folder, named
// after what it is for and the process (the window tests of one process run
// one after another; other processes get folders of their own). Made if need
// be; returned without a trailing backslash. It goes when the process's tests
// have all passed.
inline std::string ownTempFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "zestawy-" + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    TempFolders::add(folder);
    return folder;
}

// The bytes of a file; empty when it cannot be read.
inline std::string fileBytes(const std::string& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;) bytes += static_cast<char>(c);
        std::fclose(f);
    }
    return bytes;
}

// What zestawy-cli.exe writes to a file (its lines end in CR LF on Windows)
// with these arguments, run in the working folder; the file lies in `folder`.
inline std::string toolOutput(const std::string& arguments, const std::string& folder) {
    const std::string out = folder + "\\tool.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string line = std::string("\"") + ZESTAWY_CLI + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 120000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(file);
    return fileBytes(out);
}

// ownTempFolder(name) with a copy of each game's sample history in it.
inline std::string folderWithHistories(const std::string& name) {
    const std::string folder = ownTempFolder(name);
    for (const GameRow& game : kGames) {
        const std::string from = std::string(ZESTAWY_DATA_DIR) + "/" + game.historyFile;
        EXPECT_TRUE(CopyFileA(from.c_str(), (folder + "\\" + game.historyFile).c_str(), FALSE))
            << from;
    }
    return folder;
}

// Handles the window's messages waiting now, and gives the workers a moment.
inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
}

inline const DWORD kWaitMs = 10000;  // for any one thing to happen; then the test fails

// Handles the window's messages until the button is enabled again (a screen's
// run has ended), or a minute has passed.
inline void waitUntilEnabled(int id) {
    for (const DWORD begin = GetTickCount(); !enabled(id) && GetTickCount() - begin < 60000;)
        pump();
}
// For a command that fills a box with megabytes: Wine's edit control takes in
// about a megabyte a second, far slower on a busy machine.
inline const DWORD kLongWaitMs = 120000;
inline std::atomic<bool> commandDone{false};

// A visible dialog or message box (class "#32770") owned by `owner`.
inline HWND findDialog(HWND owner, HWND except) {
    struct Find {
        HWND owner, except, found;
    } find = {owner, except, nullptr};
    EnumThreadWindows(
        GetWindowThreadProcessId(mainWindow(), nullptr),
        [](HWND h, LPARAM p) {
            auto* f = reinterpret_cast<Find*>(p);
            if (h != f->except && classOf(h) == "#32770" && IsWindowVisible(h) &&
                GetWindow(h, GW_OWNER) == f->owner)
                f->found = h;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// nullptr when none comes in time or the command has already returned.
inline HWND waitForDialog(HWND owner, HWND except = nullptr, DWORD waitMs = kWaitMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < waitMs; Sleep(20)) {
        if (HWND h = findDialog(owner, except)) return h;
        if (commandDone) return nullptr;
    }
    return nullptr;
}

// Wine's file name box is a ComboBoxEx32 with the id cmb13; older templates
// have the edit edt1.
// A std::wstring is typed in UTF-16, whatever the ANSI code page.
inline HWND fileNameBox(HWND dialog) {
    HWND name = GetDlgItem(dialog, cmb13);
    return name ? name : GetDlgItem(dialog, edt1);
}
inline void typeFileName(HWND dialog, const std::string& path) {
    SendMessageA(fileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
}
inline void typeFileName(HWND dialog, const std::wstring& path) {
    SendMessageW(fileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
}

// Posted, not sent: the press may open another modal box inside the dialog.
inline void press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline std::string messageText(HWND box) {
    return textOf(box) + ": " + textOf(GetDlgItem(box, 0xFFFF));
}

// After a step went wrong: answers every open box and dialog with No or Cancel.
inline void closeEverything() {
    EnumThreadWindows(
        GetWindowThreadProcessId(mainWindow(), nullptr),
        [](HWND h, LPARAM) {
            if (classOf(h) == "#32770" && IsWindowVisible(h))
                press(h, GetDlgItem(h, IDNO) ? IDNO : GetDlgItem(h, IDCANCEL) ? IDCANCEL : IDOK);
            return TRUE;
        },
        0);
}

using User = std::function<std::string()>;

// Presses the button while `user` answers its dialogs; returns what the user saw.
inline std::string runCommand(int id, const User& user, DWORD waitMs = kWaitMs) {
    commandDone = false;
    std::string seen;
    std::thread player([&] {
        seen = user();
        for (DWORD start = GetTickCount(); !commandDone; Sleep(20)) {
            if (GetTickCount() - start < waitMs) continue;
            if (seen.find("left open") == std::string::npos) seen += ", left open";
            closeEverything();
        }
    });
    command(id);
    commandDone = true;
    player.join();
    return seen;
}

// What follows the file dialog: "" when the command ends quietly, or the
// caption and text of its message box, which is then dismissed.
inline std::string outcome(HWND fileDialog, DWORD waitMs = kWaitMs) {
    HWND box = waitForDialog(mainWindow(), fileDialog, waitMs);
    if (!box) return commandDone ? "" : "timed out";
    const std::string seen = messageText(box);
    press(box, IDOK);
    return seen;
}

template <class Path>
inline User chooseFile(const Path& path) {
    return [path] {
        HWND dialog = waitForDialog(mainWindow());
        if (!dialog) return std::string("no file dialog");
        typeFileName(dialog, path);
        press(dialog, IDOK);
        return outcome(dialog);
    };
}

// Presses "Pobierz najnowsze wyniki" and answers the summary; returns its
// caption and text, in UTF-16 (a game's line has no-break spaces, shown as
// blanks). `meanwhile` runs on another thread while the download does.
inline std::wstring runDownloadWide(const std::function<void()>& meanwhile = {}) {
    commandDone = false;
    std::atomic<bool> answered{false};
    std::wstring seen = L"no summary";
    std::thread player([&] {
        if (meanwhile) meanwhile();
        if (const HWND box = waitForDialog(mainWindow(), nullptr, kLongWaitMs)) {
            seen = wideTextOf(box) + L": " + wideTextOf(GetDlgItem(box, 0xFFFF));
            press(box, IDOK);
        }
        answered = true;
    });
    command(kCmdDownload);
    for (MSG msg; !answered || state().download;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    player.join();
    std::replace(seen.begin(), seen.end(), L'\u00A0', L' ');
    return seen;
}
inline std::string runDownload(const std::function<void()>& meanwhile = {}) {
    return narrow(runDownloadWide(meanwhile));
}

// Chooses an existing file in the save dialog and answers the overwrite prompt.
inline User overwrite(const std::string& path, int answer) {
    return [path, answer] {
        HWND dialog = waitForDialog(mainWindow());
        if (!dialog) return std::string("no file dialog");
        typeFileName(dialog, path);
        press(dialog, IDOK);
        HWND prompt = waitForDialog(dialog);
        if (!prompt) return "not asked, " + outcome(dialog);
        press(prompt, answer);
        if (answer == IDNO) press(dialog, IDCANCEL);
        return "asked, " + outcome(dialog);
    };
}

inline User cancel() {
    return [] {
        HWND dialog = waitForDialog(mainWindow());
        if (!dialog) return std::string("no file dialog");
        press(dialog, IDCANCEL);
        return outcome(dialog);
    };
}

// Answers the message box that the command shows with the given button;
// returns "caption: text", or "" when none came.
inline User answerBox(int button) {
    return [button] {
        HWND box = waitForDialog(mainWindow());
        if (!box) return std::string();
        const std::string seen = messageText(box);
        press(box, button);
        return seen;
    };
}

}  // namespace apptest
