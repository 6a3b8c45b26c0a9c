#include "search/never_seen_estimate.hpp"

#include <algorithm>
#include <atomic>
#include <bitset>
#include <cmath>
#include <numeric>
#include <random>
#include <thread>

#include "combinatorics/parse.hpp"
#include "search/odds.hpp"

namespace zestawy {

namespace {

using Mask = std::bitset<kMaxNumber + 1>;

// The sample is drawn in blocks, each from a generator of its own seed, so
// that the threads may share them out in any order.
constexpr std::uint64_t kBlock = 4096;

std::uint64_t neverSeenInBlock(const std::vector<Mask>& draws, const NeverDrawnQuery& q,
                               std::uint64_t seed, std::uint64_t count) {
    std::mt19937_64 gen(seed);
    std::vector<int> numbers(static_cast<std::size_t>(q.maxNumber));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::uint64_t never = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        // The first setSize places of a partial shuffle: a uniform set.
        Mask set;
        for (int j = 0; j < q.setSize; ++j) {
            std::uniform_int_distribution<int> pick(j, q.maxNumber - 1);
            std::swap(numbers[static_cast<std::size_t>(j)],
                      numbers[static_cast<std::size_t>(pick(gen))]);
            set.set(static_cast<std::size_t>(numbers[static_cast<std::size_t>(j)]));
        }
        never += std::none_of(draws.begin(), draws.end(), [&](const Mask& draw) {
            return static_cast<int>((set & draw).count()) >= q.subsetSize;
        });
    }
    return never;
}

}  // namespace

NeverSeenEstimate estimateNeverSeen(const std::vector<std::string>& draws, const NeverDrawnQuery& q,
                                    std::uint64_t samples, std::uint64_t seed, int threads,
                                    const std::function<bool()>& keepGoing) {
    std::vector<Mask> masks;
    for (const std::string& line : draws) {
        Mask draw;
        for (int v : parseLine(line))
            if (v >= 1 && v <= q.maxNumber) draw.set(static_cast<std::size_t>(v));
        masks.push_back(draw);
    }
    const std::uint64_t blocks = (samples + kBlock - 1) / kBlock;
    std::atomic<std::uint64_t> next{0}, never{0};
    std::atomic<bool> stop{false};
    auto work = [&] {
        for (std::uint64_t b; !stop && (b = next++) < blocks;) {
            const std::uint64_t count = std::min(kBlock, samples - b * kBlock);
            never += neverSeenInBlock(masks, q, seed * 0x9E3779B97F4A7C15ull + b, count);
            if (keepGoing && !keepGoing()) stop = true;
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < std::max(1, threads); ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();

    NeverSeenEstimate e;
    e.stopped = stop;
    if (e.stopped || samples == 0) return e;
    e.sampled = samples;
    e.neverSeen = never;
    const double n = static_cast<double>(samples), share = static_cast<double>(never) / n;
    const double z = 1.96, z2 = z * z;
    const double centre = (share + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z * std::sqrt(share * (1 - share) / n + z2 / (4 * n * n)) / (1 + z2 / n);
    const double sets = choose(q.maxNumber, q.setSize);
    e.estimate = share * sets;
    e.low = std::max(0.0, centre - half) * sets;
    e.high = std::min(1.0, centre + half) * sets;
    return e;
}

}  // namespace zestawy
