// What the generator's runs share (generate.cpp, anneal.cpp): the random
// numbers, the best system of all runs with the stop and the callbacks, and
// the steps every run takes: a greedy start, one ticket fewer.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "wheel/cover.hpp"
#include "wheel/generate.hpp"
#include "wheel/subsets.hpp"

namespace zestawy::wheel_search {

using Clock = std::chrono::steady_clock;

// When a run looks at the time and whether to go on: every 1024 steps, and
// between them once a step of a large shape has taken long enough, so that
// the budget and a stop hold however long a step takes.
class Checkpoint {
  public:
    bool due(std::uint64_t step) {
        if (step % 1024 != 0 && Clock::now() < next_) return false;
        next_ = Clock::now() + std::chrono::milliseconds(50);
        return true;
    }

  private:
    Clock::time_point next_ = Clock::now();
};

// splitmix64: the same numbers on every platform and standard library.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0..n-1, for n < 2^32.
    std::size_t below(std::size_t n) {
        return static_cast<std::size_t>(((next() >> 32) * n) >> 32);
    }
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // A random position of the mask, which is not empty.
    int in(WheelMask mask) {
        for (std::size_t skip = below(static_cast<std::size_t>(subsets::count(mask))); skip > 0;
             --skip)
            mask &= mask - 1;
        return subsets::lowest(mask);
    }

  private:
    std::uint64_t state_;
};

// What the runs share: the best system, the stop, the callbacks.
class Shared {
  public:
    Shared(const WheelSearch& s, const std::function<bool(const WheelProgress&)>& k,
           const std::function<void(const std::vector<WheelMask>&)>& b);

    const WheelSearch& search;
    const std::size_t bound;
    WheelFound found;  // under `lock` while the runs go
    std::mutex lock;

    double seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    // Tickets of the best system of all runs; 0: none yet.
    std::size_t best() const { return best_; }
    // A run's system with nothing uncovered: kept when it is the smallest.
    void offer(const std::vector<WheelMask>& tickets);
    // Whether a run goes on; now and then asks keepGoing, with the run's state.
    bool goOn(std::size_t trying, std::size_t uncovered);
    // The best system of all runs.
    std::vector<WheelMask> bestTickets();

  private:
    const std::function<bool(const WheelProgress&)>& keepGoing_;
    const std::function<void(const std::vector<WheelMask>&)>& better_;
    const Clock::time_point start_ = Clock::now();
    Clock::time_point lastProgress_ = start_;
    std::atomic<std::size_t> best_{0};
    std::atomic<bool> stop_{false};
};

// A run's first system: the known one, or a greedy one (offered); false when
// the search was stopped before it was whole.
bool startCover(Shared& shared, WheelCover& cover, Random& random);

// Drops the ticket whose loss uncovers the fewest subsets.
void dropOne(WheelCover& cover);

// After a system with nothing uncovered: down to one ticket fewer than the
// best of every run, from the run's own system while it is that best, from
// the best one otherwise. False when no fewer tickets can do.
bool goBelowBest(Shared& shared, WheelCover& cover);
// Before each step of a run: false when the run is to end (the budget spent,
// a stop, or nothing smaller than the best system left to look for).
bool beforeStep(Shared& shared, WheelCover& cover, Checkpoint& checkpoint, std::uint64_t step);

// A change of one number of one ticket.
struct Move {
    std::size_t ticket;
    int out, in;
};

// Nurmela and Östergård's move: a random uncovered subset, and a random
// ticket that holds t-1 of its numbers (any ticket if none does) takes one of
// its other numbers in for one outside it. `buffer` is the caller's, to keep
// the tickets in between.
Move randomMove(const WheelCover& cover, Random& random, std::vector<std::size_t>& buffer);

// The two kinds of run: best swaps with a short tabu list, and annealing.
void tabuRun(Shared& shared, int index);
void annealRun(Shared& shared, int index);

// A run's random numbers: from the seed and the run's index.
inline std::uint64_t runSeed(const WheelSearch& search, int index) {
    return search.seed * 0x2545F4914F6CDD1Dull + static_cast<std::uint64_t>(index);
}

}  // namespace zestawy::wheel_search
