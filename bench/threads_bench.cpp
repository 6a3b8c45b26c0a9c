// The slowest Multi Multi cases, with the walk shared among 1, 2 and the
// machine's threads (the count is in each row's name):
//
//   Threads/<search>/<mode>/N:<n>/threads:<t>   the button's answer (writeAnswer:
//       the index, the walk and the text), "5 z 8" over the last 1,100 and
//       1,300 draws (the zone where no eight-set exists) and "5 z 7" over the
//       last 2,000 and every draw
//   Threads/Ranking/5z8/top:10/N:all/threads:<t>  the ranking over every draw
//   Threads/All/5z5/N:1000/threads:<t>  the tool's --all into a file (232 MB)
//   Threads/All/5z5/N:1000/copy         copying that file, read and written as
//       cat does: the floor that --all is held against
//   Threads/Random/id:<41|42>/N:all/threads:1  the nines and tens over every
//       draw, from the generator state 1 (they run on one thread)
//
// bench/against.sh times the same cases with the tool beside an older build.
// Every row is timed in real time, what a user waits for.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "combinatorics/random.hpp"
#include "commands/search_command.hpp"
#include "search/draw_lists.hpp"
#include "search/ranking.hpp"
#include "search/shared_walk.hpp"

namespace {

using zestawy::DrawList;
using zestawy::draw_lists::Game;

const DrawList& multiDraws(std::size_t count) {
    static std::vector<std::pair<std::size_t, DrawList>> cache;
    for (const auto& [n, draws] : cache)
        if (n == count) return draws;
    cache.emplace_back(count, zestawy::draw_lists::lastDraws(Game::MultiMulti, count));
    return cache.back().second;
}

std::string countName(std::size_t count) {
    return count == SIZE_MAX ? "all" : std::to_string(count);
}

void answer(benchmark::State& state, int id, std::size_t count, int threads) {
    const DrawList& draws = multiDraws(count);
    const zestawy::SearchCommand& command = *zestawy::findSearchCommand(id);
    std::size_t bytes = 0;
    for (auto _ : state) {
        zestawy::setRandomState(1);
        zestawy::TextBuffer out;
        zestawy::writeAnswer(command, draws, out, threads);
        bytes = out.view().size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void ranking(benchmark::State& state, int threads) {
    const DrawList& draws = multiDraws(SIZE_MAX);
    const zestawy::NeverDrawnQuery query = zestawy::findSearchCommand(zestawy::kMulti5z8)->sets;
    std::size_t longest = 0;
    for (auto _ : state)
        longest = zestawy::longestWaits(draws, query, 10, nullptr, threads).front().wait;
    state.counters["longest_wait"] = static_cast<double>(longest);
}

const std::string kListed = "/tmp/zestawy-threads-bench-5z5.txt";
const std::string kCopied = "/tmp/zestawy-threads-bench-copy.txt";

void listAll(benchmark::State& state, int threads) {
    const std::string history = std::string(ZESTAWY_DATA_DIR) + "/" +
                                zestawy::gameRow(zestawy::Game::MultiMulti).historyFileUtf8;
    for (auto _ : state) {
        std::FILE* out = std::fopen(kListed.c_str(), "wb");
        const int code =
            zestawy::runCli({"--history", history, "--game", "multi", "--last", "1000", "--search",
                             "5 z 5", "--all", "--threads", std::to_string(threads)},
                            out, stderr, ".");
        std::fclose(out);
        if (code != 0) state.SkipWithError("--all failed");
    }
}

void copyListed(benchmark::State& state) {
    std::vector<char> buffer(128 << 10);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::FILE* in = std::fopen(kListed.c_str(), "rb");
        std::FILE* out = std::fopen(kCopied.c_str(), "wb");
        if (!in || !out) {
            state.SkipWithError("run the --all rows first");
            if (in) std::fclose(in);
            if (out) std::fclose(out);
            return;
        }
        bytes = 0;
        for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
            bytes += std::fwrite(buffer.data(), 1, got, out);
        std::fclose(in);
        std::fclose(out);
    }
    std::remove(kCopied.c_str());
    state.counters["bytes"] = static_cast<double>(bytes);
}

const bool registered = [] {
    std::vector<int> threadCounts{1, 2};
    if (zestawy::machineThreads() > 2) threadCounts.push_back(zestawy::machineThreads());
    auto timed = [](benchmark::internal::Benchmark* row) {
        row->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    struct Case {
        const char* name;
        int id;
        std::size_t count;
    };
    const Case cases[] = {{"5z8/first", zestawy::kMulti5z8, 1100},
                          {"5z8/first", zestawy::kMulti5z8, 1300},
                          {"5z7/page", zestawy::kMulti5z7, 2000},
                          {"5z7/page", zestawy::kMulti5z7, SIZE_MAX}};
    for (const Case& c : cases)
        for (int t : threadCounts)
            timed(benchmark::RegisterBenchmark(
                ("Threads/" + std::string(c.name) + "/N:" + countName(c.count) +
                 "/threads:" + std::to_string(t))
                    .c_str(),
                answer, c.id, c.count, t));
    for (int t : threadCounts)
        timed(benchmark::RegisterBenchmark(
                  ("Threads/Ranking/5z8/top:10/N:all/threads:" + std::to_string(t)).c_str(),
                  ranking, t)
                  ->Iterations(1));
    for (int t : threadCounts)
        timed(benchmark::RegisterBenchmark(
            ("Threads/All/5z5/N:1000/threads:" + std::to_string(t)).c_str(), listAll, t));
    timed(benchmark::RegisterBenchmark("Threads/All/5z5/N:1000/copy", copyListed));
    for (int id : {41, 42})
        timed(benchmark::RegisterBenchmark(
                  ("Threads/Random/id:" + std::to_string(id) + "/N:all/threads:1").c_str(), answer,
                  id, SIZE_MAX, 1)
                  ->Iterations(1));
    return true;
}();

}  // namespace
