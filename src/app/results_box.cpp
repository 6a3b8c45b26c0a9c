#include "app/results_box.hpp"

#include <algorithm>

#include "app/window.hpp"

std::string wholeText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

void appendToResultsBox(HWND box, std::string_view text) {
    constexpr std::size_t kPiece = 1 << 20;
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    const LRESULT firstVisible = SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(box, EM_SETLIMITTEXT, 0, 0);  // the largest the control can hold
    std::string piece;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', std::min(at + kPiece, text.size()) - 1);
        end = end == std::string_view::npos ? text.size() : end + 1;
        piece.assign(text.substr(at, end - at));
        const int length = GetWindowTextLengthA(box);
        SendMessageA(box, EM_SETSEL, length, length);
        SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        at = end;
        if (at < text.size()) repaintWhileBusy();
    }
    SendMessageA(box, EM_SETSEL, selStart, selEnd);
    const LRESULT nowVisible = SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(box, EM_LINESCROLL, 0, firstVisible - nowVisible);
}

void appendAnswer(HWND box, std::string_view answer) {
    if (GetWindowTextLengthA(box) > 0) appendToResultsBox(box, "\r\n");
    appendToResultsBox(box, answer);
}
