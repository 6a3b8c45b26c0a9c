#include "search/mini_lotto.hpp"

namespace zestawy {

int findNeverAppearedSingle_1_42(const std::vector<std::string>& draws) {
    const std::vector<int> single = firstNeverDrawn(draws, {1, 1, 42});
    return single.empty() ? 0 : single[0];
}

// Repeated numbers in a line make pairs of equal numbers, which match no
// candidate: the distinct numbers decide alone.
std::vector<std::vector<int>> findAllNeverAppearedPairs_1_42(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::pairs42);
}

std::vector<std::vector<int>> findAllNeverAppearedTriple2from3AnyOrder42_pairg(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::triple2from3_42);
}

std::vector<std::vector<int>> findAllNeverAppearedQuad3from4AnyOrder42_tripleg(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::quad3from4_42);
}

std::vector<std::vector<int>> findAllNeverAppearedQuintuple3from5AnyOrder42_tripleg(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::quintuple3from5_42);
}

}  // namespace zestawy
