// The ranking of the longest waits (the tool's --ranking) over each game's
// whole history: its top 10 for every exhaustive search button. Beside
// "Wyszukaj 5 z 8", the hardest single search of its ranking: the first-set
// search over the last T + 1 draws, T the longest wait, which finds nothing.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

#include "commands/search_command.hpp"
#include "search/draw_lists.hpp"
#include "search/ranking.hpp"

namespace {

using zestawy::SearchCommand;
using Draws = std::vector<std::string>;

const Draws& wholeHistory(zestawy::Game game) {
    static Draws histories[3];
    Draws& draws = histories[static_cast<int>(game)];
    if (draws.empty()) draws = zestawy::draw_lists::lastDraws(game, SIZE_MAX);
    return draws;
}

void rankTopTen(benchmark::State& state, const SearchCommand* command) {
    const Draws& draws = wholeHistory(command->game);
    std::size_t longest = 0;
    for (auto _ : state) {
        const auto top = zestawy::longestWaits(draws, command->sets, 10);
        longest = top.empty() ? 0 : top.front().wait;
    }
    state.counters["longest_wait"] = static_cast<double>(longest);
}

void hardestFirstSearch(benchmark::State& state, const SearchCommand* command) {
    const Draws& draws = wholeHistory(command->game);
    const std::size_t longest = zestawy::longestWaits(draws, command->sets, 1).front().wait;
    const Draws last(draws.end() - static_cast<std::ptrdiff_t>(longest + 1), draws.end());
    for (auto _ : state) benchmark::DoNotOptimize(zestawy::firstNeverDrawn(last, command->sets));
    state.counters["draws"] = static_cast<double>(last.size());
}

const bool registered = [] {
    for (std::size_t i = 0; i < zestawy::kSearchCommandCount; ++i) {
        const SearchCommand* command = &zestawy::kSearchCommands[i];
        if (command->sets.setSize == 0) continue;
        const std::string name = std::string("Ranking/") + zestawy::gameRow(command->game).option +
                                 "/id:" + std::to_string(command->id) + "/top:10";
        benchmark::RegisterBenchmark(name.c_str(), rankTopTen, command)
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
