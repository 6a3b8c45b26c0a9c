// "Wczytaj": loads the latest N draws of a game from its history file into the
// date and numbers boxes.
#pragma once

#include <windows.h>

// Handles the load buttons (ids 13, 25, 36); returns false for any other id.
bool handleLoadCommand(HWND main, int id);
