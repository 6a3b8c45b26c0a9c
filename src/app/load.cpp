#include "app/load.hpp"

#include <functional>
#include <string>
#include <vector>

#include "app/files.hpp"
#include "app/panels.hpp"
#include "commands/search_command.hpp"
#include "history/check.hpp"
#include "history/history.hpp"
#include "history/locked_file.hpp"

using namespace zestawy;

namespace {

// Names the first few loaded lines that are not well-formed draws of the game,
// and how many there are; the draws are loaded all the same.
void reportBadLines(const WindowState& state, const GameRow& game, const std::string& path,
                    const std::vector<std::string>& lines, long long count) {
    constexpr std::size_t kNamed = 5;
    const std::size_t first =
        count >= static_cast<long long>(lines.size()) ? 0 : lines.size() - std::size_t(count);
    std::string named;
    std::size_t bad = 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string why = lineProblems(lines[i], game.rules);
        if (!why.empty() && ++bad <= kNamed)
            named += "\nwiersz " + std::to_string(i + 1) + ": " + why;
    }
    if (bad == 0) return;
    const std::string text =
        "Błędne wiersze wśród wczytanych z pliku '" + shownPath(path) +
        "' (nie są poprawnymi losowaniami " + "gry " + game.name + "): " + std::to_string(bad) +
        (bad > kNamed ? ", pierwsze z nich:" : ":") + named +
        "\n\nWczytano je mimo to: wyszukiwania czytają ich liczby tak, jak są.";
    messageBox(state.main, text.c_str(), kBadLinesCaption, MB_ICONWARNING);
}

}  // namespace

const char kBadLinesCaption[] = "Błędne wiersze";

bool handleLoadCommand(WindowState& state, int id) {
    const GamePanel* found = nullptr;
    for (const GamePanel& panel : kPanels)
        if (panel.load == id) found = &panel;
    if (!found) return false;
    const GamePanel& rules = *found;
    const GameRow& game = gameRow(rules.game);
    std::vector<std::string>& lines = state.history(game.game);

    if (rules.loadEnablesPanelFirst) {
        std::vector<int> ids = searchButtonsOf(game.game);
        ids.push_back(rules.load);
        enableButtons(state, ids, true);
    }
    if (rules.loadDisablesOtherGames) enableButtons(state, {rules.otherGames}, false);

    // The lines kept from an earlier load serve while the file is as it was
    // then; one changed since (draws added by hand or by an update) is read
    // again. A file of any size is not read: real histories are under 2 MB.
    const std::string path = findHistory(game);
    FileIdentity now;
    FileIdentity& kept = state.historyRead[static_cast<int>(game.game)];
    const bool same = !path.empty() && identifyFile(path, now) && now == kept;
    HistoryRead read = HistoryRead::Ok;
    if (lines.empty() || !same) {
        lines.clear();
        read =
            path.empty() ? HistoryRead::CannotOpen : readHistoryFile(path, lines, kMaxHistoryBytes);
        kept = read == HistoryRead::Ok ? now : FileIdentity{};
    }
    if (read == HistoryRead::CannotOpen || read == HistoryRead::TooLarge) {
        // Name the files that were tried, so the user knows what to put where.
        const std::string message = path.empty() ? historyMissing(game)
                                    : read == HistoryRead::CannotOpen
                                        ? "Nie udało się otworzyć pliku '" + shownPath(path) + "'."
                                        : "Plik '" + shownPath(path) + "' ma ponad " +
                                              historyLimitText() +
                                              ": to nie jest plik wyników losowań.";
        messageBox(state.main, message.c_str(), "Błąd", MB_ICONERROR);
        return true;
    }

    // The count box: its first 19 characters.
    const long long count = parseCount(windowText(state.countBox).substr(0, 19));
    if (count <= 0) return true;

    const LoadedDraws shown = latestDraws(lines, count);
    setWindowText(state.numbersBox, shown.numbers.c_str());
    setWindowText(state.datesBox, shown.dates.c_str());
    state.numbersGame = game.game;
    state.numbersHash = std::hash<std::string>{}(shown.numbers);
    if (rules.loadEnablesFoundSetsAfter) enableButtons(state, {rules.save, rules.open}, true);
    reportBadLines(state, game, path, lines, count);
    return true;
}
