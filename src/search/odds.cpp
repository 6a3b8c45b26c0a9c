#include "search/odds.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zestawy {

namespace {

// The smallest n with P(X <= n) >= level, X of the given mean and variance:
// negative binomial where the variance exceeds the mean, Poisson otherwise.
std::uint64_t countPoint(double mean, double variance, double level) {
    if (mean <= 0) return 0;
    // P(0) and the ratio of each term to the one before, (n - 1 + r) / n * (1 - s).
    const bool spread = variance > mean * (1 + 1e-9);
    const double s = spread ? mean / variance : 0, r = spread ? mean * s / (1 - s) : 0;
    double term = spread ? std::exp(r * std::log(s)) : std::exp(-mean), sum = term;
    std::uint64_t n = 0;
    while (sum < level && n < 10000000) {
        ++n;
        term *= spread ? (n - 1 + r) / n * (1 - s) : mean / static_cast<double>(n);
        sum += term;
    }
    return n;
}

}  // namespace

double bothAppearChance(int drawn, const NeverDrawnQuery& q, int shared) {
    // Hits among the shared numbers (a), those of the first set only (b) and
    // those of the second only (c); both appear where a + b and a + c reach
    // subsetSize.
    const int only = q.setSize - shared, rest = q.maxNumber - 2 * q.setSize + shared;
    double both = 0;
    for (int a = 0; a <= shared; ++a)
        for (int b = 0; b <= only; ++b)
            for (int c = 0; c <= only; ++c)
                if (a + b >= q.subsetSize && a + c >= q.subsetSize)
                    both += choose(shared, a) * choose(only, b) * choose(only, c) *
                            choose(rest, drawn - a - b - c);
    return both / choose(q.maxNumber, drawn);
}

double missBothChance(int drawn, const NeverDrawnQuery& q, int shared) {
    return 1 - 2 * appearChance(drawn, q) + bothAppearChance(drawn, q, shared);
}

NeverSeenOdds neverSeenOdds(const WaitOdds& odds, std::size_t draws) {
    const double p = std::min(odds.perDraw, 1.0 - 1e-15), L = static_cast<double>(draws);
    const double q = std::exp(std::log1p(-p) * L);
    NeverSeenOdds never{odds.sets * q, 0, 0, 0};
    // Var = M·q²·Σ_j n_j·((r_j / (1 - p)²)^L - 1): n_j sets share j numbers
    // with a given one, r_j is the chance that a draw shows neither; written
    // so that nothing tiny is taken from anything tiny.
    const NeverDrawnQuery& query = odds.query;
    const int k = query.setSize;
    double sum = 0;
    for (int j = 0; j <= k; ++j) {
        const double sharing = choose(k, j) * choose(query.maxNumber - k, k - j);
        const double r = missBothChance(odds.drawn, query, j);
        sum += sharing * std::expm1(L * std::log1p((r - (1 - p) * (1 - p)) / ((1 - p) * (1 - p))));
    }
    const double variance = std::max(0.0, odds.sets * q * q * sum);
    never.deviation = std::sqrt(variance);
    if ((never.expected < 100 || never.deviation < 10) && variance < never.expected) {
        // Fewer, and steadier than Poisson: the binomial of that mean and variance.
        const double trials = std::max(
            1.0, std::round(never.expected * never.expected / (never.expected - variance)));
        const CountRange range = countRange(static_cast<std::uint64_t>(trials),
                                            std::min(1.0, never.expected / trials), 0.9);
        never.low = range.low;
        never.high = range.high;
    } else if (never.expected < 100 || never.deviation < 10) {
        never.low = countPoint(never.expected, variance, 0.05);
        never.high = countPoint(never.expected, variance, 0.95);
    } else {
        const double spread = 1.6449 * never.deviation;
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
    odds.drawn = drawn;
    odds.query = q;
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
