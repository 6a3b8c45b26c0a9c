// Timings of the search commands as a search button runs them: the search and
// the answer text, from the numbers-box text that the load command makes out of
// the last N draws of the real histories (N = 10, 100, 300, 1000, 3000 and
// every draw for Multi Multi; 100, 1000 and every draw for Mini Lotto and Lotto).
//
//   Commands/<game>/id:<id>/N:<n>          writeAnswer
//   Commands/<game>/id:<id>/N:<n>/literal  the same frame (read capacity, draw
//                                          list, layout, not-found sentence) with
//                                          the literal search of the tests in
//                                          place of the real one
//
// Every iteration writes into a cleared buffer; once an answer has reached
// 10 MB, into a new one instead, as a command does, so that the growth of the
// buffer and the first touch of its memory are timed too (its release is not).
// The random commands (3, 41 and 42) start every iteration from the generator
// state 1: every iteration does the same work, and the literal search draws
// the same sets.
//
// Counters: "bytes" is the length of the answer; answers of 10 MB and more also
// give "bytes_per_second". A literal row checks that it wrote the command's
// answer byte for byte, and "x" is its time divided by the command's (from the
// command's row just before it, in the same run; "x_cpu" in processor time).
// Literal walks of more than a minute are left out (see kLongLiterals); with
// ZESTAWY_BENCH_LONG=1 in the environment those that fit in memory run too.
// Every row is timed in real time, what a user waits for.
//
//   Commands/<game>/id:<id>/N:<n>/measure  for the buttons that list every
//                                          set: measureAnswer, the count of
//                                          sets and characters
//
// Further rows:
//   Commands/MultiMulti/id:16/empty[/reused]  an empty numbers box: all
//       24,040,016 five-sets of 1..80, about 467 MB; "reused" writes into one
//       buffer grown before the timing starts, which spares the page faults
//   Commands/MultiMulti/id:41|42/bound[+100]  a box whose one line holds all of
//       1..80 (after the last 100 draws): every random draw is rejected, and the
//       search ends at its bound on draws
//
// A whole run (--benchmark_filter=^Commands/) takes about eight minutes on two
// cores and up to 7 GB of memory ("Wyszukaj 5 z 6" over the last 10 draws
// answers 6.8 GB).
#include <benchmark/benchmark.h>

#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "combinatorics/random.hpp"
#include "commands/answer.hpp"
#include "commands/search_command.hpp"
#include "history/history.hpp"
#include "search/draw_lists.hpp"
#include "search/multi_random.hpp"
#include "search/reference.hpp"

namespace {

using zestawy::AnswerWriter;
using zestawy::DrawList;
using zestawy::Game;
using zestawy::Layout;
using zestawy::SearchCommand;
using zestawy::TextBuffer;
using Clock = std::chrono::steady_clock;
namespace ref = zestawy::reference;

constexpr long long kAllDraws = LLONG_MAX;
constexpr std::size_t kLargeAnswer = 10'000'000;

const char* gameName(Game game) {
    switch (game) {
        case Game::MultiMulti:
            return "MultiMulti";
        case Game::MiniLotto:
            return "MiniLotto";
        case Game::Lotto:
            return "Lotto";
    }
    return "";
}

std::string countName(long long count) {
    return count == kAllDraws ? "all" : std::to_string(count);
}

std::vector<long long> drawCounts(Game game) {
    if (game == Game::MultiMulti) return {10, 100, 300, 1000, 3000, kAllDraws};
    return {100, 1000, kAllDraws};
}

// The numbers box after loading the last `count` draws of the game's history.
const std::string& numbersBox(Game game, long long count) {
    static std::map<Game, std::vector<std::string>> histories;
    static std::map<std::pair<Game, long long>, std::string> boxes;
    auto box = boxes.find({game, count});
    if (box != boxes.end()) return box->second;

    auto lines = histories.find(game);
    if (lines == histories.end()) {
        namespace dl = zestawy::draw_lists;
        const std::string path = dl::historyPath(game == Game::MultiMulti  ? dl::Game::MultiMulti
                                                 : game == Game::MiniLotto ? dl::Game::MiniLotto
                                                                           : dl::Game::Lotto);
        std::vector<std::string> read;
        if (!zestawy::readHistoryLines(path, read)) throw std::runtime_error("cannot read " + path);
        lines = histories.emplace(game, std::move(read)).first;
    }
    return boxes.emplace(std::pair{game, count}, zestawy::latestDraws(lines->second, count).numbers)
        .first->second;
}

// The random searches are the rows without an exhaustive query.
bool isRandom(const SearchCommand& command) {
    return command.sets.setSize == 0;
}

// ---- the literal searches, written as the commands write their results ----

void putSets(const std::vector<std::vector<int>>& sets, AnswerWriter& out) {
    for (const std::vector<int>& set : sets)
        if (!out.put(set.data(), static_cast<int>(set.size()))) break;
}

// Writes the sets found by the literal search of a command: its random
// search, or the one literal walk over its query. maxSets is how many sets the
// command shows at most: the walk stops there.
void writeLiteral(const SearchCommand& command, const DrawList& draws, std::size_t maxSets,
                  AnswerWriter& out) {
    switch (command.id) {
        case zestawy::kMulti3: {
            const std::vector<int> set = ref::findNeverAppearedTripleInFlight(draws);
            if (!set.empty()) out.put(set.data(), static_cast<int>(set.size()));
            return;
        }
        case zestawy::kMulti6z9:
            return putSets(
                ref::findTenNeverAppearedNine6from9_Hash(draws, zestawy::kMaxRandomDraws), out);
        case zestawy::kMulti7z10:
            return putSets(ref::findTenNeverAppearedTen7from10(draws, zestawy::kMaxRandomDraws),
                           out);
        default:
            return putSets(ref::neverDrawn(draws, command.sets, maxSets), out);
    }
}

// Literal walks of more than a minute on a 2-core machine, left out of a plain
// run. The times are single runs or, marked "est.", the time of the first
// million or more sets scaled by where the last of them lies among all
// candidates. ZESTAWY_BENCH_LONG=1 runs those marked `whenAsked`: the others
// take hours, or more memory than a machine like this one has, since the
// literal searches keep every found set as a vector (60 to 80 bytes a set)
// until the answer is written.
struct LongLiteral {
    int id;
    long long count;
    bool whenAsked;
};
const LongLiteral kLongLiterals[] = {
    {8, 10, false},     // est. 3 min; 219 million sets: 17 to 23 GB with the answer
    {8, 100, true},     // 60 s (est. 77 s); 11.6 million sets: 1 GB
    {9, 10, false},     // est. 1.7 min; 291 million sets: 23 to 30 GB
    {9, 100, false},    // est. 1.9 min; 217 million sets: 17 to 23 GB
    {9, 300, true},     // est. 1.5 min; 114 million sets: 9 to 12 GB
    {9, 1000, true},    // 62 to 81 s (est. 68 s); 11.9 million sets: 1.6 GB
    {10, 3000, true},   // 3.5 to 5 min: no set, so all 3,176,716,400 candidates; 1.3 GB
    {11, 3000, false},  // est. 1 to 1.5 hours: no set, so all 28,987,537,150 candidates,
                        // at the 66 to 150 ns each of the walks at 10/N:3000 and 11/N:1000
};

// Over the whole Multi Multi history the literal searches of four numbers and
// more keep hundreds of millions of subsets (for "5 z 5" all 263 million
// five-subsets of 16,962 draws, over 16 GB), or walk for hours: never run.
const LongLiteral kWholeMultiHistory = {0, kAllDraws, false};

const LongLiteral* longLiteral(const SearchCommand& command, long long count) {
    if (command.game == Game::MultiMulti && count == kAllDraws && command.sets.setSize >= 4)
        return &kWholeMultiHistory;
    for (const LongLiteral& l : kLongLiterals)
        if (l.id == command.id && l.count == count) return &l;
    return nullptr;
}

// Mirrors writeAnswer with the literal search in place of the command's own.
void writeLiteralAnswer(const SearchCommand& command, std::size_t maxSets,
                        std::string_view numbersBox, TextBuffer& out) {
    const DrawList draws = zestawy::splitDrawList(numbersBox);
    AnswerWriter writer = zestawy::answerWriter(command, out);
    writeLiteral(command, draws, maxSets, writer);
    writer.finish();
}

// How many sets an answer of a layout that stops early shows (all the list
// layouts show every set).
std::size_t shownSets(const SearchCommand& command, std::string_view answer) {
    if (answer == command.notFound) return SIZE_MAX;  // the walk goes to the end
    if (command.layout == Layout::FirstOnly) return 1;
    // A FreeLength answer shorter than its limit holds every set.
    if (command.layout != Layout::FreeLength || answer.size() < zestawy::kFreeLengthLimit)
        return SIZE_MAX;
    // Each set ends with CR LF; the last one may be cut short.
    std::size_t sets = 0;
    for (std::size_t at = answer.find("\r\n"); at != std::string_view::npos;
         at = answer.find("\r\n", at + 2))
        ++sets;
    return sets + (answer.size() >= 2 && answer.substr(answer.size() - 2) == "\r\n" ? 0 : 1);
}

// ---- the rows ----

// Seconds of real and of processor time.
struct Seconds {
    double real = 0;
    double cpu = 0;
};

class Stopwatch {
  public:
    Stopwatch() : real_(Clock::now()), cpu_(std::clock()) {}
    // Per iteration, since construction.
    Seconds per(benchmark::IterationCount iterations) const {
        const double n = static_cast<double>(iterations);
        return {std::chrono::duration<double>(Clock::now() - real_).count() / n,
                static_cast<double>(std::clock() - cpu_) / CLOCKS_PER_SEC / n};
    }

  private:
    Clock::time_point real_;
    std::clock_t cpu_;
};

// The time per iteration of each command row (id, N), from its last run.
std::map<std::pair<int, long long>, Seconds>& commandTimes() {
    static std::map<std::pair<int, long long>, Seconds> times;
    return times;
}

void reportAnswer(benchmark::State& state, std::size_t bytes) {
    state.counters["bytes"] = static_cast<double>(bytes);
    if (bytes >= kLargeAnswer)
        state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

// The command on the given box; see the top of the file for the buffers.
// With `reused`, one buffer is grown before the timing starts and only
// cleared, whatever the size of the answer.
void runCommand(benchmark::State& state, const SearchCommand* command, const std::string& box,
                long long count, bool reused = false) {
    const bool random = isRandom(*command);
    auto out = std::make_unique<TextBuffer>();
    if (reused) {
        if (random) zestawy::setRandomState(1);
        zestawy::writeAnswer(*command, box, *out);
    }
    const Stopwatch watch;
    for (auto _ : state) {
        if (!reused && out->size() >= kLargeAnswer) {
            state.PauseTiming();
            out = std::make_unique<TextBuffer>();
            state.ResumeTiming();
        }
        out->clear();
        if (random) zestawy::setRandomState(1);
        zestawy::writeAnswer(*command, box, *out);
    }
    if (count != 0) commandTimes()[{command->id, count}] = watch.per(state.iterations());
    benchmark::DoNotOptimize(out->view().data());
    reportAnswer(state, out->size());
}

void runLiteral(benchmark::State& state, const SearchCommand* command, long long count) {
    const std::string& box = numbersBox(command->game, count);
    const bool random = isRandom(*command);

    // The command's answer, once: the literal search has to write the same,
    // and where the command shows only the first sets, its walk stops there.
    std::size_t expectedSize = 0;
    std::size_t expectedHash = 0;
    std::size_t maxSets = SIZE_MAX;
    Seconds once;
    {
        TextBuffer expected;
        if (random) zestawy::setRandomState(1);
        const Stopwatch watch;
        zestawy::writeAnswer(*command, box, expected);
        once = watch.per(1);
        expectedSize = expected.size();
        expectedHash = std::hash<std::string_view>()(expected.view());
        maxSets = shownSets(*command, expected.view());
    }

    TextBuffer out;
    const Stopwatch watch;
    for (auto _ : state) {
        out.clear();
        if (random) zestawy::setRandomState(1);
        writeLiteralAnswer(*command, maxSets, box, out);
    }
    const Seconds literalTime = watch.per(state.iterations());
    if (out.size() != expectedSize || std::hash<std::string_view>()(out.view()) != expectedHash) {
        state.SkipWithError("the literal answer differs from the command's");
        return;
    }
    const auto timed = commandTimes().find({command->id, count});
    const Seconds commandTime = timed != commandTimes().end() ? timed->second : once;
    reportAnswer(state, out.size());
    state.counters["x"] = literalTime.real / commandTime.real;
    state.counters["x_cpu"] = literalTime.cpu / commandTime.cpu;
}

// What the window learns before it decides where a list goes: how many sets
// and how many characters, without writing them.
void runMeasure(benchmark::State& state, const SearchCommand* command, long long count) {
    const DrawList draws = zestawy::splitDrawList(numbersBox(command->game, count));
    zestawy::AnswerSize size;
    for (auto _ : state) size = zestawy::measureAnswer(*command, draws);
    state.counters["sets"] = static_cast<double>(size.sets);
    state.counters["bytes"] = static_cast<double>(size.bytes);
}

// "1,2,...,80": a line that holds every six and seven numbers of 1..80.
std::string everyNumber() {
    std::string line;
    for (int n = 1; n <= 80; ++n) line += (n == 1 ? "" : ",") + std::to_string(n);
    return line;
}

void registerAll() {
    const bool runLong = std::getenv("ZESTAWY_BENCH_LONG") != nullptr;
    for (std::size_t i = 0; i < zestawy::kSearchCommandCount; ++i) {
        const SearchCommand* command = &zestawy::kSearchCommands[i];
        for (long long count : drawCounts(command->game)) {
            const std::string name = std::string("Commands/") + gameName(command->game) +
                                     "/id:" + std::to_string(command->id) +
                                     "/N:" + countName(count);
            benchmark::RegisterBenchmark(name.c_str(),
                                         [command, count](benchmark::State& state) {
                                             runCommand(state, command,
                                                        numbersBox(command->game, count), count);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();

            if (zestawy::listsEverySet(*command))
                benchmark::RegisterBenchmark((name + "/measure").c_str(),
                                             [command, count](benchmark::State& state) {
                                                 runMeasure(state, command, count);
                                             })
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();

            const LongLiteral* skip = longLiteral(*command, count);
            if (skip && !(runLong && skip->whenAsked)) continue;
            benchmark::RegisterBenchmark((name + "/literal").c_str(), runLiteral, command, count)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }

    const SearchCommand* fives = zestawy::findSearchCommand(16);
    for (bool reused : {false, true}) {
        benchmark::RegisterBenchmark(
            reused ? "Commands/MultiMulti/id:16/empty/reused" : "Commands/MultiMulti/id:16/empty",
            [fives, reused](benchmark::State& state) {
                runCommand(state, fives, std::string(), 0, reused);
            })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }

    for (int id : {41, 42}) {
        const SearchCommand* command = zestawy::findSearchCommand(id);
        const std::string name = "Commands/MultiMulti/id:" + std::to_string(id) + "/bound";
        for (bool afterDraws : {false, true}) {
            benchmark::RegisterBenchmark((afterDraws ? name + "+100" : name).c_str(),
                                         [command, afterDraws](benchmark::State& state) {
                                             const std::string box =
                                                 afterDraws ? numbersBox(Game::MultiMulti, 100) +
                                                                  "\r\n" + everyNumber()
                                                            : everyNumber();
                                             runCommand(state, command, box, 0);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
}

[[maybe_unused]] const bool registered = (registerAll(), true);

}  // namespace
