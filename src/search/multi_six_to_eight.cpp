#include "search/multi_six_to_eight.hpp"

namespace zestawy {

std::vector<std::vector<int>> findAllNeverAppearedSextuple4from6InFlight(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::sextuple4from6);
}

std::vector<std::vector<int>> findAllNeverAppearedSextuple5from6InFlight(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::sextuple5from6);
}

std::vector<std::vector<int>> findAllNeverAppearedSevens5from7(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::sevens5from7);
}

std::vector<std::vector<int>> findAllNeverAppearedOcts5from8InFlight(
    const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queries::octs5from8);
}

}  // namespace zestawy
