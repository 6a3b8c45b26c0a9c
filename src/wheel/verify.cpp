#include "wheel/verify.hpp"

#include <algorithm>
#include <atomic>
#include <thread>

#include "search/shared_walk.hpp"
#include "wheel/subsets.hpp"

namespace zestawy {

namespace {

// The ranks [from, to) of the lexicographic order, walked in order; the rank
// of the first subset no ticket hits t times, or `to`.
std::uint64_t firstMissIn(const std::vector<WheelMask>& tickets, const WheelShape& shape,
                          std::uint64_t from, std::uint64_t to) {
    int c[subsets::kMostNumbers];
    subsets::lexSubset(from, shape.v, shape.m, c);
    // Neighbouring subsets share all but a number or two, and so mostly the
    // ticket that hits them: the last one that hit is tried first.
    std::size_t last = 0;
    const std::size_t n = tickets.size();
    for (std::uint64_t rank = from; rank < to; ++rank) {
        const WheelMask draw = subsets::maskOf(c, shape.m);
        bool hit = n > 0 && subsets::count(tickets[last] & draw) >= shape.t;
        for (std::size_t i = 0; !hit && i < n; ++i) {
            if (subsets::count(tickets[i] & draw) >= shape.t) {
                hit = true;
                last = i;
            }
        }
        if (!hit) return rank;
        subsets::nextLex(c, shape.v, shape.m);
    }
    return to;
}

}  // namespace

WheelVerdict verifyWheel(const std::vector<WheelMask>& tickets, const WheelShape& shape,
                         int threads, const std::function<bool()>& keepGoing) {
    const std::uint64_t total = subsets::binomial(shape.v, shape.m);
    if (threads <= 0) threads = machineThreads();
    // Runs small enough to share out evenly and to stop soon after a miss,
    // large enough that taking one costs nothing.
    const std::uint64_t run = std::max<std::uint64_t>(total / (64 * threads) + 1, 2048);
    const std::uint64_t runs = (total + run - 1) / run;
    threads = static_cast<int>(std::min<std::uint64_t>(threads, runs));
    std::atomic<std::uint64_t> nextRun{0}, firstMiss{total};
    std::atomic<bool> stopped{false};
    auto work = [&] {
        for (std::uint64_t r; (r = nextRun.fetch_add(1)) < runs;) {
            const std::uint64_t from = r * run;
            // A miss earlier in the order already decides; runs are taken in
            // order, so every later one can go.
            if (from >= firstMiss.load() || stopped.load()) return;
            if (keepGoing && !keepGoing()) {
                stopped = true;
                return;
            }
            const std::uint64_t miss =
                firstMissIn(tickets, shape, from, std::min(total, from + run));
            if (miss < std::min(total, from + run)) {
                std::uint64_t seen = firstMiss.load();
                while (miss < seen && !firstMiss.compare_exchange_weak(seen, miss)) {
                }
            }
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i) helpers.emplace_back(work);
    work();
    for (std::thread& h : helpers) h.join();

    WheelVerdict verdict;
    verdict.stopped = stopped;
    // A run before the first miss may not have been walked when stopped.
    if (verdict.stopped) return verdict;
    verdict.guarantees = firstMiss == total;
    if (!verdict.guarantees) {
        int c[subsets::kMostNumbers];
        subsets::lexSubset(firstMiss, shape.v, shape.m, c);
        verdict.missed = subsets::maskOf(c, shape.m);
    }
    return verdict;
}

}  // namespace zestawy
