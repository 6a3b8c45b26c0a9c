// The ticket check of "Sprawdź swoje liczby..." and --ticket over the whole
// Multi Multi history: the check alone, and as the window runs it, from
// reading the history file to the table's text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "commands/analysis_text.hpp"
#include "commands/games.hpp"
#include "commands/ranking_text.hpp"
#include "history/history.hpp"
#include "search/ticket.hpp"

namespace {

const std::vector<int> kTicket = {3, 17, 22, 41, 56, 61, 64, 70, 77, 80};

std::string multiPath() {
    return std::string(ZESTAWY_DATA_DIR) + "/" +
           zestawy::gameRow(zestawy::Game::MultiMulti).historyFileUtf8;
}

void checkAlone(benchmark::State& state) {
    std::vector<std::string> lines;
    zestawy::readHistoryFile(multiPath(), lines, zestawy::kMaxHistoryBytes);
    const zestawy::DrawRules& rules = zestawy::gameRow(zestawy::Game::MultiMulti).rules;
    const zestawy::RankingDraws taken = zestawy::rankingDraws(lines, 0, rules);
    for (auto _ : state)
        benchmark::DoNotOptimize(zestawy::checkTicket(taken.draws, kTicket, rules));
    state.counters["draws"] = static_cast<double>(taken.draws.size());
}

void fromTheFile(benchmark::State& state) {
    const zestawy::DrawRules& rules = zestawy::gameRow(zestawy::Game::MultiMulti).rules;
    for (auto _ : state) {
        std::vector<std::string> lines;
        zestawy::readHistoryFile(multiPath(), lines, zestawy::kMaxHistoryBytes);
        const zestawy::RankingDraws taken = zestawy::rankingDraws(lines, 0, rules);
        const zestawy::TicketCheck check = zestawy::checkTicket(taken.draws, kTicket, rules);
        benchmark::DoNotOptimize(zestawy::ticketTable(check, taken.labels, ','));
    }
}

BENCHMARK(checkAlone)->Name("Ticket/multi/10-numbers/check")->Unit(benchmark::kMillisecond);
BENCHMARK(fromTheFile)
    ->Name("Ticket/multi/10-numbers/file-to-table")
    ->Unit(benchmark::kMillisecond);

}  // namespace
