// How a player's own numbers would have done: over a draw list, for each
// number of hits, the draws that held exactly so many of the numbers, what
// chance gives for that count, and the newest such draw. No I/O.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "combinatorics/game_rules.hpp"
#include "search/odds.hpp"

namespace zestawy {

// The share of histories that the range of each row's count holds.
constexpr int kTicketRangePercent = 90;

struct HitsRow {
    int hits;           // how many of the numbers a draw held
    std::size_t draws;  // the draws that held exactly so many
    CountRange chance;  // draws x the hypergeometric chance, with its kTicketRangePercent range
    // The index in the draw list of the newest such draw, and how many draws
    // came after it (0: the newest draw); -1 and 0 when there was none.
    long long last;
    std::size_t ago;
};

struct TicketCheck {
    std::vector<HitsRow> rows;  // from all the numbers down to 0 hits
    // Every number's wait, waits[v] for v in 1..maxNumber, as the ranking
    // counts it (waits[0] unused).
    std::vector<std::size_t> numberWaits;
};

// The ticket over the draws (oldest first; read as parseLine reads them,
// numbers outside 1..rules.maxNumber ignored). REQUIRES the ticket's numbers
// distinct and in 1..rules.maxNumber, at most rules.numbersPerDraw of them.
TicketCheck checkTicket(const std::vector<std::string>& draws, const std::vector<int>& ticket,
                        const DrawRules& rules);

}  // namespace zestawy
