// Timings of the exhaustive searches of the three games over the latest N
// draws of the real histories, through the engine's visitor:
//   first - stop at the first set (what "Wyszukaj 5 z 8" and the other
//           first-set searches need);
//   page  - stop after 30 sets, about the 699 characters that
//           "Wyszukaj 5 z 7" shows;
//   all   - count every set (what the list commands print).
// The counter "sets" is the number of sets visited. A few literal walks from
// the tests run beside them for comparison, once each.
//
// "all" is left out where it runs for many seconds: the seven- and
// eight-number lists over fewer than 1,000 draws hold from 50 million to
// several thousand million sets.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "search/draw_lists.hpp"
#include "search/engine.hpp"
#include "search/reference.hpp"

namespace {

using zestawy::NeverDrawnQuery;
using zestawy::draw_lists::Game;
using Draws = std::vector<std::string>;

constexpr std::size_t kAllDraws = SIZE_MAX;

const Draws& cachedDraws(Game game, std::size_t count) {
    static std::map<std::pair<Game, std::size_t>, Draws> cache;
    auto found = cache.find({game, count});
    if (found == cache.end())
        found = cache.emplace(std::pair{game, count}, zestawy::draw_lists::lastDraws(game, count))
                    .first;
    return found->second;
}

struct Search {
    const char* name;
    Game game;
    NeverDrawnQuery query;
    bool list;  // the program lists every set; otherwise it shows the first only
};

const Search kSearches[] = {
    {"MultiMulti/2", Game::MultiMulti, {2, 2, 80}, false},
    {"MultiMulti/2z3", Game::MultiMulti, {2, 3, 80}, false},
    {"MultiMulti/3z4", Game::MultiMulti, {3, 4, 80}, true},
    {"MultiMulti/4", Game::MultiMulti, {4, 4, 80}, true},
    {"MultiMulti/3z5", Game::MultiMulti, {3, 5, 80}, true},
    {"MultiMulti/4z5", Game::MultiMulti, {4, 5, 80}, true},
    {"MultiMulti/5z5", Game::MultiMulti, {5, 5, 80}, true},
    {"MultiMulti/4z6", Game::MultiMulti, {4, 6, 80}, true},
    {"MultiMulti/5z6", Game::MultiMulti, {5, 6, 80}, true},
    {"MultiMulti/5z7", Game::MultiMulti, {5, 7, 80}, true},
    {"MultiMulti/5z8", Game::MultiMulti, {5, 8, 80}, true},
    {"MiniLotto/1", Game::MiniLotto, {1, 1, 42}, false},
    {"MiniLotto/2", Game::MiniLotto, {2, 2, 42}, true},
    {"MiniLotto/2z3", Game::MiniLotto, {2, 3, 42}, true},
    {"MiniLotto/3z4", Game::MiniLotto, {3, 4, 42}, true},
    {"MiniLotto/3z5", Game::MiniLotto, {3, 5, 42}, true},
    {"Lotto/1", Game::Lotto, {1, 1, 49}, false},
    {"Lotto/2", Game::Lotto, {2, 2, 49}, false},
    {"Lotto/2z3", Game::Lotto, {2, 3, 49}, false},
    {"Lotto/3", Game::Lotto, {3, 3, 49}, false},
    {"Lotto/3z4", Game::Lotto, {3, 4, 49}, false},
    {"Lotto/3z5", Game::Lotto, {3, 5, 49}, false},
};

void runEngine(benchmark::State& state, const Search& search, std::size_t count,
               std::size_t limit) {
    const Draws& draws = cachedDraws(search.game, count);
    std::size_t sets = 0;
    for (auto _ : state) {
        sets = 0;
        zestawy::forEachNeverDrawn(draws, search.query, [&](const int* numbers) {
            benchmark::DoNotOptimize(numbers[0]);
            return ++sets < limit;
        });
    }
    state.counters["sets"] = static_cast<double>(sets);
}

// A literal search from the tests, run once: it takes seconds.
template <class Literal>
void registerLiteral(const std::string& name, Game game, std::size_t count, Literal literal) {
    auto run = [game, count, literal](benchmark::State& state) {
        const Draws& draws = cachedDraws(game, count);
        for (auto _ : state) benchmark::DoNotOptimize(literal(draws));
    };
    benchmark::RegisterBenchmark(("Literal/" + name).c_str(), run)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
}

std::string countName(std::size_t count) {
    return count == kAllDraws ? "all" : std::to_string(count);
}

void registerAll() {
    for (const Search& search : kSearches) {
        const bool multi = search.game == Game::MultiMulti;
        const std::vector<std::size_t> counts =
            multi ? std::vector<std::size_t>{10, 100, 300, 1000, 3000}
                  : std::vector<std::size_t>{100, 1000, kAllDraws};
        struct Mode {
            const char* name;
            std::size_t limit;
        };
        std::vector<Mode> modes{{"first", 1}};
        if (search.list) modes.insert(modes.end(), {{"page", 30}, {"all", SIZE_MAX}});
        for (const Mode& mode : modes) {
            for (std::size_t count : counts) {
                const bool huge = search.query.setSize >= 7 && count < 1000;
                if (mode.limit == SIZE_MAX && huge) continue;
                const std::string name =
                    std::string(search.name) + "/" + mode.name + "/N:" + countName(count);
                benchmark::RegisterBenchmark(name.c_str(), runEngine, search, count, mode.limit)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }

    for (std::size_t count : {100, 1000}) {
        registerLiteral("MultiMulti/3z4/all/N:" + countName(count), Game::MultiMulti, count,
                        [](const Draws& d) {
                            return zestawy::reference::neverDrawn(d, {3, 4, 80});
                        });
    }
    registerLiteral("MultiMulti/5z7/page/N:10", Game::MultiMulti, 10, [](const Draws& d) {
        return zestawy::reference::neverDrawn(d, {5, 7, 80}, 30);
    });
    registerLiteral("Lotto/3z5/first/N:all", Game::Lotto, kAllDraws, [](const Draws& d) {
        return zestawy::reference::neverDrawn(d, {3, 5, 49}, 1);
    });
}

[[maybe_unused]] const bool registered = (registerAll(), true);

}  // namespace
