// The three games, one row each, and the ids of the window's controls and
// menu items. Everything else that differs between the games (the panels,
// what "Wyczyść" and "Wczytaj" enable, the tool's --game values and rules) is
// derived from these rows; each game's search buttons are its rows of the
// command table (commands/search_command.hpp).
#pragma once

#include "history/check.hpp"

namespace zestawy {

enum class Game { MultiMulti, MiniLotto, Lotto };

// The id of every control and menu item of the main window: a button's id is
// also its command's, and a search button's id is its row's in the command table.
enum ControlId : int {
    // Multi Multi search buttons.
    kMulti2 = 1,
    kMulti2z3 = 2,
    kMulti3 = 3,
    kMulti3z4 = 4,
    kMulti4 = 5,
    kMulti3z5 = 6,
    kMulti4z5 = 7,
    kMulti4z6 = 8,
    kMulti5z6 = 9,
    kMulti5z7 = 10,
    kMulti5z8 = 11,
    kMulti5z5 = 16,
    kMulti6z9 = 41,
    kMulti7z10 = 42,
    // Mini Lotto search buttons.
    kMini1 = 20,
    kMini2 = 21,
    kMini2z3 = 22,
    kMini3z4 = 23,
    kMini3z5 = 24,
    // Lotto search buttons.
    kLotto1 = 30,
    kLotto2 = 31,
    kLotto2z3 = 32,
    kLotto3 = 33,
    kLotto3z4 = 34,
    kLotto3z5 = 35,
    // The other buttons of each panel, and the game buttons that open them.
    kMultiClear = 12,
    kMultiLoad = 13,
    kMultiGame = 14,
    kMultiOtherGames = 15,
    kMultiSave = 43,
    kMultiOpen = 44,
    kMiniLoad = 25,
    kMiniClear = 26,
    kMiniGame = 27,
    kMiniOtherGames = 28,
    kMiniSave = 47,
    kMiniOpen = 48,
    kLottoLoad = 36,
    kLottoClear = 37,
    kLottoGame = 38,
    kLottoOtherGames = 39,
    kLottoSave = 45,
    kLottoOpen = 46,
    // The work boxes.
    kIdNumbersBox = 51,
    kIdResultsBox = 401,
    kIdDatesBox = 53,
    kIdCountBox = 54,
    // The menu items.
    kCmdPrepareSearch = 1001,  // "Plik" -> "Przygotuj wyszukiwanie"
    kCmdOpenHelp = 1003,       // "Pomoc" -> "Otwórz okno pomocy..."
    kCmdCloseHelp = 1004,      // "Pomoc" -> "Zamknij okno pomocy..."
    kCmdRanking = 1005,        // "Analiza" -> "Ranking oczekiwania..."
    kCmdUpdateHistory = 1006,  // "Plik" -> "Uzupełnij wyniki losowań..."
};

struct GameRow {
    Game game;
    const char* name;    // as the game button shows it
    const char* option;  // as the tool's --game takes it
    // The history file "Wczytaj" reads from the working folder, and the tool's
    // sample: its name in Windows-1250 and in UTF-8.
    const char* historyFile;
    const char* historyFileUtf8;
    DrawRules rules;  // numbers per draw, highest number
    // The panel's buttons besides its searches.
    int gameButton, load, clear, save, open, otherGames;
};

extern const GameRow kGames[3];

const GameRow& gameRow(Game game);

}  // namespace zestawy
