// Multi Multi (numbers 1..80): every set of four or five numbers on which a
// "k of n" bet would not have won in any draw line. Each returns all
// qualifying sets, each ascending, in ascending lexicographic order; an empty
// list when none qualifies. With few draws the lists are long (up to
// 1,581,580 four-sets and 24,040,016 five-sets): callers that need only part
// of them should walk the sets with forEachNeverDrawn (search/engine.hpp)
// and the queries below.
#pragma once

#include <string>
#include <vector>

#include "search/engine.hpp"

namespace zestawy {

// The engine queries behind these searches, for callers that walk the sets
// with forEachNeverDrawn instead of collecting them all.
namespace queries {
inline constexpr NeverDrawnQuery quads3from4{4, 3, 80};
inline constexpr NeverDrawnQuery quad4from4{4, 4, 80};
inline constexpr NeverDrawnQuery quintuple3from5{5, 3, 80};
inline constexpr NeverDrawnQuery quint4from5{5, 4, 80};
inline constexpr NeverDrawnQuery quintuple5from80{5, 5, 80};
}  // namespace queries

// Four-sets no three of whose numbers share a draw line.
std::vector<std::vector<int>> findAllNeverAppearedQuads3from4InFlight(
    const std::vector<std::string>& draws);

// Four-sets that no draw line holds in full.
std::vector<std::vector<int>> findAllNeverAppearedQuad4from4InFlight(
    const std::vector<std::string>& draws);

// Five-sets no three of whose numbers share a draw line.
std::vector<std::vector<int>> findAllNeverAppearedQuintuple3from5AnyOrder(
    const std::vector<std::string>& draws);

// Five-sets no four of whose numbers share a draw line.
std::vector<std::vector<int>> findAllNeverAppearedQuint4from5InFlight(
    const std::vector<std::string>& draws);

// Five-sets that no draw line holds in full.
std::vector<std::vector<int>> findAllNeverAppearedQuintuple5from80(
    const std::vector<std::string>& draws);

}  // namespace zestawy
