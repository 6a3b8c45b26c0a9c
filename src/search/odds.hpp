// How long sets wait by chance alone: the odds line of the ranking screen.
//
// Each draw takes `drawn` of the numbers 1..maxNumber, all equally likely and
// independent of every other draw. A set of the query appears in a draw when
// at least subsetSize of its setSize numbers are drawn. Its wait is then
// geometric, and the longest wait among all M sets over L draws is taken as
// if the sets were independent: P(longest < w) = (1 - (1 - p)^w)^M, with
// waits capped at L (a set that never appeared waits L). No I/O.
#pragma once

#include <cstddef>

#include "search/engine.hpp"

namespace zestawy {

struct WaitOdds {
    double perDraw;  // p: the chance that one set appears in one draw
    double sets;     // M: how many sets the search judges, C(maxNumber, setSize)
    // The longest wait among the M sets: 5%, 50% and 95% points, at most L.
    std::size_t low, median, high;
};

// REQUIRES 1 <= query.subsetSize <= query.setSize <= drawn <= query.maxNumber.
WaitOdds waitOdds(int drawn, const NeverDrawnQuery& query, std::size_t draws);

// Whether the longest wait's range says nothing: its 95% point is the number
// of draws itself (every wait is capped there).
inline bool capped(const WaitOdds& odds, std::size_t draws) {
    return odds.high >= draws;
}

// How many of the M sets chance leaves without a single appearance in L
// draws: each misses them all with q = (1 - p)^L, so about M·q of them, taken
// as binomial (as if the sets were independent; Poisson where M·q is small).
struct NeverSeenOdds {
    double expected;          // M·q
    std::uint64_t low, high;  // the 5% and 95% points: 90% of histories lie within
};
NeverSeenOdds neverSeenOdds(const WaitOdds& odds, std::size_t draws);

}  // namespace zestawy
