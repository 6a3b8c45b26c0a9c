// "Plik" -> "Pobierz najnowsze wyniki": the three games' results fetched from
// their sources (zrodla.txt, or the defaults) and merged into their histories
// by the rules of "Uzupełnij wyniki losowań...", one game after another, on a
// thread of its own. A small window shows the progress and has "Przerwij";
// the main window waits, disabled, and keeps answering. At the end one
// message box sums up each game in a line.
#pragma once

#include "app/window_state.hpp"

// Handles the menu item; returns false for any other id.
bool handleDownloadCommand(WindowState& state, int id);

// Stops a download that runs and waits for its thread, with no summary (the
// window closes). The histories are whole: each is replaced all or nothing.
void stopDownload(WindowState& state);

// The keys of the download's window (Esc is "Przerwij"); true when taken.
bool downloadKey(const MSG& msg);
