// What a wheel promises beyond its guarantee, and how its best ticket does:
// for every count of drawn numbers among the player's, the fewest hits the
// best ticket surely has; for a draw of the game by chance alone, how likely
// each number of hits of the best ticket is; and over a list of draws, how
// often it had each. The draws here are masks of the player's positions, as
// the tickets are.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "wheel/wheel.hpp"

namespace zestawy {

// The hits of the ticket with the most of them; 0 without tickets.
// REQUIRES every ticket of the same size.
int bestHits(const std::vector<WheelMask>& tickets, WheelMask drawn);

// The fewest hits of the best ticket, known exactly (low == high) or only
// between two counts.
struct SureHits {
    int low = 0, high = 0;
};

// For j = 0..most: whatever j of the v numbers are drawn, the best ticket has
// at least low hits, and some draw of j leaves it no more than high. Exact
// where C(v, j) <= limit; elsewhere between the exact counts of the nearest
// j below and above (the fewest never falls as j grows) and what a ticket of
// k numbers must hold of them. Empty when keepGoing stopped it.
// REQUIRES every ticket of k numbers within bits 0..v-1, v <= 40, most <= v.
std::vector<SureHits> sureHits(const std::vector<WheelMask>& tickets, int v, int k, int most,
                               std::uint64_t limit, int threads = 0,
                               const std::function<bool()>& keepGoing = {});

// The chance of each number of hits (0..k) of the best ticket in one draw of
// `drawn` numbers of 1..maxNumber, uniform, when v of them are the player's:
// by the hypergeometric chance of j of them drawn, times the share of the
// j-subsets on which the best ticket has so many hits. That share is exact
// where C(v, j) <= limit; the other counts share `samples` random draws of a
// seeded generator, each as much as chance draws it (`sampled` says so).
// Empty when keepGoing stopped it.
struct HitsChance {
    std::vector<double> chance;  // chance[h], h = 0..k
    bool sampled = false;
};
HitsChance bestHitsChance(const std::vector<WheelMask>& tickets, int v, int k, int maxNumber,
                          int drawn, std::uint64_t limit, int samples,
                          const std::function<bool()>& keepGoing = {});

// counts[h], h = 0..k: the draws on which the best ticket had h hits.
std::vector<std::size_t> bestHitsCounts(const std::vector<WheelMask>& tickets, int k,
                                        const std::vector<WheelMask>& draws);

}  // namespace zestawy
