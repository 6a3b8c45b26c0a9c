// "Wczytaj": loads the latest N draws of a game from its history file into the
// date and numbers boxes.
#pragma once

#include "app/window_state.hpp"

// Handles the load buttons of the three panels; returns false for any other id.
// Loaded lines that are not well-formed draws of the game (as zestawy-cli
// --check says) are named in a message box of kBadLinesCaption after the
// boxes are filled.
bool handleLoadCommand(WindowState& state, int id);
extern const char kBadLinesCaption[];
