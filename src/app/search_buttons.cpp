#include "app/search_buttons.hpp"

#include <new>
#include <string>

#include "app/controls.hpp"
#include "app/found_sets.hpp"
#include "app/panels.hpp"
#include "app/window.hpp"
#include "commands/large_answer.hpp"
#include "commands/search_command.hpp"

using zestawy::AnswerSize;
using zestawy::DrawList;
using zestawy::SearchCommand;

namespace {

std::string wholeText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Appends text at the end of the results box. Wine's edit control takes in
// about a megabyte a second, so the old text is never read back and set again:
// the answer is inserted at the end, a megabyte of whole lines at a time with
// the window repainted in between, and the caret and scroll position are put
// back where they were.
void appendToResultsBox(std::string_view text) {
    constexpr std::size_t kPiece = 1 << 20;
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(hPole2, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    const LRESULT firstVisible = SendMessageA(hPole2, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(hPole2, EM_SETLIMITTEXT, 0, 0);  // the largest the control can hold
    std::string piece;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', std::min(at + kPiece, text.size()) - 1);
        end = end == std::string_view::npos ? text.size() : end + 1;
        piece.assign(text.substr(at, end - at));
        const int length = GetWindowTextLengthA(hPole2);
        SendMessageA(hPole2, EM_SETSEL, length, length);
        SendMessageA(hPole2, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        at = end;
        if (at < text.size()) repaintWhileBusy();
    }
    SendMessageA(hPole2, EM_SETSEL, selStart, selEnd);
    const LRESULT nowVisible = SendMessageA(hPole2, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(hPole2, EM_LINESCROLL, 0, firstVisible - nowVisible);
}

// The answer, after the earlier ones, in the results box.
void showAnswer(const SearchCommand& command, const DrawList& draws) {
    zestawy::TextBuffer answer;
    if (GetWindowTextLengthA(hPole2) > 0) answer.append("\r\n");
    zestawy::writeAnswer(command, draws, answer);
    appendToResultsBox(answer.view());
}

// The answer straight into a file, at disk speed and in a megabyte of memory;
// the results box gets a line that says where it went.
void saveAnswer(HWND main, const SearchCommand& command, const DrawList& draws,
                const AnswerSize& size, const char* path) {
    ReplacingFile file;
    DWORD painted = GetTickCount();
    const bool saved = file.open(path) &&
                       zestawy::streamAnswer(command, draws,
                                             [&](std::string_view piece) {
                                                 if (GetTickCount() - painted > 200) {
                                                     repaintWhileBusy();
                                                     painted = GetTickCount();
                                                 }
                                                 return file.write(piece.data(), piece.size());
                                             }) &&
                       file.commit();
    if (!saved) {
        MessageBoxA(main, kSaveFailed, "Error", MB_ICONEXCLAMATION);
        return;
    }
    const std::string note = (GetWindowTextLengthA(hPole2) > 0 ? "\r\n" : "") +
                             zestawy::savedAnswerNote(command, size, path);
    appendToResultsBox(note);
}

// A message box with the buttons Tak and Anuluj: MB_OKCANCEL with its OK
// button renamed as the box opens. IDYES or IDCANCEL.
HHOOK renameHook = nullptr;
LRESULT CALLBACK renameOkToYes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        SetDlgItemTextA(reinterpret_cast<HWND>(wParam), IDOK, "&Tak");
        UnhookWindowsHookEx(renameHook);
        renameHook = nullptr;
        return 0;
    }
    return CallNextHookEx(renameHook, code, wParam, lParam);
}
int askYesOrCancel(HWND main, const std::string& text) {
    renameHook = SetWindowsHookExA(WH_CBT, renameOkToYes, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxA(main, text.c_str(), zestawy::kLargeAnswerCaption,
                                   MB_OKCANCEL | MB_ICONEXCLAMATION);
    if (renameHook) UnhookWindowsHookEx(renameHook);
    renameHook = nullptr;
    return answer == IDOK ? IDYES : IDCANCEL;
}

// An answer too long to be put into the results box unasked: to a file (Tak),
// into the box (Nie, while the box can take it), or nowhere (Anuluj).
void askWhereItGoes(HWND main, const SearchCommand& command, const DrawList& draws,
                    const AnswerSize& size) {
    const auto held = static_cast<std::uint64_t>(GetWindowTextLengthA(hPole2));
    const bool boxTakesIt = held + 2 + size.bytes <= zestawy::kResultsBoxLimit;
    const std::string question = zestawy::largeAnswerQuestion(command, size, boxTakesIt);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const int choice = boxTakesIt
                           ? MessageBoxA(main, question.c_str(), zestawy::kLargeAnswerCaption,
                                         MB_YESNOCANCEL | MB_ICONQUESTION)
                           : askYesOrCancel(main, question);
    char path[MAX_PATH];
    if (choice == IDYES && !chooseFoundSetsFile(main, true, path)) return;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (choice == IDYES) saveAnswer(main, command, draws, size, path);
    if (choice == IDNO) showAnswer(command, draws);
}

}  // namespace

bool handleSearchButton(HWND main, int id) {
    const SearchCommand* command = zestawy::findSearchCommand(id);
    if (!command) return false;
    const GamePanel& panel = panelOf(command->game);

    for (int other : panel.searches)
        if (other != id) EnableWindow(controlById(other), FALSE);
    enableButtons({panel.otherGames, panel.save, panel.open}, false);

    try {
        const DrawList draws = zestawy::drawsOf(*command, wholeText(hPole1));
        // A list can run to gigabytes: its size is known before its text is written.
        AnswerSize size;
        if (zestawy::listsEverySet(*command)) size = zestawy::measureAnswer(*command, draws);
        if (size.bytes > zestawy::kAskAbove)
            askWhereItGoes(main, *command, draws, size);
        else
            showAnswer(*command, draws);
    } catch (const std::bad_alloc&) {
        MessageBoxA(main, "Za mało pamięci na odpowiedź tego wyszukiwania.", "Błąd", MB_ICONERROR);
    }

    enableButtons({panel.save, panel.open}, true);
    return true;
}
