// Wheels: the exact check of a system over 30 numbers (every one of the
// C(30, m) draws), and the generator on the shapes of the shipped table, its
// sizes as counters beside the best known ones.
#include <benchmark/benchmark.h>

#include <vector>

#include "wheel/designs.hpp"
#include "wheel/generate.hpp"
#include "wheel/verify.hpp"

namespace {

using zestawy::WheelMask;
using zestawy::WheelShape;

// "3 z 6" over 30 numbers: of 6 drawn, 3 fall in one half of the numbers,
// and the table's C(15, 6, 3) on each half has them. Every draw is walked.
std::vector<WheelMask> halvesOf15() {
    const zestawy::WheelDesign* half =
        zestawy::findDesign(zestawy::shippedDesigns(), WheelShape{15, 6, 3, 3});
    std::vector<WheelMask> tickets;
    if (!half) return tickets;
    for (WheelMask t : half->tickets) {
        tickets.push_back(t);
        tickets.push_back(t << 15);
    }
    return tickets;
}

void verify30(benchmark::State& state) {
    const int m = static_cast<int>(state.range(0)), threads = static_cast<int>(state.range(1));
    const std::vector<WheelMask> tickets = halvesOf15();
    bool guarantees = false;
    for (auto _ : state)
        guarantees = zestawy::verifyWheel(tickets, WheelShape{30, 6, m, 3}, threads).guarantees;
    state.counters["tickets"] = static_cast<double>(tickets.size());
    state.counters["guarantees"] = guarantees;
}

// The generator with its default budget, both cores: the size it reaches
// and when, against the best known size; tabu runs (the default) or
// annealing ones beside them (runs: 0 tabu, 1 mixed, 2 annealing).
void generate(benchmark::State& state) {
    const WheelShape shape{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                           static_cast<int>(state.range(2)), static_cast<int>(state.range(3))};
    zestawy::WheelFound found;
    for (auto _ : state) {
        zestawy::WheelSearch search;
        search.shape = shape;
        search.threads = 2;
        search.runs = static_cast<zestawy::WheelRuns>(state.range(5));
        found = zestawy::findWheel(search);
    }
    state.counters["size"] = static_cast<double>(found.tickets.size());
    state.counters["best_known"] = static_cast<double>(state.range(4));
    state.counters["found_s"] = found.seconds;
}

BENCHMARK(verify30)
    ->Name("Wheel/verify/30-numbers")
    ->ArgsProduct({{3, 4, 5, 6}, {1, 2}})
    ->ArgNames({"m", "threads"})
    ->Unit(benchmark::kMillisecond);

// v, k, m, t, best known size, runs.
BENCHMARK(generate)
    ->Name("Wheel/generate")
    ->Args({16, 6, 3, 3, 38, 0})
    ->Args({17, 6, 3, 3, 44, 0})
    ->Args({18, 6, 3, 3, 48, 0})
    ->Args({19, 6, 3, 3, 60, 0})
    ->Args({20, 6, 3, 3, 71, 0})
    ->Args({10, 6, 4, 4, 20, 0})
    ->Args({12, 6, 4, 4, 41, 0})
    ->Args({13, 6, 4, 4, 66, 0})
    ->Args({13, 5, 3, 3, 34, 0})
    ->Args({15, 5, 3, 3, 55, 0})
    ->Args({16, 5, 3, 3, 65, 0})
    ->Args({20, 6, 2, 2, 16, 0})
    ->Args({10, 6, 4, 3, 4, 0})
    ->Args({11, 6, 6, 4, 5, 0})
    ->Args({20, 6, 3, 3, 71, 1})
    ->Args({20, 6, 3, 3, 71, 2})
    ->Args({12, 6, 4, 4, 41, 1})
    ->Args({12, 6, 4, 4, 41, 2})
    ->ArgNames({"v", "k", "m", "t", "best", "runs"})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
