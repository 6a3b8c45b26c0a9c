#include "search/multi_four_five.hpp"

namespace zestawy {

std::vector<std::vector<int>> findAllNeverAppearedQuads3from4InFlight(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::quads3from4);
}

std::vector<std::vector<int>> findAllNeverAppearedQuad4from4InFlight(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::quad4from4);
}

std::vector<std::vector<int>> findAllNeverAppearedQuintuple3from5AnyOrder(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::quintuple3from5);
}

std::vector<std::vector<int>> findAllNeverAppearedQuint4from5InFlight(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::quint4from5);
}

std::vector<std::vector<int>> findAllNeverAppearedQuintuple5from80(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::quintuple5from80);
}

}  // namespace zestawy
