// What the user sees: which controls the menu, game and "Inne gry" commands
// show and hide, and which buttons are enabled when. The groups and rules are
// tables, and each game's panel is one row here with its search buttons; one
// loop applies a row.
#pragma once

#include <windows.h>

#include <vector>

#include "app/ids.hpp"
#include "app/window_state.hpp"
#include "commands/games.hpp"

// Each game's panel: its buttons besides its searches, the game button that
// opens it, and what its "Wyczyść" and "Wczytaj" enable and disable besides
// its searches, where the panels differ.
struct GamePanel {
    zestawy::Game game;
    int gameButton, load, clear, save, open, otherGames;
    bool clearEnablesLoad;           // "Wyczyść" enables "Wczytaj" too
    bool loadEnablesPanelFirst;      // "Wczytaj" first enables the searches and itself
    bool loadDisablesOtherGames;     // "Wczytaj" first disables "Inne gry"
    bool loadEnablesFoundSetsAfter;  // and enables "Zapisz/Otwórz znalezione" after
};
extern const GamePanel kPanels[3];
const GamePanel& panelOf(zestawy::Game game);

// The buttons of a game's panel: its searches, then load, clear, save, open
// and "Inne gry".
std::vector<int> panelButtons(const GamePanel& panel);

void enableButtons(const WindowState& state, const std::vector<int>& ids, bool enable);

// The show and hide commands of the menu, the game buttons and "Inne gry",
// and the clear commands ("Wyczyść"). Return false for any other id.
bool handleViewCommand(WindowState& state, int id);
bool handleClearCommand(WindowState& state, int id);
