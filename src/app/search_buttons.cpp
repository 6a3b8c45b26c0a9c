#include "app/search_buttons.hpp"

#include <new>
#include <string>

#include "app/controls.hpp"
#include "app/panels.hpp"
#include "commands/search_command.hpp"

namespace {

std::string wholeText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Appends text at the end of the results box. Wine's edit control takes in
// about a megabyte a second, so the old text is never read back and set again:
// the answer is inserted at the end, and the caret and scroll position are put
// back where they were.
void appendToResultsBox(const char* text) {
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(hPole2, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    const LRESULT firstVisible = SendMessageA(hPole2, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(hPole2, EM_SETLIMITTEXT, 0, 0);  // the largest the control can hold
    const int end = GetWindowTextLengthA(hPole2);
    SendMessageA(hPole2, EM_SETSEL, end, end);
    SendMessageA(hPole2, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    SendMessageA(hPole2, EM_SETSEL, selStart, selEnd);
    const LRESULT nowVisible = SendMessageA(hPole2, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(hPole2, EM_LINESCROLL, 0, firstVisible - nowVisible);
}

}  // namespace

bool handleSearchButton(HWND main, int id) {
    const zestawy::SearchCommand* command = zestawy::findSearchCommand(id);
    if (!command) return false;
    const GamePanel& panel = panelOf(command->game);

    for (int other : panel.searches)
        if (other != id) EnableWindow(controlById(other), FALSE);
    enableButtons({panel.otherGames, panel.save, panel.open}, false);

    try {
        const std::string numbers = wholeText(hPole1);
        zestawy::TextBuffer answer;
        if (GetWindowTextLengthA(hPole2) > 0) answer.append("\r\n");
        zestawy::writeAnswer(*command, numbers, answer);
        appendToResultsBox(answer.c_str());
    } catch (const std::bad_alloc&) {
        MessageBoxA(main, "Za mało pamięci na odpowiedź tego wyszukiwania.", "Błąd", MB_ICONERROR);
    }

    enableButtons({panel.save, panel.open}, true);
    return true;
}
