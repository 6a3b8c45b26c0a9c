// The sets a backtest follows: every set of its query, or where there are
// too many, a seeded sample of them. No I/O.
#pragma once

#include <cstdint>
#include <vector>

#include "search/engine.hpp"

namespace zestawy {

// The followed sets, query.setSize numbers each, in ascending lexicographic
// order: every set, or where there are twice `most` or more, a sample of
// `most` drawn by their lexicographic ranks from a generator seeded by the
// query alone (so that few picks repeat and the draw takes time in proportion
// to the sample). `sets`: C(maxNumber, setSize).
// REQUIRES query.setSize <= kMostFollowedSetSize.
constexpr int kMostFollowedSetSize = 10;
std::vector<std::uint8_t> followedSets(const NeverDrawnQuery& query, std::uint64_t sets,
                                       std::uint64_t most);

}  // namespace zestawy
