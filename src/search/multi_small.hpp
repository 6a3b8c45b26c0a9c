// Multi Multi (numbers 1..80): the first pair never drawn together, and the
// first triple of which no two numbers were drawn together.
#pragma once

#include <string>
#include <vector>

#include "combinatorics/keys.hpp"

namespace zestawy {

// The first pair (j, k), j < k, that no draw line holds; empty when every pair
// of 1..80 was drawn.
std::vector<int> findNeverAppearedPair(const std::vector<std::string>& draws);

// The first triple no two of whose numbers share a draw line, ascending;
// TripleC() (all zero) when there is none.
TripleC findNeverAppearedTripleFromPairs(const std::vector<std::string>& draws);

}  // namespace zestawy
