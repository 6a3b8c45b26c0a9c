// How often chance alone puts a backtest's judged groups outside their
// ranges: the same backtest over seeded histories of independent, uniform
// draws of the same game and length. The ranges hold their 95% one by one;
// how often one of several falls outside depends on how the groups move
// together, which only such a simulation tells. No I/O.
#pragma once

#include <cstddef>

#include "search/backtest.hpp"

namespace zestawy {

// Histories simulated, and the sets each follows (a seeded sample where the
// query has more): the groups' ranges hold their 95% for any sample.
constexpr int kChanceHistories = 40;
constexpr std::uint64_t kChanceFollowedSets = 10000;

struct ChanceOutside {
    int histories = 0;  // simulated
    // outside: at least max(1, outsideCount(real)) of the groups and top line
    // that the real backtest judged lay outside their ranges in this many.
    int outside = 0;
    int least = 1;         // that least count
    bool stopped = false;  // progress said stop: nothing is counted
};

// `real` is the backtest of `lines` draws of `drawn` numbers for the query.
// The same arguments give the same answer on any number of threads.
// REQUIRES the query as backtest requires it.
ChanceOutside chanceOutside(const Backtest& real, std::size_t lines, const NeverDrawnQuery& query,
                            int drawn, const BacktestProgress& progress = nullptr, int threads = 1,
                            int histories = kChanceHistories);

}  // namespace zestawy
