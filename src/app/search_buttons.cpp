#include "app/search_buttons.hpp"

#include <functional>
#include <new>
#include <string>

#include "app/files.hpp"
#include "app/found_sets.hpp"
#include "app/large_answer.hpp"
#include "app/panels.hpp"
#include "app/results_box.hpp"
#include "app/wide.hpp"
#include "commands/search_command.hpp"
#include "search/shared_walk.hpp"

using zestawy::AnswerSize;
using zestawy::CompletionIndex;
using zestawy::DrawList;
using zestawy::SearchCommand;

namespace {

// The answer, after the earlier ones, in the results box.
void showAnswer(const WindowState& state, const SearchCommand& command, const DrawList& draws,
                const CompletionIndex* index) {
    zestawy::TextBuffer answer;
    zestawy::writeAnswer(command, draws, answer, zestawy::machineThreads(), index);
    appendAnswer(state.resultsBox, answer.view());
}

// The answer straight into a file, at disk speed and in a megabyte of memory;
// the results box gets a line that says where it went.
void saveAnswer(const WindowState& state, const SearchCommand& command, const DrawList& draws,
                const CompletionIndex* index, const AnswerSize& size, const std::string& path) {
    zestawy::ReplacingFile file;
    DWORD painted = GetTickCount();
    const bool saved = file.open(path) &&
                       zestawy::streamAnswer(
                           command, draws,
                           [&](std::string_view piece) {
                               if (GetTickCount() - painted > 200) {
                                   repaintWhileBusy();
                                   painted = GetTickCount();
                               }
                               return file.write(piece.data(), piece.size());
                           },
                           zestawy::machineThreads(), index) &&
                       file.commit();
    if (!saved) {
        messageBox(state.main, kSaveFailed, "Error", MB_ICONEXCLAMATION);
        return;
    }
    appendAnswer(state.resultsBox, zestawy::savedAnswerNote(command, size, shownPath(path)));
}

// A message box with the buttons Tak and Anuluj: MB_OKCANCEL with its OK
// button renamed as the box opens. IDYES or IDCANCEL.
HHOOK renameHook = nullptr;
LRESULT CALLBACK renameOkToYes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        SetDlgItemTextW(reinterpret_cast<HWND>(wParam), IDOK, wide("&Tak").c_str());
        UnhookWindowsHookEx(renameHook);
        renameHook = nullptr;
        return 0;
    }
    return CallNextHookEx(renameHook, code, wParam, lParam);
}
int askYesOrCancel(HWND main, const std::string& text) {
    renameHook = SetWindowsHookExW(WH_CBT, renameOkToYes, nullptr, GetCurrentThreadId());
    const int answer = messageBox(main, text.c_str(), zestawy::kLargeAnswerCaption,
                                  MB_OKCANCEL | MB_ICONEXCLAMATION);
    if (renameHook) UnhookWindowsHookEx(renameHook);
    renameHook = nullptr;
    return answer == IDOK ? IDYES : IDCANCEL;
}

// An answer too long to be put into the results box unasked: to a file (Tak),
// into the box (Nie, while the box can take it), or nowhere (Anuluj).
void askWhereItGoes(const WindowState& state, const SearchCommand& command, const DrawList& draws,
                    const CompletionIndex* index, const AnswerSize& size) {
    const HWND main = state.main;
    const auto held = static_cast<std::uint64_t>(GetWindowTextLengthW(state.resultsBox));
    const bool boxTakesIt = held + 2 + size.bytes <= zestawy::kResultsBoxLimit;
    const std::string question = zestawy::largeAnswerQuestion(command, size, boxTakesIt);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const int choice = boxTakesIt ? messageBox(main, question.c_str(), zestawy::kLargeAnswerCaption,
                                               MB_YESNOCANCEL | MB_ICONQUESTION)
                                  : askYesOrCancel(main, question);
    std::string path;
    if (choice == IDYES && !chooseFoundSetsFile(main, true, path)) return;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (choice == IDYES) saveAnswer(state, command, draws, index, size, path);
    if (choice == IDNO) showAnswer(state, command, draws, index);
}

// Whether the numbers box holds the draws that another game's "Wczytaj" put
// there; if so, says so and asks for this game's draws.
bool refusedForAnotherGame(const WindowState& state, const SearchCommand& command,
                           const std::string& numbers) {
    if (!state.numbersGame || *state.numbersGame == command.game ||
        std::hash<std::string>{}(numbers) != state.numbersHash)
        return false;
    const std::string loaded = zestawy::gameRow(*state.numbersGame).name;
    const std::string wanted = zestawy::gameRow(command.game).name;
    const std::string text = "W polu „Wylosowane liczby” są losowania gry " + loaded + ", a „" +
                             command.caption + "” jest wyszukiwaniem gry " + wanted +
                             ".\nWczytaj losowania gry " + wanted + " jej przyciskiem „Wczytaj”.";
    messageBox(state.main, text.c_str(), kAnotherGameCaption, MB_ICONEXCLAMATION);
    return true;
}

}  // namespace

const char kAnotherGameCaption[] = "Losowania innej gry";

bool handleSearchButton(WindowState& state, int id) {
    const SearchCommand* command = zestawy::findSearchCommand(id);
    if (!command) return false;
    const zestawy::GameRow& game = zestawy::gameRow(command->game);
    const std::string numbers = windowText(state.numbersBox);
    if (refusedForAnotherGame(state, *command, numbers)) return true;

    for (int other : zestawy::searchButtonsOf(game.game))
        if (other != id) EnableWindow(state.control(other), FALSE);
    const GamePanel& panel = panelOf(game.game);
    enableButtons(state, {panel.otherGames, panel.save, panel.open}, false);

    try {
        const DrawList draws = zestawy::splitDrawList(numbers);
        const int threads = zestawy::machineThreads();
        const auto index = zestawy::indexFor(*command, draws, threads);
        // A list can run to gigabytes: its size is known before its text is written.
        AnswerSize size;
        if (zestawy::listsEverySet(*command))
            size = zestawy::measureAnswer(*command, draws, threads, index.get());
        if (size.bytes > zestawy::kAskAbove)
            askWhereItGoes(state, *command, draws, index.get(), size);
        else
            showAnswer(state, *command, draws, index.get());
    } catch (const std::bad_alloc&) {
        messageBox(state.main, "Za mało pamięci na odpowiedź tego wyszukiwania.", "Błąd",
                   MB_ICONERROR);
    }

    enableButtons(state, {panel.save, panel.open}, true);
    return true;
}
