// Timings of the three randomised Multi Multi searches over the latest draws
// of the real history, as the search commands hand them over: the numbers
// parts of the last N lines joined by CR LF, cut to the command's read
// capacity (899,999 characters for "Wyszukaj 3", 8,999 for "Wyszukaj 6 z 9"
// and "Wyszukaj 7 z 10", so these two see only the oldest ~160 of the loaded
// draws), split at the line feeds. The literal versions from the tests run
// beside them where they finish within a minute.
//
// Every iteration starts from the generator's initial state, as the first
// search after the program starts.
//
// Besides the searches: the cost of one rejected draw, and the two ways the
// nine-number search checks hashes, whose costs decide when it switches from
// walking the lines to keeping every hash.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "combinatorics/random.hpp"
#include "search/multi_random.hpp"
#include "search/reference.hpp"
#include "search/six_hashes.hpp"

namespace {

using Draws = std::vector<std::string>;

constexpr std::size_t kTripleRead = 899'999;
constexpr std::size_t kNineTenRead = 8'999;

const std::vector<std::string>& historyLines() {
    static const std::vector<std::string> lines = [] {
        const std::string path =
            std::string(ZESTAWY_DATA_DIR) + "/Multi Multi wyniki losowa\xC5\x84.txt";
        std::ifstream file(path, std::ios::binary);
        if (!file) throw std::runtime_error("cannot open " + path);
        std::vector<std::string> all;
        std::string line;
        while (std::getline(file, line)) {
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
            all.push_back(line);
        }
        return all;
    }();
    return lines;
}

// The draw list that a search command builds after loading the last `count`
// draws: the numbers box text cut to `read` characters and split at LF.
Draws drawList(std::size_t count, std::size_t read) {
    const std::vector<std::string>& lines = historyLines();
    std::string box;
    for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) {
        const std::size_t first = lines[i].find(' ');
        if (first == std::string::npos) continue;
        const std::size_t second = lines[i].find(' ', first + 1);
        if (second == std::string::npos) continue;
        if (!box.empty()) box += "\r\n";
        box += lines[i].substr(second + 1);
    }
    if (box.size() > read) box.resize(read);
    Draws draws;
    std::istringstream in(box);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) draws.push_back(line);
    return draws;
}

template <class Search>
void run(benchmark::State& state, const Draws& draws, Search search) {
    std::size_t found = 0;
    for (auto _ : state) {
        zestawy::setRandomState(1);
        const auto result = search(draws);
        found = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["lines"] = static_cast<double>(draws.size());
    state.counters["found"] = static_cast<double>(found);
}

void BM_Triple(benchmark::State& state) {
    run(state, drawList(static_cast<std::size_t>(state.range(0)), kTripleRead),
        [](const Draws& d) { return zestawy::findNeverAppearedTripleInFlight(d); });
}
void BM_TripleReference(benchmark::State& state) {
    run(state, drawList(static_cast<std::size_t>(state.range(0)), kTripleRead),
        [](const Draws& d) { return zestawy::reference::findNeverAppearedTripleInFlight(d); });
}
void BM_Nine(benchmark::State& state) {
    run(state, drawList(static_cast<std::size_t>(state.range(0)), kNineTenRead),
        [](const Draws& d) { return zestawy::findTenNeverAppearedNine6from9_Hash(d); });
}
void BM_NineReference(benchmark::State& state) {
    run(state, drawList(static_cast<std::size_t>(state.range(0)), kNineTenRead),
        [](const Draws& d) { return zestawy::reference::findTenNeverAppearedNine6from9_Hash(d); });
}
void BM_Ten(benchmark::State& state) {
    run(state, drawList(static_cast<std::size_t>(state.range(0)), kNineTenRead),
        [](const Draws& d) { return zestawy::findTenNeverAppearedTen7from10(d); });
}
void BM_TenReference(benchmark::State& state) {
    run(state, drawList(static_cast<std::size_t>(state.range(0)), kNineTenRead),
        [](const Draws& d) { return zestawy::reference::findTenNeverAppearedTen7from10(d); });
}

// Searches that run into the bound on draws: a line holding all of 1..80
// rejects every draw at the first look, so the time is the cost of the
// kMaxRandomDraws draws themselves; "per draw" is the cost of one rejected
// draw, in seconds.
const Draws kEverything = {
    "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,"
    "34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,56,57,58,59,60,61,62,63,"
    "64,65,66,67,68,69,70,71,72,73,74,75,76,77,78,79,80"};

// Real draws in front of the covering line: each rejected draw first meets
// lines that do not reject it.
Draws realThenEverything() {
    Draws draws = drawList(150, kNineTenRead);
    draws.push_back(kEverything.front());
    return draws;
}

void countPerDraw(benchmark::State& state) {
    state.counters["per draw"] = benchmark::Counter(
        static_cast<double>(zestawy::kMaxRandomDraws),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
void BM_NineBound(benchmark::State& state) {
    run(state, state.range(0) ? realThenEverything() : kEverything,
        [](const Draws& d) { return zestawy::findTenNeverAppearedNine6from9_Hash(d); });
    countPerDraw(state);
}
void BM_TenBound(benchmark::State& state) {
    run(state, state.range(0) ? realThenEverything() : kEverything,
        [](const Draws& d) { return zestawy::findTenNeverAppearedTen7from10(d); });
    countPerDraw(state);
}

// The nine-number search over the lines it reads from the real history
// decides the draws that only a hash can reject either by one walk over the
// lines' six-number subsets per batch of pending draws (here ten, the most
// there can be) or, after kWalksBeforeKeeping walks, from a set of all
// recorded hashes built once. Building the set should cost about as much as
// that many walks.
void BM_SixHashWalk(benchmark::State& state) {
    const zestawy::six_hashes::RecordedLines lines(drawList(1000, kNineTenRead));
    zestawy::setRandomState(1);
    std::vector<zestawy::six_hashes::Nine> pending(10);
    for (zestawy::six_hashes::Nine& nine : pending) {
        const std::vector<int> drawn = zestawy::randomNine6from9();
        std::copy(drawn.begin(), drawn.end(), nine.begin());
    }
    for (auto _ : state) {
        const std::vector<bool> rejected = zestawy::six_hashes::rejectedByWalk(lines, pending);
        benchmark::DoNotOptimize(rejected.size());
    }
    state.counters["subsets"] = static_cast<double>(lines.subsets());
}
void BM_SixHashSet(benchmark::State& state) {
    const zestawy::six_hashes::RecordedLines lines(drawList(1000, kNineTenRead));
    for (auto _ : state) {
        const zestawy::six_hashes::SixHashSet kept(lines);
        benchmark::DoNotOptimize(&kept);
    }
    state.counters["subsets"] = static_cast<double>(lines.subsets());
}

#define SIZES Arg(10)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000)
BENCHMARK(BM_Triple)->SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TripleReference)->SIZES->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Nine)->SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NineReference)->SIZES->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Ten)->SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenReference)->SIZES->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NineBound)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TenBound)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SixHashWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixHashSet)->Unit(benchmark::kMillisecond);

}  // namespace
