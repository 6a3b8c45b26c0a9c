// "Analiza" -> "Ranking oczekiwania...": the sets of one search that have waited
// longest, in a sortable table, the coupon coloured by the waits of single
// numbers or of the pairs with one number, and the odds of such waits by
// chance alone.
//
// The ranking runs on a worker thread: the worker never touches a control, it
// posts kRankingMessage to the main window and leaves its result for the UI
// thread, and a shared flag stops it. Its controls are children of the main
// window, created at start with all others and shown only on this screen.
#pragma once

#include <windows.h>

#include <vector>

#include "app/window_state.hpp"

// The ids of the screen's controls; tests outside the program use them.
enum RankingControlId : int {
    kRankGame = 2001,      // drop-down list of the games
    kRankSearch = 2002,    // drop-down list of the chosen game's exhaustive searches
    kRankLast = 2003,      // how many of the latest history lines; empty: all
    kRankTop = 2004,       // how many sets, 20 by default, at most 10,000
    kRankShow = 2005,      // "Pokaż"
    kRankStop = 2006,      // "Przerwij"
    kRankSave = 2007,      // "Zapisz ranking..."
    kRankProgress = 2008,  // progress bar
    kRankTable = 2009,     // list view of the ranking
    kRankCoupon = 2010,    // the coupon picture
    kRankOdds = 2011,      // the odds line
};

// Posted by the worker: wParam 0 with the percent done in lParam, 2 when the
// table is done and the sets that never appeared are being counted (the bar
// starts again), or 1 when it has ended.
constexpr UINT kRankingMessage = WM_APP + 1;

// Creates the screen, its controls hidden, after every other control.
void createRankingScreen(WindowState& state, HINSTANCE instance);
