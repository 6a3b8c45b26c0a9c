#include "app/results_box.hpp"

#include <algorithm>

#include "app/wide.hpp"

void appendToResultsBox(HWND box, std::string_view text) {
    constexpr std::size_t kPiece = 1 << 20;
    DWORD selStart = 0, selEnd = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    const LRESULT firstVisible = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);  // the largest the control can hold
    std::wstring piece;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', std::min(at + kPiece, text.size()) - 1);
        end = end == std::string_view::npos ? text.size() : end + 1;
        piece = wide(text.substr(at, end - at));
        const int length = GetWindowTextLengthW(box);
        SendMessageW(box, EM_SETSEL, length, length);
        SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        at = end;
        if (at < text.size()) repaintWhileBusy();
    }
    SendMessageW(box, EM_SETSEL, selStart, selEnd);
    const LRESULT nowVisible = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(box, EM_LINESCROLL, 0, firstVisible - nowVisible);
}

void appendAnswer(HWND box, std::string_view answer) {
    if (GetWindowTextLengthW(box) > 0) appendToResultsBox(box, "\r\n");
    appendToResultsBox(box, answer);
}
