#include "wheel/hits.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "search/odds.hpp"
#include "wheel/subsets.hpp"
#include "wheel/verify.hpp"

namespace zestawy {

int bestHits(const std::vector<WheelMask>& tickets, WheelMask drawn) {
    if (tickets.empty()) return 0;
    // No ticket has more than all of the drawn, or all of its own.
    const int most = std::min(subsets::count(drawn), subsets::count(tickets.front()));
    int best = 0;
    for (WheelMask ticket : tickets) {
        best = std::max(best, subsets::count(ticket & drawn));
        if (best == most) break;
    }
    return best;
}

std::vector<SureHits> sureHits(const std::vector<WheelMask>& tickets, int v, int k, int most,
                               std::uint64_t limit, int threads,
                               const std::function<bool()>& keepGoing) {
    std::vector<SureHits> sure(static_cast<std::size_t>(most) + 1);
    std::vector<bool> exact(sure.size(), false);
    int known = 0;  // the exact count of the largest j walked so far
    for (int j = 0; j <= most; ++j) {
        if (subsets::binomial(v, j) > limit) continue;
        // The count only grows with j: start from the last one.
        int t = known;
        while (j > 0 && t < std::min(j, k)) {
            const WheelVerdict verdict = verifyWheel(tickets, {v, k, j, t + 1}, threads, keepGoing);
            if (verdict.stopped) return {};
            if (!verdict.guarantees) break;
            ++t;
        }
        known = t;
        sure[static_cast<std::size_t>(j)] = {t, t};
        exact[static_cast<std::size_t>(j)] = true;
    }
    // Between the walked counts: from below what the count was, and what k
    // numbers must hold of j drawn among v; from above, what it will be.
    for (int j = 0, low = 0; j <= most; ++j) {
        SureHits& s = sure[static_cast<std::size_t>(j)];
        if (!exact[static_cast<std::size_t>(j)]) s.low = std::max(low, std::max(0, k - (v - j)));
        low = s.low;
    }
    for (int j = most, high = std::min(most, k); j >= 0; --j) {
        SureHits& s = sure[static_cast<std::size_t>(j)];
        if (!exact[static_cast<std::size_t>(j)]) s.high = std::min(high, std::min(j, k));
        high = s.high;
    }
    return sure;
}

HitsChance bestHitsChance(const std::vector<WheelMask>& tickets, int v, int k, int maxNumber,
                          int drawn, std::uint64_t limit, int samples,
                          const std::function<bool()>& keepGoing) {
    HitsChance result;
    result.chance.assign(static_cast<std::size_t>(k) + 1, 0.0);
    const int most = std::min(v, drawn);
    std::vector<double> drawnAmong(static_cast<std::size_t>(most) + 1);
    double sampledAmong = 0;  // the chance of the counts that are sampled
    for (int j = 0; j <= most; ++j) {
        drawnAmong[static_cast<std::size_t>(j)] =
            choose(v, j) * choose(maxNumber - v, drawn - j) / choose(maxNumber, drawn);
        if (subsets::binomial(v, j) > limit)
            sampledAmong += drawnAmong[static_cast<std::size_t>(j)];
    }
    std::mt19937_64 random(20261210);
    std::vector<int> positions(static_cast<std::size_t>(v));
    for (int j = 0; j <= most; ++j) {
        const double among = drawnAmong[static_cast<std::size_t>(j)];
        if (among == 0) continue;
        const std::uint64_t all = subsets::binomial(v, j);
        const bool walk = all <= limit;
        // The samples go to the counts as draws of the game would: as many
        // as a random draw's share of them.
        const std::uint64_t count =
            walk ? all
                 : std::max<std::uint64_t>(
                       1, static_cast<std::uint64_t>(std::llround(samples * among / sampledAmong)));
        result.sampled = result.sampled || !walk;
        std::vector<double> share(result.chance.size(), 0.0);
        int c[subsets::kMostNumbers];
        subsets::lexSubset(0, v, j, c);
        for (std::uint64_t i = 0; i < count; ++i) {
            if (i % 65536 == 65535 && keepGoing && !keepGoing()) return {};
            WheelMask draw = 0;
            if (walk) {
                draw = subsets::maskOf(c, j);
                subsets::nextLex(c, v, j);
            } else {
                std::iota(positions.begin(), positions.end(), 0);
                for (int p = 0; p < j; ++p) {
                    std::uniform_int_distribution<int> pick(p, v - 1);
                    std::swap(positions[static_cast<std::size_t>(p)],
                              positions[static_cast<std::size_t>(pick(random))]);
                    draw |= WheelMask{1} << positions[static_cast<std::size_t>(p)];
                }
            }
            share[static_cast<std::size_t>(bestHits(tickets, draw))] += 1;
        }
        for (std::size_t h = 0; h < share.size(); ++h)
            result.chance[h] += among * share[h] / static_cast<double>(count);
    }
    return result;
}

std::vector<std::size_t> bestHitsCounts(const std::vector<WheelMask>& tickets, int k,
                                        const std::vector<WheelMask>& draws) {
    std::vector<std::size_t> counts(static_cast<std::size_t>(k) + 1, 0);
    for (WheelMask draw : draws)
        ++counts[static_cast<std::size_t>(std::min(k, bestHits(tickets, draw)))];
    return counts;
}

}  // namespace zestawy
