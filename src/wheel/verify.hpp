// The exact check of a wheel: every m-subset of the v numbers against every
// ticket, by popcount of the masks.
#pragma once

#include <functional>
#include <vector>

#include "wheel/wheel.hpp"

namespace zestawy {

struct WheelVerdict {
    bool guarantees = false;
    bool stopped = false;  // keepGoing said no before the walk was over
    // When it does not guarantee: the first m-subset, in lexicographic order
    // of the player's numbers, that no ticket holds t numbers of.
    WheelMask missed = 0;
};

// REQUIRES: shape.v <= 40, 1 <= t <= m <= v, C(v, m) <= kMostWheelDraws, and
// every ticket within bits 0..v-1 (shape.k is not used). The walk is split
// into runs of subsets shared by `threads` threads (0: the machine's cores);
// the verdict is the same for any number of threads. keepGoing, when given, is
// called now and then from those threads, possibly at once, and must be safe
// for that (reading an atomic flag is).
WheelVerdict verifyWheel(const std::vector<WheelMask>& tickets, const WheelShape& shape,
                         int threads = 0, const std::function<bool()>& keepGoing = {});

}  // namespace zestawy
