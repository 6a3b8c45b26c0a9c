// The search buttons of the three panels: each runs its row of the command
// table between locking and unlocking its panel's buttons, and appends the
// answer to the results box.
#pragma once

#include "app/window_state.hpp"

// Handles a search button; returns false for any other id. A search of one
// game over the draws that another game's "Wczytaj" loaded is refused with a
// message box of this caption, and nothing changes.
bool handleSearchButton(WindowState& state, int id);
extern const char kAnotherGameCaption[];
