// "Analiza" -> "System skrócony...": a reduced system of the player's numbers
// (typed, clicked on the coupon, or taken from the ranking or from "Sprawdź
// swoje liczby"), with a guarantee "t z m" chosen from those the program can
// make. "Ułóż" makes it (from the program's table at once, or by a search of
// a few seconds with progress and "Przerwij"), then shows its tickets, their
// cost, what the best ticket surely hits for every count of drawn numbers
// among the player's, and what a guarantee is worth. "Sprawdź na historii"
// counts the best ticket's hits over the game's draws against chance.
// "Zapisz zakłady..." saves the tickets as the tool prints them, or as a
// spreadsheet.
//
// Its work runs on a worker thread (app/screen_worker.hpp); "Przerwij" or
// leaving the screen stops it, and a stopped search shows its best system.
#pragma once

#include <windows.h>

#include <vector>

#include "app/window_state.hpp"

// The ids of the screen's controls; tests outside the program use them.
enum WheelControlId : int {
    kWheelGame = 2301,          // drop-down list of the games
    kWheelNumbers = 2302,       // the player's numbers, "3, 17, 22, ..."
    kWheelFromRanking = 2303,   // "Z rankingu": the ranking's chosen sets' numbers
    kWheelFromTicket = 2304,    // "Ze sprawdzania": the numbers of "Sprawdź swoje liczby"
    kWheelSize = 2305,          // the numbers of a ticket (chosen in Multi Multi only)
    kWheelGuarantee = 2306,     // the guarantees offered, "3 z 4"
    kWheelMake = 2307,          // "Ułóż"
    kWheelStop = 2308,          // "Przerwij"
    kWheelProgress = 2309,      // progress bar
    kWheelPrice = 2310,         // the price of one ticket, zł
    kWheelLast = 2311,          // how many of the latest history lines; empty: all
    kWheelHistory = 2312,       // "Sprawdź na historii"
    kWheelSave = 2313,          // "Zapisz zakłady..."
    kWheelSummary = 2314,       // the system in words: tickets, cost, how found, the sentence
    kWheelTickets = 2315,       // list view of the tickets
    kWheelCoupon = 2316,        // the coupon picture
    kWheelSure = 2317,          // list view: the fewest hits per count of numbers drawn
    kWheelOnHistory = 2318,     // list view: the best ticket's hits over the history
    kWheelHistoryLabel = 2319,  // the line above it
};

// Posted by the worker: wParam 0 with progressOf in lParam, 1 when it ended.
constexpr UINT kWheelMessage = WM_APP + 5;

// Creates the screen, its controls hidden.
void createWheelScreen(WindowState& state, HINSTANCE instance);
