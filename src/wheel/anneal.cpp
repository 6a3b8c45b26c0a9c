// Simulated annealing for a fixed number of tickets, as in Nurmela and
// Östergård's search for covering designs: the cost is the count of
// uncovered m-subsets; a move takes a random uncovered subset and changes
// one number of a random ticket that holds t-1 of its numbers, so that the
// ticket holds t of them. A move that costs nothing or less is always made,
// one that costs c > 0 with the chance exp(-c / temperature). The temperature
// falls by a fixed factor every so many moves, and when it is low enough to
// freeze the run, it starts again from the top. When nothing is uncovered,
// the run drops a ticket, as the tabu run does.
#include <cmath>

#include "wheel/search_run.hpp"

namespace zestawy::wheel_search {

namespace {

// The schedule: a cycle cools from `hot` to `cold` by `factor` every
// `movesPerTicket` moves per ticket (a cycle is some 23,000 moves a ticket),
// then starts again. Tried on the hard shapes of the table: hotter runs
// wander away from the few uncovered subsets they had, colder ones freeze.
struct Schedule {
    double hot = 0.45, cold = 0.25, factor = 0.9995;
    std::uint64_t movesPerTicket = 20;
};

class Annealer {
  public:
    Annealer(WheelCover& cover, Random& random) : cover_(cover), random_(random) {}

    void setTemperature(double temperature) {
        temperature_ = temperature;
        for (std::size_t c = 0; c < kCosts; ++c)
            accept_[c] = static_cast<std::uint64_t>(
                std::ldexp(std::exp(-static_cast<double>(c) / temperature), 64) * 0.9999999);
    }
    double temperature() const { return temperature_; }

    // One move tried, and made if the chance says so.
    void step() {
        const Move move = randomMove(cover_, random_, short_);
        const int cost = cover_.swapCost(move.ticket, move.out, move.in);
        if (cost > 0 && (static_cast<std::size_t>(cost) >= kCosts ||
                         random_.next() >= accept_[static_cast<std::size_t>(cost)]))
            return;
        cover_.swap(move.ticket, move.out, move.in);
    }

  private:
    static constexpr std::size_t kCosts = 32;
    WheelCover& cover_;
    Random& random_;
    double temperature_ = 1;
    std::uint64_t accept_[kCosts] = {};
    std::vector<std::size_t> short_;
};

}  // namespace

Move randomMove(const WheelCover& cover, Random& random, std::vector<std::size_t>& buffer) {
    const WheelShape& s = cover.shape();
    const WheelMask target = cover.uncoveredAt(random.below(cover.uncovered()));
    const std::vector<WheelMask>& tickets = cover.tickets();
    buffer.clear();
    for (std::size_t i = 0; i < tickets.size(); ++i)
        if (subsets::count(tickets[i] & target) == s.t - 1) buffer.push_back(i);
    // An uncovered subset and a ticket share fewer than t <= min(k, m)
    // numbers: each has one the other lacks.
    const std::size_t ticket =
        buffer.empty() ? random.below(tickets.size()) : buffer[random.below(buffer.size())];
    return Move{ticket, random.in(tickets[ticket] & ~target), random.in(target & ~tickets[ticket])};
}

void annealRun(Shared& shared, int index) {
    const WheelSearch& search = shared.search;
    Random random(runSeed(search, index));
    WheelCover cover(search.shape);
    if (!startCover(shared, cover, random)) return;
    const Schedule schedule;
    Annealer annealer(cover, random);
    annealer.setTemperature(schedule.hot);
    std::uint64_t atThisTemperature = 0;
    Checkpoint checkpoint;
    for (std::uint64_t step = 0; search.steps == 0 || step < search.steps; ++step) {
        if (!beforeStep(shared, cover, checkpoint, step)) return;
        while (cover.uncovered() == 0) {
            shared.offer(cover.tickets());
            if (!goBelowBest(shared, cover)) return;
        }
        if (++atThisTemperature >= schedule.movesPerTicket * cover.tickets().size()) {
            atThisTemperature = 0;
            const double cooler = annealer.temperature() * schedule.factor;
            annealer.setTemperature(cooler < schedule.cold ? schedule.hot : cooler);
        }
        annealer.step();
    }
}

}  // namespace zestawy::wheel_search
