// The ranking of the longest waits (the tool's --ranking) over each game's
// whole history: its top 10 for every search button a ranking judges (the
// Multi Multi triples of "Wyszukaj 3" among them). Beside "Wyszukaj 5 z 8",
// the hardest single search of its ranking: the first-set search over the
// last T + 1 draws, T the longest wait, which finds nothing; and what the
// ranking screen does over its last 100 draws, where the top sets never
// appeared: the top 20, then the count of the never-seen sets, on every
// core within its one-second budget, and past it the estimate from a sample
// of a million sets (the odds line follows the table by at most that).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "commands/search_command.hpp"
#include "search/draw_lists.hpp"
#include "search/never_seen_estimate.hpp"
#include "search/ranking.hpp"
#include "search/shared_walk.hpp"

namespace {

using zestawy::SearchCommand;
using Draws = std::vector<std::string>;

void rankTopTen(benchmark::State& state, const SearchCommand* command) {
    const Draws& draws = zestawy::draw_lists::wholeHistory(command->game);
    std::size_t longest = 0;
    for (auto _ : state) {
        const auto top = zestawy::longestWaits(draws, zestawy::rankingQuery(*command), 10);
        longest = top.empty() ? 0 : top.front().wait;
    }
    state.counters["longest_wait"] = static_cast<double>(longest);
}

void hardestFirstSearch(benchmark::State& state, const SearchCommand* command) {
    const Draws& draws = zestawy::draw_lists::wholeHistory(command->game);
    const std::size_t longest = zestawy::longestWaits(draws, command->sets, 1).front().wait;
    const Draws last(draws.end() - static_cast<std::ptrdiff_t>(longest + 1), draws.end());
    for (auto _ : state) benchmark::DoNotOptimize(zestawy::firstNeverDrawn(last, command->sets));
    state.counters["draws"] = static_cast<double>(last.size());
}

void screenOverLastHundred(benchmark::State& state, const SearchCommand* command) {
    const Draws& draws = zestawy::draw_lists::wholeHistory(command->game);
    const Draws last(draws.end() - 100, draws.end());
    zestawy::BoundedCount count;
    zestawy::NeverSeenEstimate estimate;
    for (auto _ : state) {
        const auto top =
            zestawy::longestWaits(last, command->sets, 20, {}, zestawy::machineThreads());
        count = zestawy::countNeverDrawnWithin(last, command->sets, zestawy::machineThreads(),
                                               std::chrono::seconds(1), {}, {});
        if (count.atLeast)
            estimate = zestawy::estimateNeverSeen(last, command->sets, 1000000, 2026,
                                                  zestawy::machineThreads());
        benchmark::DoNotOptimize(top);
    }
    state.counters["never_seen"] = static_cast<double>(count.sets);
    state.counters["at_least"] = count.atLeast;
    state.counters["estimate"] = estimate.estimate;
    state.counters["estimate_low"] = estimate.low;
    state.counters["estimate_high"] = estimate.high;
}

const bool registered = [] {
    for (std::size_t i = 0; i < zestawy::kSearchCommandCount; ++i) {
        const SearchCommand* command = &zestawy::kSearchCommands[i];
        if (zestawy::rankingQuery(*command).setSize == 0) continue;
        const std::string name = std::string("Ranking/") + zestawy::gameRow(command->game).option +
                                 "/id:" + std::to_string(command->id) + "/top:10";
        benchmark::RegisterBenchmark(name.c_str(), rankTopTen, command)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
        if (command->id == zestawy::kMulti5z8)
            benchmark::RegisterBenchmark("Ranking/multi/id:11/screen-last-100-top-20-and-count",
                                         screenOverLastHundred, command)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(1);
        if (command->id == zestawy::kMulti5z8)
            benchmark::RegisterBenchmark(
                (std::string("Ranking/multi/id:11/hardest-first-set-search")).c_str(),
                hardestFirstSearch, command)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(1);
    }
    return true;
}();

}  // namespace
