#include "search/backtest_sample.hpp"

#include <algorithm>
#include <random>

#include "combinatorics/choose.hpp"

namespace zestawy {

std::vector<std::uint8_t> followedSets(const NeverDrawnQuery& q, std::uint64_t sets,
                                       std::uint64_t most) {
    const int n = q.setSize;
    std::vector<std::uint8_t> numbers;
    if (sets < 2 * most) {
        numbers.reserve(sets * static_cast<std::uint64_t>(n));
        int set[kMostFollowedSetSize];
        for (int i = 0; i < n; ++i) set[i] = i + 1;
        for (;;) {
            for (int i = 0; i < n; ++i) numbers.push_back(static_cast<std::uint8_t>(set[i]));
            int i = n - 1;
            while (i >= 0 && set[i] == q.maxNumber - (n - 1 - i)) --i;
            if (i < 0) break;
            ++set[i];
            for (int j = i + 1; j < n; ++j) set[j] = set[j - 1] + 1;
        }
        return numbers;
    }
    std::mt19937_64 gen(0x5a657374617779ull ^ (static_cast<std::uint64_t>(q.subsetSize) << 16 |
                                               static_cast<std::uint64_t>(n) << 8 |
                                               static_cast<std::uint64_t>(q.maxNumber)));
    std::vector<std::uint64_t> ranks;
    while (ranks.size() < most) {
        for (std::size_t i = ranks.size(); i < most; ++i)
            ranks.push_back(
                static_cast<std::uint64_t>((static_cast<unsigned __int128>(gen()) * sets) >> 64));
        std::sort(ranks.begin(), ranks.end());
        ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
    }
    numbers.reserve(most * static_cast<std::uint64_t>(n));
    for (std::uint64_t rank : ranks) {
        // Sets that start with v, then n - i - 1 numbers above it: C(max - v, n - i - 1).
        for (int i = 0, v = 1; i < n; ++i, ++v) {
            for (;; ++v) {
                const std::uint64_t starting = choose<std::uint64_t>(q.maxNumber - v, n - i - 1);
                if (rank < starting) break;
                rank -= starting;
            }
            numbers.push_back(static_cast<std::uint8_t>(v));
        }
    }
    return numbers;
}

}  // namespace zestawy
