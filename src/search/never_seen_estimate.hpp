// How many sets of a query never appeared in the draws, estimated where
// counting them all would take too long: a seeded uniform sample of sets,
// drawn with replacement, tested one by one against every draw; the share of
// the sample never seen times all the sets, with its 95% interval (Wilson's,
// for the binomial share). The same seed gives the same estimate on any
// number of threads. No I/O.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "search/engine.hpp"

namespace zestawy {

struct NeverSeenEstimate {
    std::uint64_t sampled = 0;               // sets tested
    std::uint64_t neverSeen = 0;             // of them, never seen in a draw
    double estimate = 0, low = 0, high = 0;  // of all C(maxNumber, setSize) sets
    bool stopped = false;                    // keepGoing said no: nothing is estimated
};

// REQUIRES the query as the engine requires it; draws are numbers lines.
NeverSeenEstimate estimateNeverSeen(const std::vector<std::string>& draws,
                                    const NeverDrawnQuery& query, std::uint64_t samples,
                                    std::uint64_t seed, int threads,
                                    const std::function<bool()>& keepGoing = {});

}  // namespace zestawy
