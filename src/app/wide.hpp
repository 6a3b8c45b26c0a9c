// The one place where the window's texts meet Windows. The program keeps its
// texts in Windows-1250; the window hands them to the system's UTF-16 (W)
// functions, converted here, so that they read the same whatever the ANSI
// code page of the machine. What a control holds comes back as Windows-1250:
// a character that code page lacks becomes '?'.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring wide(std::string_view cp1250);
std::string narrow(std::wstring_view text);

// The whole text of a window or control, and setting it.
std::string windowText(HWND hwnd);
bool setWindowText(HWND hwnd, std::string_view cp1250);

// MessageBoxW with Windows-1250 texts.
int messageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);

// DrawTextW with a Windows-1250 text; no '&' prefixes.
int drawText(HDC dc, std::string_view cp1250, RECT box, UINT format);

// Arial of the given CreateFont height (negative: the character height).
HFONT arialFont(int height, int weight = FW_NORMAL, DWORD quality = DEFAULT_QUALITY);

// A window class of the program, registered once (again is harmless).
struct WindowClass {
    const char* name;
    WNDPROC proc;
    LPCSTR cursor = IDC_ARROW;  // IDC_* of the system
    HBRUSH background = nullptr;
    HICON icon = nullptr, smallIcon = nullptr;
};
bool registerClass(HINSTANCE instance, const WindowClass& c);
// The object a window of the program owns, kept in its GWLP_USERDATA: at
// WM_NCCREATE `adopt` makes it of CreateWindow's last argument, at
// WM_NCDESTROY it is deleted. True, with the message's result, for those two.
template <class T, class Adopt>
bool ownedObjectMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, Adopt adopt,
                        LRESULT& result) {
    if (msg == WM_NCCREATE) {
        T* object = adopt(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        result = DefWindowProcW(window, msg, wParam, lParam);
        return true;
    }
    if (msg != WM_NCDESTROY) return false;
    delete reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    result = 0;
    return true;
}

// Lets a long command repaint the window: handles waiting paint messages only.
void repaintWhileBusy();

// Whether the window is of the class of that name.
bool isOfClass(HWND hwnd, const char* name);
