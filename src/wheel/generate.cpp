#include "wheel/generate.hpp"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "search/shared_walk.hpp"
#include "wheel/cover.hpp"
#include "wheel/subsets.hpp"
#include "wheel/verify.hpp"

namespace zestawy {

namespace {

using Clock = std::chrono::steady_clock;

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
struct Shared {
    Shared(const WheelSearch& s, const std::function<bool(const WheelProgress&)>& k,
           const std::function<void(const std::vector<WheelMask>&)>& b)
        : search(s), keepGoing(k), better(b), bound(wheelLowerBound(s.shape)) {}

    const WheelSearch& search;
    const std::function<bool(const WheelProgress&)>& keepGoing;
    const std::function<void(const std::vector<WheelMask>&)>& better;
    Clock::time_point start = Clock::now();
    std::size_t bound;
    std::mutex lock;
    WheelFound found;
    std::atomic<std::size_t> best{0};  // found.tickets.size(); 0: none
    std::atomic<bool> stop{false};
    Clock::time_point lastProgress = start;

    double seconds() const { return std::chrono::duration<double>(Clock::now() - start).count(); }

    // A run's system with nothing uncovered: kept when it is the smallest.
    void offer(const std::vector<WheelMask>& tickets) {
        const std::size_t size = tickets.size();
        if (best != 0 && size >= best) return;
        if (!verifyWheel(tickets, search.shape, 1).guarantees) return;
        std::lock_guard<std::mutex> hold(lock);
        if (best != 0 && size >= best) return;
        found.tickets = tickets;
        found.fromKnown = false;
        found.seconds = seconds();
        best = size;
        if (size <= bound) {
            found.optimal = true;
            stop = true;
        }
        if (better) better(tickets);
    }

    // Whether a run goes on; now and then asks keepGoing, with the run's state.
    bool goOn(std::size_t trying, std::size_t uncovered) {
        if (stop) return false;
        if (search.seconds > 0 && seconds() >= search.seconds) return false;
        if (!keepGoing) return true;
        std::lock_guard<std::mutex> hold(lock);
        const Clock::time_point now = Clock::now();
        if (now - lastProgress < std::chrono::milliseconds(200)) return !stop;
        lastProgress = now;
        if (!keepGoing(WheelProgress{seconds(), best, trying, uncovered})) {
            found.stopped = true;
            stop = true;
        }
        return !stop;
    }
};

// One greedy ticket: the numbers of an uncovered subset, then random ones,
// then single swaps while they cover more uncovered subsets (skipped where
// they cost too much: then the subset and chance alone choose).
WheelMask greedyTicket(const WheelCover& cover, Random& random) {
    const WheelShape& s = cover.shape();
    const WheelMask all = (WheelMask{1} << s.v) - 1;
    WheelMask ticket = 0, target = cover.uncoveredAt(random.below(cover.uncovered()));
    for (int i = 0; i < s.k && target; ++i) {
        const int p = random.in(target);
        ticket |= WheelMask{1} << p;
        target &= ~(WheelMask{1} << p);
    }
    while (subsets::count(ticket) < s.k) ticket |= WheelMask{1} << random.in(all & ~ticket);
    const double swapWork = static_cast<double>(subsets::binomial(s.k - 1, s.t - 1)) *
                            static_cast<double>(subsets::binomial(s.v - s.k - 1, s.m - s.t)) * s.k *
                            (s.v - s.k);
    if (swapWork > 2e5) return ticket;
    for (bool improved = true; improved;) {
        improved = false;
        for (WheelMask outs = ticket; outs && !improved; outs &= outs - 1)
            for (WheelMask ins = all & ~ticket; ins && !improved; ins &= ins - 1) {
                const int out = subsets::lowest(outs), in = subsets::lowest(ins);
                if (cover.gainChange(ticket, out, in) > 0) {
                    ticket ^= (WheelMask{1} << out) | (WheelMask{1} << in);
                    improved = true;
                }
            }
    }
    return ticket;
}

// Drops the ticket whose loss uncovers the fewest subsets.
void dropOne(WheelCover& cover) {
    std::size_t weakest = 0;
    long long fewest = -1;
    for (std::size_t i = 0; i < cover.tickets().size(); ++i) {
        const long long only = cover.onlyBy(i);
        if (fewest < 0 || only < fewest) {
            fewest = only;
            weakest = i;
        }
    }
    cover.remove(weakest);
}

// One step of the search for a fixed number of tickets: of every swap that
// makes some ticket hold t numbers of a random uncovered subset, the one that
// leaves the fewest uncovered (ties by chance), unless it puts back a number
// taken out of that ticket lately (a short tabu list keeps the search from
// undoing its last moves).
void tabuStep(WheelCover& cover, Random& random, std::vector<std::uint64_t>& tabu,
              std::uint64_t step, std::uint64_t tenure) {
    const WheelShape& s = cover.shape();
    const WheelMask target = cover.uncoveredAt(random.below(cover.uncovered()));
    const std::vector<WheelMask>& tickets = cover.tickets();
    int bestCost = 1 << 30, ties = 0;
    std::size_t bestTicket = 0;
    int bestOut = 0, bestIn = 0;
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        if (subsets::count(tickets[i] & target) != s.t - 1) continue;
        for (WheelMask outs = tickets[i] & ~target; outs; outs &= outs - 1)
            for (WheelMask ins = target & ~tickets[i]; ins; ins &= ins - 1) {
                const int out = subsets::lowest(outs), in = subsets::lowest(ins);
                if (tabu[i * subsets::kMostNumbers + static_cast<std::size_t>(in)] > step) continue;
                const int cost = cover.swapCost(i, out, in);
                if (cost < bestCost) {
                    bestCost = cost;
                    ties = 0;
                }
                if (cost == bestCost && random.below(static_cast<std::size_t>(++ties)) == 0) {
                    bestTicket = i;
                    bestOut = out;
                    bestIn = in;
                }
            }
    }
    if (ties == 0) {
        // No ticket is one swap from it (or every such swap is tabu): one
        // ticket, by chance, takes a number of it.
        bestTicket = random.below(tickets.size());
        const WheelMask ticket = tickets[bestTicket];
        if ((ticket & ~target) == 0 || (target & ~ticket) == 0) return;
        bestOut = random.in(ticket & ~target);
        bestIn = random.in(target & ~ticket);
    }
    cover.swap(bestTicket, bestOut, bestIn);
    tabu[bestTicket * subsets::kMostNumbers + static_cast<std::size_t>(bestOut)] = step + tenure;
}

void run(Shared& shared, int index) {
    const WheelSearch& search = shared.search;
    Random random(search.seed * 0x2545F4914F6CDD1Dull + static_cast<std::uint64_t>(index));
    WheelCover cover(search.shape);
    for (WheelMask ticket : search.known) cover.add(ticket);
    while (cover.uncovered() > 0) {
        if (!shared.goOn(cover.tickets().size(), cover.uncovered())) return;
        cover.add(greedyTicket(cover, random));
    }
    if (search.known.empty()) shared.offer(cover.tickets());
    // A number taken out of a ticket stays out for this many steps.
    constexpr std::uint64_t kTenure = 2;
    std::vector<std::uint64_t> tabu;
    for (std::uint64_t step = 0; search.steps == 0 || step < search.steps; ++step) {
        if (cover.uncovered() == 0) {
            shared.offer(cover.tickets());
            // Down to one ticket fewer than the best of every run.
            const std::size_t below = shared.best - 1;
            if (below < shared.bound || below == 0) return;
            while (cover.tickets().size() > below) dropOne(cover);
        }
        if (step % 1024 == 0 && !shared.goOn(cover.tickets().size(), cover.uncovered())) return;
        tabu.resize(cover.tickets().size() * subsets::kMostNumbers);
        tabuStep(cover, random, tabu, step, kTenure);
    }
}

}  // namespace

bool wheelSearchable(const WheelShape& shape) {
    return wheelShapeValid(shape) && subsets::binomial(shape.v, shape.m) <= kMostSearchDraws;
}

std::size_t wheelLowerBound(const WheelShape& s) {
    if (s.m > s.t) return static_cast<std::size_t>((s.v - (s.m - s.t) + s.k - 1) / s.k);
    std::uint64_t bound = 1;
    for (int i = s.t - 1; i >= 0; --i)
        bound = (static_cast<std::uint64_t>(s.v - i) * bound + (s.k - i) - 1) / (s.k - i);
    return static_cast<std::size_t>(bound);
}

WheelFound findWheel(const WheelSearch& search,
                     const std::function<bool(const WheelProgress&)>& keepGoing,
                     const std::function<void(const std::vector<WheelMask>&)>& better) {
    Shared shared(search, keepGoing, better);
    if (!search.known.empty()) {
        shared.found.tickets = search.known;
        shared.found.fromKnown = true;
        shared.best = search.known.size();
        shared.found.optimal = search.known.size() <= shared.bound;
        if (shared.found.optimal) return shared.found;
    }
    const int threads = search.threads > 0 ? search.threads : machineThreads();
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i) helpers.emplace_back([&shared, i] { run(shared, i); });
    run(shared, 0);
    for (std::thread& h : helpers) h.join();
    return shared.found;
}

}  // namespace zestawy
