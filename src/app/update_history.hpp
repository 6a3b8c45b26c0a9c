// "Plik" -> "Uzupełnij wyniki losowań...": a game's history file in the
// working folder brought up to date from a downloaded results file.
#pragma once

#include "app/window_state.hpp"

// Handles the menu item; returns false for any other id. The game is the one
// whose count of numbers the download's draws have; a message box says what
// was added or why nothing was, and after an addition the next "Wczytaj" of
// that game reads the file again.
bool handleUpdateCommand(WindowState& state, int id);
