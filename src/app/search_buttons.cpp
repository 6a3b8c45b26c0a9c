#include "app/search_buttons.hpp"

#include <new>
#include <string>

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

// The answer, after the earlier ones, in the results box.
void showAnswer(const WindowState& state, const SearchCommand& command, const DrawList& draws) {
    zestawy::TextBuffer answer;
    if (GetWindowTextLengthA(state.resultsBox) > 0) answer.append("\r\n");
    zestawy::writeAnswer(command, draws, answer);
    appendToResultsBox(state.resultsBox, answer.view());
}

// The answer straight into a file, at disk speed and in a megabyte of memory;
// the results box gets a line that says where it went.
void saveAnswer(const WindowState& state, const SearchCommand& command, const DrawList& draws,
                const AnswerSize& size, const char* path) {
    zestawy::ReplacingFile file;
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
        MessageBoxA(state.main, kSaveFailed, "Error", MB_ICONEXCLAMATION);
        return;
    }
    const std::string note = (GetWindowTextLengthA(state.resultsBox) > 0 ? "\r\n" : "") +
                             zestawy::savedAnswerNote(command, size, path);
    appendToResultsBox(state.resultsBox, note);
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
void askWhereItGoes(const WindowState& state, const SearchCommand& command, const DrawList& draws,
                    const AnswerSize& size) {
    const HWND main = state.main;
    const auto held = static_cast<std::uint64_t>(GetWindowTextLengthA(state.resultsBox));
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
    if (choice == IDYES) saveAnswer(state, command, draws, size, path);
    if (choice == IDNO) showAnswer(state, command, draws);
}

}  // namespace

bool handleSearchButton(WindowState& state, int id) {
    const SearchCommand* command = zestawy::findSearchCommand(id);
    if (!command) return false;
    const zestawy::GameRow& game = zestawy::gameRow(command->game);

    for (int other : zestawy::searchButtonsOf(game.game))
        if (other != id) EnableWindow(state.control(other), FALSE);
    enableButtons(state, {game.otherGames, game.save, game.open}, false);

    try {
        const DrawList draws = zestawy::drawsOf(*command, wholeText(state.numbersBox));
        // A list can run to gigabytes: its size is known before its text is written.
        AnswerSize size;
        if (zestawy::listsEverySet(*command)) size = zestawy::measureAnswer(*command, draws);
        if (size.bytes > zestawy::kAskAbove)
            askWhereItGoes(state, *command, draws, size);
        else
            showAnswer(state, *command, draws);
    } catch (const std::bad_alloc&) {
        MessageBoxA(state.main, "Za mało pamięci na odpowiedź tego wyszukiwania.", "Błąd",
                    MB_ICONERROR);
    }

    enableButtons(state, {game.save, game.open}, true);
    return true;
}
