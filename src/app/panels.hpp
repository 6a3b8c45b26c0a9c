// What the user sees: which controls the menu, game and "Inne gry" commands
// show and hide, and which buttons are enabled when. The groups and rules are
// tables, and each game's panel is its row in commands/games.hpp with its
// search buttons; one loop applies a row.
#pragma once

#include <windows.h>

#include <vector>

#include "app/window_state.hpp"
#include "commands/games.hpp"

// The buttons of a game's panel: its searches, then load, clear, save, open
// and "Inne gry".
std::vector<int> panelButtons(const zestawy::GameRow& game);

// What each panel's "Wyczyść" and "Wczytaj" enable and disable besides its
// searches: the panels differ here, and one row each says how.
struct PanelRules {
    zestawy::Game game;
    bool clearEnablesLoad;           // "Wyczyść" enables "Wczytaj" too
    bool loadEnablesPanelFirst;      // "Wczytaj" first enables the searches and itself
    bool loadDisablesOtherGames;     // "Wczytaj" first disables "Inne gry"
    bool loadEnablesFoundSetsAfter;  // and enables "Zapisz/Otwórz znalezione" after
};

const PanelRules& panelRules(zestawy::Game game);

void enableButtons(const WindowState& state, const std::vector<int>& ids, bool enable);

// The show and hide commands of the menu, the game buttons and "Inne gry",
// and the clear commands ("Wyczyść"). Return false for any other id.
bool handleViewCommand(WindowState& state, int id);
bool handleClearCommand(WindowState& state, int id);
