#include "app/wide.hpp"

#include "history/encoding.hpp"

std::wstring wide(std::string_view cp1250) {
    const std::u16string text = zestawy::utf16FromCp1250(cp1250);
    return std::wstring(text.begin(), text.end());
}

std::string narrow(std::wstring_view text) {
    return zestawy::cp1250FromUtf16(std::u16string(text.begin(), text.end()));
}

std::string windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size()))));
    return narrow(text);
}

bool setWindowText(HWND hwnd, std::string_view cp1250) {
    return SetWindowTextW(hwnd, wide(cp1250).c_str()) != 0;
}

int messageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) {
    return MessageBoxW(owner, wide(text).c_str(), wide(caption).c_str(), type);
}

int drawText(HDC dc, std::string_view cp1250, RECT box, UINT format) {
    const std::wstring text = wide(cp1250);
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
}

HFONT arialFont(int height, int weight, DWORD quality) {
    return CreateFontW(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, FF_SWISS | DEFAULT_PITCH, L"Arial");
}

bool registerClass(HINSTANCE instance, const WindowClass& c) {
    const std::wstring name = wide(c.name);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = c.proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, c.cursor);
    wc.hbrBackground = c.background;
    wc.hIcon = c.icon;
    wc.hIconSm = c.smallIcon;
    wc.lpszClassName = name.c_str();
    return RegisterClassExW(&wc) != 0;
}

bool isOfClass(HWND hwnd, const char* name) {
    wchar_t found[64] = L"";
    return hwnd && GetClassNameW(hwnd, found, 64) && wide(name) == found;
}

void repaintWhileBusy() {
    MSG msg;
    for (int i = 0; i < 100 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i)
        DispatchMessageW(&msg);
}
