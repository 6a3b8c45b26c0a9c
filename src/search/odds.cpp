#include "search/odds.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zestawy {

double choose(int n, int k) {
    if (k < 0 || n < 0 || k > n) return 0;
    double c = 1;
    for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
    return c;
}

namespace {

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

double hitsChance(int maxNumber, int drawn, int numbers, int hits) {
    return choose(numbers, hits) * choose(maxNumber - numbers, drawn - hits) /
           choose(maxNumber, drawn);
}

double appearChance(int drawn, const NeverDrawnQuery& q) {
    // At least subsetSize of the set's numbers among those drawn.
    double p = 0;
    for (int j = q.subsetSize; j <= std::min(q.setSize, drawn); ++j)
        p += hitsChance(q.maxNumber, drawn, q.setSize, j);
    return p;
}

CountRange countRange(std::uint64_t trials, double p, double level) {
    const double n = static_cast<double>(trials);
    CountRange range{n * p, 0, 0};
    const double tail = (1 - level) / 2;
    if (p <= 0 || p >= 1 || trials == 0) {
        range.low = range.high = static_cast<std::uint64_t>(std::llround(range.expected));
        return range;
    }
    const double sd = std::sqrt(n * p * (1 - p));
    if (trials > 10000000) {
        const double z = level >= 0.95 ? 1.96 : 1.6449;  // the two levels the program asks for
        range.low = static_cast<std::uint64_t>(std::max(0.0, std::floor(range.expected - z * sd)));
        range.high = static_cast<std::uint64_t>(std::ceil(range.expected + z * sd));
        return range;
    }
    // The binomial's terms from its mode outward, as ratios of their
    // neighbours, until they are too small to move a point; then its
    // distribution from the left.
    const auto mode = static_cast<std::uint64_t>(std::min(n, std::floor((n + 1) * p)));
    const auto reach = static_cast<std::uint64_t>(40 * sd + 20);
    const std::uint64_t first = mode > reach ? mode - reach : 0;
    const std::uint64_t last = std::min(trials, mode + reach);
    std::vector<double> term(last - first + 1);
    const double odds = p / (1 - p);
    term[mode - first] = 1;
    for (std::uint64_t k = mode; k > first; --k)
        term[k - 1 - first] =
            term[k - first] * static_cast<double>(k) / (static_cast<double>(trials - k + 1) * odds);
    for (std::uint64_t k = mode; k < last; ++k)
        term[k + 1 - first] =
            term[k - first] * static_cast<double>(trials - k) / static_cast<double>(k + 1) * odds;
    double total = 0;
    for (double t : term) total += t;
    double sum = 0;
    bool low = false;
    range.high = last;
    for (std::uint64_t k = first; k <= last; ++k) {
        sum += term[k - first] / total;
        if (!low && sum >= tail) {
            range.low = k;
            low = true;
        }
        if (sum >= 1 - tail) {
            range.high = k;
            break;
        }
    }
    return range;
}

WaitOdds waitOdds(int drawn, const NeverDrawnQuery& q, std::size_t draws) {
    WaitOdds odds{};
    odds.perDraw = appearChance(drawn, q);
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
