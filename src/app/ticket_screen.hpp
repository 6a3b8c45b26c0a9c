// "Analiza" -> "Sprawdź swoje liczby...": a player's numbers against the
// game's history: per number of hits the draws, what chance gives and the
// newest such draw; the line for the whole ticket; and the coupon with the
// numbers chosen, each with its wait, on which a click adds or takes away a
// number. The check is quick (the whole Multi Multi history in milliseconds),
// so it runs at once on the window's thread.
#pragma once

#include <windows.h>

#include <vector>

#include "app/window_state.hpp"

// The ids of the screen's controls; tests outside the program use them.
enum TicketControlId : int {
    kTicketGame = 2101,     // drop-down list of the games
    kTicketNumbers = 2102,  // the player's numbers, "3, 17, 22"
    kTicketLast = 2103,     // how many of the latest history lines; empty: all
    kTicketCheck = 2104,    // "Sprawdź"
    kTicketSummary = 2105,  // the line for the whole ticket
    kTicketTable = 2106,    // list view, a row per number of hits
    kTicketCoupon = 2107,   // the coupon picture
};

// Creates the screen, its controls hidden.
void createTicketScreen(WindowState& state, HINSTANCE instance);
