// Lotto (numbers 1..49): the first number, pair and triple never drawn
// together, and the first triple no two of whose numbers were drawn together.
// Each answers one set, ascending, or all zeros when none qualifies.
#pragma once

#include <string>
#include <vector>

#include "combinatorics/keys.hpp"

namespace zestawy {

// The smallest number of 1..49 that no draw line holds; 0 when every one does.
int findNeverAppearedSingle_1_49(const std::vector<std::string>& draws);

// The first pair never drawn together; Pair2(0, 0) when every pair was.
Pair2 findNeverAppearedPair_1_49(const std::vector<std::string>& draws);

// The first triple none of whose pairs was drawn together; TripleD() when none.
TripleD findNeverAppearedTripleFromPairs_1_49(const std::vector<std::string>& draws);

// The first triple never drawn together; TripleE() when every triple was.
TripleE findNeverAppearedTriple_1_49(const std::vector<std::string>& draws);

}  // namespace zestawy
