#include "combinatorics/random.hpp"

namespace zestawy {

namespace {
std::uint32_t state = 1;
}

int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

std::uint32_t randomState() {
    return state;
}
void setRandomState(std::uint32_t s) {
    state = s;
}

}  // namespace zestawy
