#include "search/multi_small.hpp"

#include "search/engine.hpp"

namespace zestawy {

// A number written twice in a line makes a pair of equal numbers, which no
// candidate can match, so the distinct numbers of the line decide alone.
std::vector<int> findNeverAppearedPair(const std::vector<std::string>& draws) {
    return firstNeverDrawn(draws, {2, 2, 80});
}

TripleC findNeverAppearedTripleFromPairs(const std::vector<std::string>& draws) {
    const std::vector<int> t = firstNeverDrawn(draws, {3, 2, 80});
    return t.empty() ? TripleC() : TripleC(t[0], t[1], t[2]);
}

}  // namespace zestawy
