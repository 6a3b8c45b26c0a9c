#include "app/load.hpp"

#include <new>
#include <string>
#include <vector>

#include "app/panels.hpp"
#include "commands/search_command.hpp"
#include "history/history.hpp"

using namespace zestawy;

namespace {

std::string windowText(HWND hwnd, int capacity) {
    std::string text(static_cast<std::size_t>(capacity), '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], capacity)));
    return text;
}

}  // namespace

bool handleLoadCommand(WindowState& state, int id) {
    const GameRow* found = nullptr;
    for (const GameRow& game : kGames)
        if (game.load == id) found = &game;
    if (!found) return false;
    const GameRow& game = *found;
    const PanelRules& rules = panelRules(game.game);
    std::vector<std::string>& lines = state.history(game.game);

    if (rules.loadEnablesPanelFirst) {
        std::vector<int> ids = searchButtonsOf(game.game);
        ids.push_back(game.load);
        enableButtons(state, ids, true);
    }
    if (rules.loadDisablesOtherGames) enableButtons(state, {game.otherGames}, false);

    if (lines.empty() && !readHistoryLines(game.historyFile, lines)) {
        // Name the file that was tried, so the user knows what to put where.
        const std::string message =
            std::string("Nie udało się otworzyć pliku '") + game.historyFile + "'.";
        MessageBoxA(state.main, message.c_str(), "Błąd", MB_ICONERROR);
        return true;
    }

    // The count box: its first 19 characters.
    const long long count = parseCount(windowText(state.countBox, 20));
    if (count <= 0) return true;

    try {
        const LoadedDraws shown = latestDraws(lines, count);
        SetWindowTextA(state.numbersBox, shown.numbers.c_str());
        SetWindowTextA(state.datesBox, shown.dates.c_str());
    } catch (const std::bad_alloc&) {
        MessageBoxA(state.main, "Za mało pamięci, by pokazać tyle losowań.", "Błąd", MB_ICONERROR);
        return true;
    }
    if (rules.loadEnablesFoundSetsAfter) enableButtons(state, {game.save, game.open}, true);
    return true;
}
