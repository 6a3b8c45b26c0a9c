#include "search/lotto_small.hpp"

#include "search/engine.hpp"

namespace zestawy {

int findNeverAppearedSingle_1_49(const std::vector<std::string>& draws) {
    const std::vector<int> single = firstNeverDrawn(draws, {1, 1, 49});
    return single.empty() ? 0 : single[0];
}

Pair2 findNeverAppearedPair_1_49(const std::vector<std::string>& draws) {
    const std::vector<int> p = firstNeverDrawn(draws, {2, 2, 49});
    return p.empty() ? Pair2(0, 0) : Pair2(p[0], p[1]);
}

TripleD findNeverAppearedTripleFromPairs_1_49(const std::vector<std::string>& draws) {
    const std::vector<int> t = firstNeverDrawn(draws, {3, 2, 49});
    return t.empty() ? TripleD() : TripleD(t[0], t[1], t[2]);
}

TripleE findNeverAppearedTriple_1_49(const std::vector<std::string>& draws) {
    const std::vector<int> t = firstNeverDrawn(draws, {3, 3, 49});
    return t.empty() ? TripleE() : TripleE(t[0], t[1], t[2]);
}

}  // namespace zestawy
