// "Wczytaj": loads the latest N draws of a game from its history file into the
// date and numbers boxes.
#pragma once

#include "app/window_state.hpp"

// Handles the load buttons of the three panels; returns false for any other id.
bool handleLoadCommand(WindowState& state, int id);
