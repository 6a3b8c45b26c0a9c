// The work of the "System skrócony..." screen that needs no control: making a
// system and checking it on the history (each run on the screen's worker),
// the summary of a system, and the numbers taken from the other screens.
#pragma once

#include <string>
#include <vector>

#include "app/screen_worker.hpp"
#include "app/window_state.hpp"
#include "commands/wheel_text.hpp"

// The numbers a Multi Multi ticket has when the screen opens.
constexpr int kDefaultChosenSize = 5;

// What one run of the screen's worker found.
struct WheelResult {
    const zestawy::GameRow* game = nullptr;
    std::vector<int> numbers;  // the player's, ascending
    zestawy::WheelShape shape{};
    zestawy::WheelMade made;
    std::vector<std::string> lines;    // the tickets as the tool prints them
    zestawy::TextTable tickets, sure;  // the tickets; the fewest hits per count drawn
    bool inexact = false;              // some of those fewest known only within a range
    std::string error;                 // why there is no system, or ""
    // A check on the history: its table and the line above it.
    bool historyOnly = false;
    zestawy::TextTable history;
    std::string historyLine;
};

// Makes the system (the table's or a search's), the first nine tenths of the
// progress bar; a stop ends the search with the best system found so far.
std::unique_ptr<WheelResult> makeInBackground(const zestawy::GameRow& game,
                                              const std::vector<int>& numbers,
                                              const zestawy::WheelShape& shape,
                                              ProgressPoster& post);
// The system's best ticket over the last `last` draws of its game's history
// (0: all), read afresh, against chance.
std::unique_ptr<WheelResult> historyInBackground(const WheelResult& system, long long last,
                                                 ProgressPoster& post);

// The system in words: the numbers, the tickets and their guarantee, how it
// was found, the cost at `price` grosze (-1: no price given), and the
// sentence on what the guarantee is worth.
std::string systemSummary(const WheelResult& system, long long price);

// A game and numbers taken from another screen, or why there are none.
struct TakenNumbers {
    const zestawy::GameRow* game = nullptr;
    std::string text;  // "3, 17, 22"
    std::string error;
};
// The numbers of the ranking's selected sets, or of its sets from the top
// while they fit in a system.
TakenNumbers rankingNumbers(const WindowState& state);
// The numbers in the field of "Sprawdź swoje liczby".
TakenNumbers ticketScreenNumbers(const WindowState& state);
