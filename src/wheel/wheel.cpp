#include "wheel/wheel.hpp"

#include "wheel/subsets.hpp"

namespace zestawy {

bool wheelShapeValid(const WheelShape& s) {
    return s.v >= 1 && s.v <= subsets::kMostNumbers && s.k >= 1 && s.k <= s.v && s.t >= 1 &&
           s.t <= s.k && s.t <= s.m && s.m <= s.v && subsets::binomial(s.v, s.m) <= kMostWheelDraws;
}

std::vector<int> positionsOf(WheelMask ticket) {
    std::vector<int> positions;
    for (; ticket; ticket &= ticket - 1) positions.push_back(subsets::lowest(ticket));
    return positions;
}

WheelMask maskOf(const std::vector<int>& positions) {
    WheelMask mask = 0;
    for (int p : positions) mask |= WheelMask{1} << p;
    return mask;
}

}  // namespace zestawy
