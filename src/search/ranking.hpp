// The ranking of the longest-awaited sets: how many draws each set of a search
// has waited since it last appeared, and the sets that have waited longest.
//
// A set appeared in a draw line when the line holds k of its numbers together
// (k = query.subsetSize, the search's own condition; k = n for a whole set).
// Over a draw list, oldest first and newest last, a set's wait is the number
// of lines after the newest one it appeared in: 0 when it appeared in the
// newest line, the whole length of the list when it appeared in none.
//
// A set waits at least w exactly when it qualifies for the exhaustive search
// over the last w lines, so the sets that wait longest are found with the
// engine (search/engine.hpp): a binary search for the longest wait at which
// enough sets still qualify, then one walk that lists them. No I/O.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "search/engine.hpp"
#include "search/shared_walk.hpp"

namespace zestawy {

struct RankedSet {
    std::vector<int> numbers;  // ascending
    std::size_t wait;          // lines after the newest it appeared in
    // The index in the draw list of the newest line it appeared in; -1 when
    // it appeared in none (and wait is the length of the list).
    long long lastSeen;
};

// Called often (before each first number of each walk of the engine, some
// thousands of times in all, a few milliseconds apart) with the part done,
// 0..1; returns false to stop the ranking. Always called in the thread that
// called longestWaits, never in the ranking's own threads.
using RankingProgress = std::function<bool(double done)>;

// The `top` sets of the query's exhaustive search with the longest waits over
// the draw list, longest first; sets with equal waits in ascending order (the
// engine's). Fewer only when the query has fewer sets in all, and none when
// progress stopped it. The walks are shared among `threads` threads
// (search/shared_walk.hpp); the answer is the same for any count. Lines are read as parseLine reads
// them; numbers outside 1..query.maxNumber belong to no set. REQUIRES the query as
// forEachNeverDrawn requires it, top >= 1.
std::vector<RankedSet> longestWaits(const std::vector<std::string>& draws,
                                    const NeverDrawnQuery& query, std::size_t top,
                                    const RankingProgress& progress = nullptr, int threads = 1);

// The wait of every single number, waits[v] for v in 1..maxNumber (waits[0]
// unused), over the draw list as longestWaits counts it.
std::vector<std::size_t> waitsOfNumbers(const std::vector<std::string>& draws, int maxNumber);

// The wait of every pair {number, v}, waits[v] for v in 1..maxNumber
// (waits[number] and waits[0] unused).
std::vector<std::size_t> waitsOfPairsWith(const std::vector<std::string>& draws, int maxNumber,
                                          int number);

}  // namespace zestawy
