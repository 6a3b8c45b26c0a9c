// Lotto (numbers 1..49): the first four-set and the first five-set none of
// whose triples was drawn together in one line. Each answers the set
// ascending, or all zeros when none qualifies.
#pragma once

#include <string>
#include <vector>

#include "combinatorics/keys.hpp"

namespace zestawy {

QuadrupleD findNeverAppearedQuadrupleFromTriples_1_49(const std::vector<std::string>& draws);

QuintupleD findNeverAppearedQuintupleFromTriples_1_49(const std::vector<std::string>& draws);

}  // namespace zestawy
