#include "search/odds.hpp"

#include <algorithm>
#include <cmath>

namespace zestawy {

namespace {

double choose(int n, int k) {
    if (k < 0 || k > n) return 0;
    double c = 1;
    for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
    return c;
}

// The smallest n with P(X <= n) >= level, X Poisson of mean `mean`.
std::uint64_t poissonPoint(double mean, double level) {
    double term = std::exp(-mean), sum = term;
    std::uint64_t n = 0;
    while (sum < level && n < 1000000) {
        term *= mean / static_cast<double>(++n);
        sum += term;
    }
    return n;
}

}  // namespace

NeverSeenOdds neverSeenOdds(const WaitOdds& odds, std::size_t draws) {
    const double missLog = std::log1p(-std::min(odds.perDraw, 1.0 - 1e-15));
    const double q = std::exp(missLog * static_cast<double>(draws));
    NeverSeenOdds never{odds.sets * q, 0, 0};
    if (never.expected < 100) {
        // Few: Poisson, exact enough and never below zero.
        never.low = poissonPoint(never.expected, 0.05);
        never.high = poissonPoint(never.expected, 0.95);
    } else {
        // Many: the binomial's normal approximation, 1.645 deviations each way.
        const double spread = 1.6449 * std::sqrt(never.expected * (1 - q));
        never.low = static_cast<std::uint64_t>(std::max(0.0, std::floor(never.expected - spread)));
        never.high = static_cast<std::uint64_t>(std::ceil(never.expected + spread));
    }
    return never;
}

WaitOdds waitOdds(int drawn, const NeverDrawnQuery& q, std::size_t draws) {
    WaitOdds odds{};
    // At least subsetSize of the set's numbers among those drawn: hypergeometric.
    for (int j = q.subsetSize; j <= std::min(q.setSize, drawn); ++j)
        odds.perDraw += choose(q.setSize, j) * choose(q.maxNumber - q.setSize, drawn - j);
    odds.perDraw /= choose(q.maxNumber, drawn);
    odds.sets = choose(q.maxNumber, q.setSize);

    // The smallest m <= L with P(longest <= m) >= level; in logarithms, as M
    // runs to thousands of millions and (1 - p)^m to nearly nothing.
    const double missLog = std::log1p(-std::min(odds.perDraw, 1.0 - 1e-15));
    auto point = [&](double level) {
        std::size_t low = 0, high = draws;  // P(longest <= draws) = 1
        while (low < high) {
            const std::size_t m = low + (high - low) / 2;
            const double atMost = odds.sets * std::log1p(-std::exp(missLog * (m + 1.0)));
            if (atMost >= std::log(level))
                high = m;
            else
                low = m + 1;
        }
        return low;
    };
    odds.low = point(0.05);
    odds.median = point(0.5);
    odds.high = point(0.95);
    return odds;
}

}  // namespace zestawy
