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

}  // namespace

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
