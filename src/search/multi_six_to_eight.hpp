// Multi Multi (numbers 1..80): every set of six, seven or eight numbers on
// which a "k of n" bet would not have won in any draw line, that is, no k of
// its numbers share a draw line. Each returns all qualifying sets, each
// ascending, in ascending lexicographic order; an empty list when none
// qualifies. With few draws these lists run into thousands of millions of
// sets: callers that show only part of them should walk the sets with
// forEachNeverDrawn (search/engine.hpp) and the queries below instead,
// stopping when they have enough.
#pragma once

#include <string>
#include <vector>

#include "search/engine.hpp"

namespace zestawy {

// The engine queries behind these searches, for callers that walk the sets
// with forEachNeverDrawn instead of collecting them all.
namespace queries {
inline constexpr NeverDrawnQuery sextuple4from6{6, 4, 80};
inline constexpr NeverDrawnQuery sextuple5from6{6, 5, 80};
inline constexpr NeverDrawnQuery sevens5from7{7, 5, 80};
inline constexpr NeverDrawnQuery octs5from8{8, 5, 80};
}  // namespace queries

// Six-sets, no four numbers in one line.
std::vector<std::vector<int>> findAllNeverAppearedSextuple4from6InFlight(
    const std::vector<std::string>& draws);

// Six-sets, no five numbers in one line.
std::vector<std::vector<int>> findAllNeverAppearedSextuple5from6InFlight(
    const std::vector<std::string>& draws);

// Seven-sets, no five numbers in one line.
std::vector<std::vector<int>> findAllNeverAppearedSevens5from7(
    const std::vector<std::string>& draws);

// Eight-sets, no five numbers in one line.
std::vector<std::vector<int>> findAllNeverAppearedOcts5from8InFlight(
    const std::vector<std::string>& draws);

}  // namespace zestawy
