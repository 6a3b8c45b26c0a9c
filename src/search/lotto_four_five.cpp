#include "search/lotto_four_five.hpp"

#include "search/engine.hpp"

namespace zestawy {

QuadrupleD findNeverAppearedQuadrupleFromTriples_1_49(const std::vector<std::string>& draws) {
    const std::vector<int> q = firstNeverDrawn(draws, {4, 3, 49});
    return q.empty() ? QuadrupleD() : QuadrupleD(q[0], q[1], q[2], q[3]);
}

QuintupleD findNeverAppearedQuintupleFromTriples_1_49(const std::vector<std::string>& draws) {
    const std::vector<int> q = firstNeverDrawn(draws, {5, 3, 49});
    return q.empty() ? QuintupleD() : QuintupleD(q[0], q[1], q[2], q[3], q[4]);
}

}  // namespace zestawy
