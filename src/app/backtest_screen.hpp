// "Analiza" -> "Czy czekanie pomaga?": the backtest of one search over a
// game's history (search/backtest.hpp): a table of the groups of waits and of
// the longest-waiting sets, a bar chart of each group's rate with its 95%
// interval against the line of chance, and one sentence that says what was
// found.
//
// It runs on a worker thread as the ranking does: the worker never touches a
// control, posts kBacktestMessage and leaves its result for the UI thread,
// and "Przerwij" or leaving the screen stops it.
#pragma once

#include <windows.h>

#include <vector>

#include "app/window_state.hpp"

// The ids of the screen's controls; tests outside the program use them.
enum BacktestControlId : int {
    kBackGame = 2201,      // drop-down list of the games
    kBackSearch = 2202,    // the searches whose sets are judged
    kBackLast = 2203,      // how many of the latest history lines; empty: all
    kBackRun = 2204,       // "Policz"
    kBackStop = 2205,      // "Przerwij"
    kBackProgress = 2206,  // progress bar
    kBackTable = 2207,     // list view of the groups and the top sets
    kBackChart = 2208,     // the bar chart
    kBackSentence = 2209,  // what was found, in a sentence
};

// Posted by the worker: wParam 0 with progressOf in lParam, or 1 when it has
// ended (app/screen_worker.hpp).
constexpr UINT kBacktestMessage = WM_APP + 4;

// Creates the screen, its controls hidden.
void createBacktestScreen(WindowState& state, HINSTANCE instance);
