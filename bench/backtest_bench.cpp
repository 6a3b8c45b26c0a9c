// The backtest over each game's whole history, on every core and on one:
// Multi Multi pairs ("Wyszukaj 2"), triples ("Wyszukaj 3") and two sampled
// kinds ("3 z 4", "5 z 8": 200,000 of their sets), and the Lotto triples and
// "3 z 4" (211,876 sets, all followed). The counters tell what was followed
// and how the top line came out. Then chance's simulation that the sentence
// quotes (40 histories of the same length), for Multi Multi pairs and
// "5 z 8" and Lotto pairs.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

#include "commands/search_command.hpp"
#include "search/backtest.hpp"
#include "search/backtest_chance.hpp"
#include "search/draw_lists.hpp"
#include "search/shared_walk.hpp"

namespace {

using zestawy::SearchCommand;
using Draws = std::vector<std::string>;

void backtestHistory(benchmark::State& state, const SearchCommand* command, int threads) {
    const Draws& draws = zestawy::draw_lists::wholeHistory(command->game);
    const int drawn = zestawy::gameRow(command->game).rules.numbersPerDraw;
    zestawy::Backtest result;
    for (auto _ : state)
        result = zestawy::backtest(draws, zestawy::rankingQuery(*command), drawn, nullptr, threads);
    state.counters["draws"] = static_cast<double>(result.judged + 1);
    state.counters["followed"] = static_cast<double>(result.followed);
    state.counters["top_appeared"] = static_cast<double>(result.topAppearances);
    state.counters["top_expected"] = result.topExpected.expected;
    state.counters["long_rate_x_gap"] =
        result.groups[zestawy::kWaitGroupCount - 1].rate / result.perDraw;
}

void chanceOfHistory(benchmark::State& state, const SearchCommand* command) {
    const Draws& draws = zestawy::draw_lists::wholeHistory(command->game);
    const int drawn = zestawy::gameRow(command->game).rules.numbersPerDraw;
    const auto query = zestawy::rankingQuery(*command);
    const zestawy::Backtest real = zestawy::backtest(draws, query, drawn, nullptr, 2);
    zestawy::ChanceOutside chance;
    for (auto _ : state)
        chance = zestawy::chanceOutside(real, draws.size(), query, drawn, nullptr,
                                        zestawy::machineThreads());
    state.counters["outside_of_40"] = chance.outside;
}

const bool registered = [] {
    using namespace zestawy;
    for (const int id : {kMulti2, kMulti5z8, kLotto2}) {
        const SearchCommand* command = findSearchCommand(id);
        const std::string name = std::string("BacktestChance/") + gameRow(command->game).option +
                                 "/id:" + std::to_string(id);
        benchmark::RegisterBenchmark(name.c_str(), chanceOfHistory, command)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
    }
    for (const int id : {kMulti2, kMulti3, kMulti3z4, kMulti5z8, kLotto3, kLotto3z4}) {
        const SearchCommand* command = findSearchCommand(id);
        for (const int threads : {machineThreads(), 1}) {
            const std::string name = std::string("Backtest/") + gameRow(command->game).option +
                                     "/id:" + std::to_string(id) +
                                     "/threads:" + std::to_string(threads);
            benchmark::RegisterBenchmark(name.c_str(), backtestHistory, command, threads)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(1);
            if (machineThreads() == 1) break;
        }
    }
    return true;
}();

}  // namespace
