// Helpers of the window tests: the one main window of the test process, the
// state of its controls, commands sent as the buttons and menu send them, and
// a driver for the modal message boxes that some commands show.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/controls.hpp"
#include "app/window.hpp"

namespace apptest {

// Created once, on first use, with every control, as the program creates it.
inline HWND mainWindow() {
    static HWND main = createMainWindow(GetModuleHandleA(nullptr));
    return main;
}

inline std::string textOf(HWND hwnd) {
    std::string s(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    s.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &s[0], static_cast<int>(s.size()))));
    return s;
}

inline std::string classOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

inline HWND control(int id) { return controlById(id); }
inline bool shown(int id) { return IsWindowVisible(control(id)) != 0; }
inline bool enabled(int id) { return IsWindowEnabled(control(id)) != 0; }

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
        if (row.kind == ControlKind::Button) EnableWindow(*row.handle, TRUE);
        if (row.kind == ControlKind::WorkBox) SetWindowTextA(*row.handle, "");
        if (row.kind != ControlKind::Label)
            ShowWindow(*row.handle, row.kind == ControlKind::AboutBox ? SW_SHOW : SW_HIDE);
    }
}

// Answers the next message box of this process from a second thread while the
// test thread is inside the command that shows it: remembers its text and
// caption and presses its default button.
class MessageBoxDriver {
public:
    MessageBoxDriver() : thread_([this] { run(); }) {}
    ~MessageBoxDriver() {
        stop_ = true;
        thread_.join();
    }
    bool seen() const { return seen_; }
    std::string text() const { return seen_ ? text_ : std::string(); }
    std::string caption() const { return seen_ ? caption_ : std::string(); }

private:
    void run() {
        for (int tries = 0; tries < 400 && !stop_ && !seen_; ++tries) {
            Sleep(25);
            struct Find {
                DWORD thread;
                HWND box;
            } find = {GetWindowThreadProcessId(mainWindow(), nullptr), nullptr};
            EnumThreadWindows(
                find.thread,
                [](HWND h, LPARAM p) {
                    if (classOf(h) == "#32770" && IsWindowVisible(h))
                        reinterpret_cast<Find*>(p)->box = h;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&find));
            if (!find.box) continue;
            caption_ = textOf(find.box);
            text_ = textOf(GetDlgItem(find.box, 0xFFFF));  // the message's static control
            seen_ = true;
            PostMessageA(find.box, WM_COMMAND, IDOK, 0);
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::string text_, caption_;
    std::thread thread_;
};

}  // namespace apptest
