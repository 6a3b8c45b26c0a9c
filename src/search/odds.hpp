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
#include <cstdint>

#include "combinatorics/choose.hpp"
#include "search/engine.hpp"

namespace zestawy {

struct WaitOdds {
    double perDraw;  // p: the chance that one set appears in one draw
    double sets;     // M: how many sets the search judges, C(maxNumber, setSize)
    // The longest wait among the M sets: 5%, 50% and 95% points, at most L.
    std::size_t low, median, high;
    int drawn;              // the numbers of one draw
    NeverDrawnQuery query;  // the sets and what makes one appear
};

// REQUIRES 1 <= query.subsetSize <= query.setSize <= drawn <= query.maxNumber.
WaitOdds waitOdds(int drawn, const NeverDrawnQuery& query, std::size_t draws);

// Whether the longest wait's range says nothing: its 95% point is the number
// of draws itself (every wait is capped there).
inline bool capped(const WaitOdds& odds, std::size_t draws) {
    return odds.high >= draws;
}

// How many of the M sets chance leaves without a single appearance in L
// draws: each misses them all with q = (1 - p)^L, so about M·q of them. Sets
// that share numbers are drawn together, so the count varies far more than
// a binomial's: its variance sums, over every pair of sets, the covariance of
// "never seen", which depends only on how many numbers the two share (the
// chance that one draw shows neither, raised to L). The range is the normal
// one about M·q where the count is large; where it is small, the negative
// binomial, or where the sets' overlaps steady the count, the binomial, of
// the same mean and variance (Poisson where they are equal).
struct NeverSeenOdds {
    double expected;          // M·q
    double deviation;         // its standard deviation, the overlaps counted
    std::uint64_t low, high;  // the 5% and 95% points: 90% of histories lie within
};
NeverSeenOdds neverSeenOdds(const WaitOdds& odds, std::size_t draws);

// The chance that one draw of `drawn` numbers shows neither of two sets of
// the query that share `shared` of their numbers (1 - p for the same set).
// REQUIRES the query as waitOdds requires it, 0 <= shared <= setSize.
double missBothChance(int drawn, const NeverDrawnQuery& query, int shared);
// The chance that such a draw shows both sets (p for the same set).
double bothAppearChance(int drawn, const NeverDrawnQuery& query, int shared);

// The chance that a set of the query appears in one draw of `drawn` numbers:
// at least subsetSize of its setSize numbers among them (hypergeometric).
// REQUIRES the query as waitOdds requires it.
double appearChance(int drawn, const NeverDrawnQuery& query);

// The chance that exactly `hits` of a ticket's `numbers` numbers are among
// the `drawn` of 1..maxNumber; 0 where that cannot be.
double hitsChance(int maxNumber, int drawn, int numbers, int hits);

// How many of `trials` independent chances of p each come up: the mean and
// the range that holds `level` of the outcomes (the (1 - level)/2 and
// (1 + level)/2 points of the binomial; exact up to ten million trials, the
// normal approximation beyond). REQUIRES 0 <= p <= 1, 0 < level < 1.
struct CountRange {
    double expected;
    std::uint64_t low, high;
};
CountRange countRange(std::uint64_t trials, double p, double level);

}  // namespace zestawy
