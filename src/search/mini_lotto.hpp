// Mini Lotto (numbers 1..42): the first number that was never drawn, and every
// pair, triple, four-set and five-set none of whose pairs or triples stood
// together in one draw line. The lists hold each set ascending, the sets in
// ascending lexicographic order, and are empty when no set qualifies.
#pragma once

#include <string>
#include <vector>

#include "search/engine.hpp"

namespace zestawy {

// The engine queries behind the list searches, for callers that walk the sets
// with forEachNeverDrawn instead of collecting them all.
namespace queries {
inline constexpr NeverDrawnQuery pairs42{2, 2, 42};
inline constexpr NeverDrawnQuery triple2from3_42{3, 2, 42};
inline constexpr NeverDrawnQuery quad3from4_42{4, 3, 42};
inline constexpr NeverDrawnQuery quintuple3from5_42{5, 3, 42};
}  // namespace queries

// The smallest number of 1..42 that no draw line holds; 0 when every one does.
int findNeverAppearedSingle_1_42(const std::vector<std::string>& draws);

// Every pair never drawn together.
std::vector<std::vector<int>> findAllNeverAppearedPairs_1_42(const std::vector<std::string>& draws);

// Every triple none of whose pairs was drawn together.
std::vector<std::vector<int>> findAllNeverAppearedTriple2from3AnyOrder42_pairg(
    const std::vector<std::string>& draws);

// Every four-set none of whose triples was drawn together.
std::vector<std::vector<int>> findAllNeverAppearedQuad3from4AnyOrder42_tripleg(
    const std::vector<std::string>& draws);

// Every five-set none of whose triples was drawn together.
std::vector<std::vector<int>> findAllNeverAppearedQuintuple3from5AnyOrder42_tripleg(
    const std::vector<std::string>& draws);

}  // namespace zestawy
