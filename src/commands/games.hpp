// The three games, one row each, and the numbers of the search commands.
// Everything else that differs between the games (the tool's --game values,
// the rules of a draw) is derived from these rows; each game's searches are
// its rows of the command table (commands/search_command.hpp), and the
// window's panels are its own rows (app/panels.hpp).
#pragma once

#include "combinatorics/game_rules.hpp"

namespace zestawy {

enum class Game { MultiMulti, MiniLotto, Lotto };

// The number of each search command: the id of its row in the command table
// and the ID the tool takes.
enum SearchId : int {
    // Multi Multi searches.
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
    // Mini Lotto searches.
    kMini1 = 20,
    kMini2 = 21,
    kMini2z3 = 22,
    kMini3z4 = 23,
    kMini3z5 = 24,
    // Lotto searches.
    kLotto1 = 30,
    kLotto2 = 31,
    kLotto2z3 = 32,
    kLotto3 = 33,
    kLotto3z4 = 34,
    kLotto3z5 = 35,
};

struct GameRow {
    Game game;
    const char* name;    // as the game button shows it
    const char* option;  // as the tool's --game takes it
    // The history file "Wczytaj" reads from the working folder, and the tool's
    // sample: its name in Windows-1250 and in UTF-8.
    const char* historyFile;
    const char* historyFileUtf8;
    DrawRules rules;  // numbers per draw, highest number, draws a day
    // The price of one ticket in grosze, as the window's reduced systems
    // count their cost until the player types another.
    long long ticketPrice;
};

extern const GameRow kGames[3];

const GameRow& gameRow(Game game);

}  // namespace zestawy
