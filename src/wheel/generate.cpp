#include "wheel/generate.hpp"

#include <thread>

#include "search/shared_walk.hpp"
#include "wheel/search_run.hpp"
#include "wheel/verify.hpp"

namespace zestawy {

namespace wheel_search {

Shared::Shared(const WheelSearch& s, const std::function<bool(const WheelProgress&)>& k,
               const std::function<void(const std::vector<WheelMask>&)>& b)
    : search(s), bound(wheelLowerBound(s.shape)), keepGoing_(k), better_(b) {
    if (search.known.empty()) return;
    found.tickets = search.known;
    found.fromKnown = true;
    found.optimal = search.known.size() <= bound;
    best_ = search.known.size();
}

void Shared::offer(const std::vector<WheelMask>& tickets) {
    const std::size_t size = tickets.size();
    if (best_ != 0 && size >= best_) return;
    if (!verifyWheel(tickets, search.shape, 1).guarantees) return;
    std::lock_guard<std::mutex> hold(lock);
    if (best_ != 0 && size >= best_) return;
    found.tickets = tickets;
    found.fromKnown = false;
    found.seconds = seconds();
    best_ = size;
    if (size <= bound) {
        found.optimal = true;
        stop_ = true;
    }
    if (better_) better_(tickets);
}

bool Shared::goOn(std::size_t trying, std::size_t uncovered) {
    if (stop_) return false;
    if (search.seconds > 0 && seconds() >= search.seconds) return false;
    if (!keepGoing_) return true;
    std::lock_guard<std::mutex> hold(lock);
    const Clock::time_point now = Clock::now();
    if (now - lastProgress_ < std::chrono::milliseconds(200)) return !stop_;
    lastProgress_ = now;
    if (!keepGoing_(WheelProgress{seconds(), best_, trying, uncovered})) {
        found.stopped = true;
        stop_ = true;
    }
    return !stop_;
}

std::vector<WheelMask> Shared::bestTickets() {
    std::lock_guard<std::mutex> hold(lock);
    return found.tickets;
}

namespace {

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

}  // namespace

bool startCover(Shared& shared, WheelCover& cover, Random& random) {
    for (WheelMask ticket : shared.search.known) cover.add(ticket);
    while (cover.uncovered() > 0) {
        if (!shared.goOn(cover.tickets().size(), cover.uncovered())) return false;
        cover.add(greedyTicket(cover, random));
    }
    if (shared.search.known.empty()) shared.offer(cover.tickets());
    return true;
}

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

bool beforeStep(Shared& shared, WheelCover& cover, Checkpoint& checkpoint, std::uint64_t step) {
    if (checkpoint.due(step) && !shared.goOn(cover.tickets().size(), cover.uncovered()))
        return false;
    // On the count of steps alone: a seeded run of one thread stays the same.
    return step % 1024 != 0 || cover.tickets().size() < shared.best() || goBelowBest(shared, cover);
}

bool goBelowBest(Shared& shared, WheelCover& cover) {
    const std::size_t best = shared.best();
    if (best <= shared.bound || best <= 1) return false;
    if (cover.tickets().size() > best ||
        (cover.tickets().size() == best && cover.uncovered() > 0)) {
        // Another run is ahead: its system, not this one, is shrunk.
        const std::vector<WheelMask> tickets = shared.bestTickets();
        while (!cover.tickets().empty()) cover.remove(cover.tickets().size() - 1);
        for (WheelMask ticket : tickets) cover.add(ticket);
    }
    while (cover.tickets().size() > best - 1) dropOne(cover);
    return true;
}

// Tabu steps per ticket without fewer uncovered before a run is kicked.
constexpr std::uint64_t kPatience = 100;

void tabuRun(Shared& shared, int index) {
    const WheelSearch& search = shared.search;
    Random random(runSeed(search, index));
    WheelCover cover(search.shape);
    if (!startCover(shared, cover, random)) return;
    // A number taken out of a ticket stays out for this many steps.
    constexpr std::uint64_t kTenure = 2;
    std::vector<std::uint64_t> tabu;
    std::vector<std::size_t> buffer;
    // The fewest uncovered since the last drop or kick, and when.
    std::size_t least = cover.uncovered();
    std::uint64_t leastAt = 0;
    Checkpoint checkpoint;
    for (std::uint64_t step = 0; search.steps == 0 || step < search.steps; ++step) {
        if (!beforeStep(shared, cover, checkpoint, step)) return;
        while (cover.uncovered() == 0) {
            shared.offer(cover.tickets());
            if (!goBelowBest(shared, cover)) return;
            least = cover.uncovered() + 1;
        }
        if (cover.uncovered() < least) {
            least = cover.uncovered();
            leastAt = step;
        } else if (step - leastAt > kPatience * cover.tickets().size()) {
            // Stuck (the short tabu list lets it go round in circles): a kick
            // of random moves, whatever they cost.
            for (std::size_t i = 0; i < cover.tickets().size() / 4 + 2 && cover.uncovered(); ++i) {
                const Move move = randomMove(cover, random, buffer);
                cover.swap(move.ticket, move.out, move.in);
            }
            least = cover.uncovered() + 1;
        }
        tabu.resize(cover.tickets().size() * subsets::kMostNumbers);
        tabuStep(cover, random, tabu, step, kTenure);
    }
}

}  // namespace wheel_search

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
    using namespace wheel_search;
    Shared shared(search, keepGoing, better);
    if (shared.found.optimal) return shared.found;
    const int threads = search.threads > 0 ? search.threads : machineThreads();
    // Mixed: the even runs (the first, with one thread) tabu, the odd ones
    // annealing; each takes over the other's best system.
    auto runOf = [&shared](int i) {
        const WheelRuns runs = shared.search.runs;
        if (runs == WheelRuns::Tabu || (runs == WheelRuns::Mixed && i % 2 == 0))
            tabuRun(shared, i);
        else
            annealRun(shared, i);
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i) helpers.emplace_back([&runOf, i] { runOf(i); });
    runOf(0);
    for (std::thread& h : helpers) h.join();
    return shared.found;
}

}  // namespace zestawy
