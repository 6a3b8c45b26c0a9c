// What the user sees: which controls the menu, game and "Inne gry" commands
// show and hide, and which buttons are enabled when. The groups and rules are
// tables; one loop applies a row.
#pragma once

#include <windows.h>

#include <vector>

#include "commands/search_command.hpp"

// The buttons of one game's panel.
struct GamePanel {
    zestawy::Game game;
    std::vector<int> searches;  // the search buttons
    int load, clear, save, open, otherGames, gameButton;
};

const GamePanel& panelOf(zestawy::Game game);

void enableButtons(const std::vector<int>& ids, bool enable);

// The show and hide commands of the menu, the game buttons and "Inne gry"
// (ids 1001, 1003, 1004, 14, 15, 27, 28, 38, 39), and the clear commands
// ("Wyczyść", ids 12, 26, 37). Returns false for any other id.
bool handleViewCommand(int id);
bool handleClearCommand(int id);
