// The fast search engine against a literal walk over every candidate set.

#include "search/engine.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "combinatorics/parse.hpp"
#include "commands/search_command.hpp"
#include "search/draw_lists.hpp"
#include "search/reference.hpp"

namespace zestawy {
namespace {

using Sets = std::vector<std::vector<int>>;
using draw_lists::DrawListShape;
using draw_lists::Game;
using draw_lists::lastDraws;
using draw_lists::randomDrawList;

// The literal search: records every k numbers of every line, then tries every
// n-set of 1..maxNumber in lexicographic order. Stops after `limit` sets.
Sets literalWalk(const std::vector<std::string>& draws, const NeverDrawnQuery& q,
                 std::size_t limit = SIZE_MAX) {
    const int n = q.setSize, k = q.subsetSize;
    std::set<std::vector<int>> recorded;
    for (const std::string& line : draws) {
        const std::set<int> parsed = parseLine(line);
        const std::vector<int> numbers(parsed.begin(), parsed.end());
        std::vector<int> subset;
        auto record = [&](auto& self, std::size_t from) -> void {
            if (static_cast<int>(subset.size()) == k) {
                recorded.insert(subset);
                return;
            }
            for (std::size_t i = from; i < numbers.size(); ++i) {
                subset.push_back(numbers[i]);
                self(self, i + 1);
                subset.pop_back();
            }
        };
        record(record, 0);
    }

    Sets found;
    std::vector<int> candidate;
    auto anyRecorded = [&](auto& self, std::size_t from, std::vector<int>& subset) -> bool {
        if (static_cast<int>(subset.size()) == k) return recorded.count(subset) != 0;
        for (std::size_t i = from; i < candidate.size(); ++i) {
            subset.push_back(candidate[i]);
            const bool hit = self(self, i + 1, subset);
            subset.pop_back();
            if (hit) return true;
        }
        return false;
    };
    auto walk = [&](auto& self, int from) -> void {
        if (static_cast<int>(candidate.size()) == n) {
            std::vector<int> subset;
            if (!anyRecorded(anyRecorded, 0, subset)) found.push_back(candidate);
            return;
        }
        for (int v = from; v <= q.maxNumber && found.size() < limit; ++v) {
            candidate.push_back(v);
            self(self, v + 1);
            candidate.pop_back();
        }
    };
    walk(walk, 1);
    return found;
}

// The engine's sets, stopped after `limit`.
Sets engineWalk(const std::vector<std::string>& draws, const NeverDrawnQuery& q,
                std::size_t limit = SIZE_MAX) {
    Sets found;
    if (limit == 0) return found;
    forEachNeverDrawn(draws, q, [&](const int* numbers) {
        found.emplace_back(numbers, numbers + q.setSize);
        return found.size() < limit;
    });
    return found;
}

std::string describe(const NeverDrawnQuery& q) {
    return std::to_string(q.subsetSize) + " of " + std::to_string(q.setSize) + " over 1.." +
           std::to_string(q.maxNumber);
}

TEST(NumberMask, EdgesOfTheTwoWords) {
    EXPECT_TRUE(NumberMask::upTo(0).empty());
    EXPECT_EQ(NumberMask::upTo(64).count(), 64);
    EXPECT_EQ(NumberMask::upTo(65).count(), 65);
    EXPECT_EQ(NumberMask::upTo(128).count(), 128);
    EXPECT_EQ(NumberMask::above(63).lowest(), 64);
    EXPECT_EQ(NumberMask::above(64).lowest(), 65);
    EXPECT_TRUE(NumberMask::above(128).empty());

    NumberMask m;
    m.set(64);
    m.set(65);
    m.set(128);
    EXPECT_TRUE(m.test(64) && m.test(65) && m.test(128) && !m.test(63));
    EXPECT_EQ(m.lowest(), 64);
    m.removeLowest();
    EXPECT_EQ(m.lowest(), 65);
    m.removeLowest();
    EXPECT_EQ(m.lowest(), 128);
}

// Every (n, k) the engine accepts, on small ranges where the literal walk is
// quick, with draw lists of every kind of line (repeats, numbers out of range,
// junk, short and empty lines).
TEST(NeverDrawnEngine, MatchesLiteralWalkOnSmallRanges) {
    std::uint32_t seed = 1;
    for (int n = 1; n <= kMaxSetSize; ++n) {
        for (int k = 1; k <= n && k <= kMaxSubsetSize; ++k) {
            for (int top : {n, 12, 16}) {
                for (std::size_t lines : {0, 1, 3, 8}) {
                    DrawListShape shape;
                    shape.lines = lines;
                    shape.top = top;
                    shape.drawSize = top / 3 + 1;
                    shape.longExtra = 3;
                    const auto draws = randomDrawList(seed++, shape);
                    const NeverDrawnQuery q{k, n, top};
                    ASSERT_EQ(engineWalk(draws, q), literalWalk(draws, q))
                        << describe(q) << ", seed " << seed - 1;
                }
            }
        }
    }
}

// Ranges around the boundary of the two mask words.
TEST(NeverDrawnEngine, MatchesLiteralWalkAcrossTheWordBoundary) {
    std::uint32_t seed = 1000;
    for (int top : {63, 64, 65, 100, 128}) {
        for (const auto& [n, k] : {std::pair{1, 1}, {2, 2}, {3, 2}, {3, 3}}) {
            if (n == 3 && top > 70) continue;  // the literal walk would take long
            DrawListShape shape;
            shape.lines = 25;
            shape.top = top;
            shape.drawSize = top / 2;
            const auto draws = randomDrawList(seed++, shape);
            const NeverDrawnQuery q{k, n, top};
            ASSERT_EQ(engineWalk(draws, q), literalWalk(draws, q)) << describe(q);
        }
    }
}

// A visitor that stops gets exactly the first sets, and the walk reports it.
TEST(NeverDrawnEngine, StopsWhenTheVisitorSaysSo) {
    const auto draws = randomDrawList(7, {4, 30, 8, 2, 30});
    const NeverDrawnQuery q{2, 4, 30};
    const Sets all = engineWalk(draws, q);
    ASSERT_GT(all.size(), 10u);
    for (std::size_t limit : {std::size_t{1}, std::size_t{2}, all.size() - 1}) {
        std::size_t seen = 0;
        const bool finished =
            forEachNeverDrawn(draws, q, [&](const int*) { return ++seen < limit; });
        EXPECT_FALSE(finished);
        EXPECT_EQ(seen, limit);
    }
    EXPECT_TRUE(forEachNeverDrawn(draws, q, [](const int*) { return true; }));
    EXPECT_EQ(firstNeverDrawn(draws, q), all.front());
    EXPECT_EQ(allNeverDrawn(draws, q), all);
}

TEST(NeverDrawnEngine, WalksSplitByFirstNumberMakeUpTheWholeWalk) {
    for (const NeverDrawnQuery q : {NeverDrawnQuery{2, 4, 30}, NeverDrawnQuery{1, 1, 30},
                                    NeverDrawnQuery{3, 5, 70}, NeverDrawnQuery{3, 3, 30}}) {
        const auto draws = randomDrawList(11, {6, q.maxNumber, 8, 2, 30});
        const CompletionIndex index(draws, q.subsetSize, q.maxNumber);
        NumberMask odd, even;
        for (int v = 1; v <= q.maxNumber; ++v) (v % 2 ? odd : even).set(v);
        Sets parts;
        for (int first = 1; first <= q.maxNumber; ++first) {
            NumberMask only;
            only.set(first);
            forEachNeverDrawn(index, q, only, [&](const int* set) {
                parts.emplace_back(set, set + q.setSize);
                return true;
            });
        }
        EXPECT_EQ(parts, engineWalk(draws, q));
        std::size_t oddSets = 0, evenSets = 0;
        forEachNeverDrawn(index, q, odd,
                          [&](const int* set) { return ++oddSets, set[0] % 2 == 1; });
        forEachNeverDrawn(index, q, even,
                          [&](const int* set) { return ++evenSets, set[0] % 2 == 0; });
        EXPECT_EQ(oddSets + evenSets, parts.size());
    }
}

// ---- The program's searches against the literal ones of the tests ----

// Seeded random lists of a game's shape, from empty to more lines than it takes
// to draw every pair, and the latest draws of the real history.
std::vector<std::vector<std::string>> drawListsOf(Game game, std::vector<std::size_t> lineCounts,
                                                  std::vector<std::size_t> realCounts) {
    DrawListShape shape;
    shape.top = game == Game::MultiMulti ? 80 : game == Game::MiniLotto ? 42 : 49;
    shape.drawSize = game == Game::MultiMulti ? 20 : game == Game::MiniLotto ? 5 : 6;
    shape.longExtra = game == Game::MultiMulti ? 4 : 2;
    std::vector<std::vector<std::string>> lists;
    std::uint32_t seed = static_cast<std::uint32_t>(game) * 1000 + 1;
    for (std::size_t lines : lineCounts) {
        shape.lines = lines;
        lists.push_back(randomDrawList(seed++, shape));
    }
    for (std::size_t count : realCounts) lists.push_back(lastDraws(game, count));
    return lists;
}

std::string describe(const std::vector<std::string>& draws) {
    return std::to_string(draws.size()) + " lines" +
           (draws.empty() ? "" : ", the first \"" + draws.front() + "\"");
}

// What a button's row in the command table searches: the buttons answer the
// sets of its query, so the rows are checked against the literal searches.
const NeverDrawnQuery& queryOf(int id) {
    return findSearchCommand(id)->sets;
}
Sets listOf(int id, const std::vector<std::string>& draws) {
    return allNeverDrawn(draws, queryOf(id));
}
std::vector<int> firstOf(int id, const std::vector<std::string>& draws) {
    return firstNeverDrawn(draws, queryOf(id));
}

// A literal search's one set: its key, or its number (none: all zero).
template <class T>
std::vector<int> setOf(const T& key) {
    return key.allZero() ? std::vector<int>{} : std::vector<int>(key.n, key.n + T::size);
}
std::vector<int> setOf(int number) {
    return number ? std::vector<int>{number} : std::vector<int>{};
}

constexpr std::size_t kAll = SIZE_MAX;

TEST(MultiMultiSearches, FirstSetSearchesMatchTheLiteralOnes) {
    auto lists =
        drawListsOf(Game::MultiMulti, {0, 1, 2, 5, 10, 40, 160, 320}, {1, 10, 100, 300, 3000});
    lists.push_back({draw_lists::rangeLine(1, 20)});
    lists.push_back({"7,7,9", "9 ,7\r"});  // repeats and a pair written backwards
    for (const auto& draws : lists) {
        EXPECT_EQ(firstOf(1, draws), reference::findNeverAppearedPair(draws)) << describe(draws);
        EXPECT_EQ(firstOf(2, draws), setOf(reference::findNeverAppearedTripleFromPairs(draws)))
            << describe(draws);
    }
}

// The two four-number lists whole: every set to (77, 78, 79, 80).
TEST(MultiMultiSearches, FourNumberListsMatchTheLiteralOnes) {
    auto lists = drawListsOf(Game::MultiMulti, {3, 40}, {60, 300});
    lists.push_back({draw_lists::rangeLine(1, 20)});
    for (const auto& draws : lists) {
        EXPECT_EQ(listOf(4, draws), reference::findAllNeverAppearedQuads3from4InFlight(draws))
            << describe(draws);
    }
    for (std::size_t count : {10, 100}) {
        const auto draws = lastDraws(Game::MultiMulti, count);
        EXPECT_EQ(listOf(5, draws), reference::findAllNeverAppearedQuad4from4InFlight(draws))
            << describe(draws);
    }
}

// Lists of five to eight numbers hold up to thousands of millions of sets
// over few draws: their first sets, walked with the queries that callers use
// to stream them, against the literal walk stopped as early.
TEST(MultiMultiSearches, LongListsStartLikeTheLiteralOnes) {
    using Literal = Sets (*)(const std::vector<std::string>&, std::size_t);
    const struct {
        int id;
        Literal literal;
    } searches[] = {
        {6, reference::findAllNeverAppearedQuintuple3from5AnyOrder},
        {7, reference::findAllNeverAppearedQuint4from5InFlight},
        {16, reference::findAllNeverAppearedQuintuple5from80},
        {8, reference::findAllNeverAppearedSextuple4from6InFlight},
        {9, reference::findAllNeverAppearedSextuple5from6InFlight},
        {10, reference::findAllNeverAppearedSevens5from7},
        {11, reference::findAllNeverAppearedOcts5from8InFlight},
    };
    auto lists = drawListsOf(Game::MultiMulti, {20}, {10, 40});
    lists.push_back({draw_lists::rangeLine(1, 20)});
    const std::size_t limit = 500;
    for (const auto& search : searches) {
        for (const auto& draws : lists) {
            ASSERT_EQ(engineWalk(draws, queryOf(search.id), limit), search.literal(draws, limit))
                << describe(queryOf(search.id)) << ", " << describe(draws);
        }
    }
}

// Over many draws the long lists are short, but the literal walk takes from a
// minute to days to confirm them: every set listed must be ascending, in
// order, and have fewer than k numbers in every line, and there must be as
// many as the reference's plain count finds. That count runs here for the
// quick cases; the others took it up to half a minute each and are written down.
TEST(MultiMultiSearches, LongListsOverManyDrawsHoldOnlyQualifyingSets) {
    const struct {
        int id;
        int n, k;
        std::size_t draws;
        std::size_t expectedSets;  // 0: counted here by the reference
    } cases[] = {
        {6, 5, 3, 100, 0},   {7, 5, 4, 1000, 47},  {16, 5, 5, kAll, 451}, {8, 6, 4, 300, 0},
        {9, 6, 5, 5000, 39}, {10, 7, 5, 2000, 26}, {11, 8, 5, 1000, 17},
    };
    for (const auto& c : cases) {
        const auto draws = lastDraws(Game::MultiMulti, c.draws);
        std::vector<std::bitset<81>> lines;
        for (const std::string& line : draws) {
            lines.emplace_back();
            for (int v : parseLine(line)) lines.back().set(static_cast<std::size_t>(v));
        }
        const Sets sets = listOf(c.id, draws);
        const std::size_t expected =
            c.expectedSets ? c.expectedSets
                           : reference::countMultiSetsWithFewerThanKPerLine(draws, c.n, c.k);
        EXPECT_EQ(sets.size(), expected) << c.k << " of " << c.n;
        for (std::size_t i = 0; i < sets.size(); ++i) {
            const std::vector<int>& set = sets[i];
            ASSERT_EQ(set.size(), static_cast<std::size_t>(c.n));
            ASSERT_TRUE(std::is_sorted(set.begin(), set.end()) &&
                        std::adjacent_find(set.begin(), set.end()) == set.end() &&
                        set.front() >= 1 && set.back() <= 80);
            if (i > 0) {
                ASSERT_LT(sets[i - 1], set);
            }
            for (const std::bitset<81>& line : lines) {
                int hits = 0;
                for (int v : set) hits += line[static_cast<std::size_t>(v)];
                ASSERT_LT(hits, c.k) << c.k << " of " << c.n << ", set " << i;
            }
        }
    }
}

// Over every Multi Multi draw an index for the seven- and eight-sets records
// only the first lines and checks the others when a walk ends: it answers as
// the index of every line does, and no walk has to record the others after all.
TEST(MultiMultiSearches, OverEveryDrawMostLinesAreOnlyChecked) {
    const auto draws = lastDraws(Game::MultiMulti, kAll);
    const CompletionIndex whole(draws, 5, 80);
    for (int n : {7, 8}) {
        const NeverDrawnQuery q{5, n, 80};
        const CompletionIndex checking(draws, 5, 80, 2, n);
        EXPECT_GT(checking.checkedLines().size(), draws.size() / 2);
        auto setsOf = [&](const CompletionIndex& index) {
            Sets sets;
            forEachNeverDrawn(index, q, NumberMask::upTo(kMaxNumber), [&](const int* set) {
                sets.emplace_back(set, set + n);
                return true;
            });
            return sets;
        };
        EXPECT_EQ(setsOf(checking), setsOf(whole)) << n;
        EXPECT_EQ(&checking.latest(), &checking) << n;
    }
}

TEST(MiniLottoSearches, MatchTheLiteralOnes) {
    auto lists =
        drawListsOf(Game::MiniLotto, {0, 1, 3, 10, 30, 100, 300}, {1, 10, 100, 1000, kAll});
    lists.push_back({draw_lists::rangeLine(1, 5)});
    lists.push_back({draw_lists::rangeLine(1, 42)});
    for (const auto& draws : lists) {
        EXPECT_EQ(firstOf(20, draws), setOf(reference::findNeverAppearedSingle_1_42(draws)))
            << describe(draws);
        EXPECT_EQ(listOf(21, draws), reference::findAllNeverAppearedPairs_1_42(draws))
            << describe(draws);
        EXPECT_EQ(listOf(22, draws),
                  reference::findAllNeverAppearedTriple2from3AnyOrder42_pairg(draws))
            << describe(draws);
        EXPECT_EQ(listOf(23, draws),
                  reference::findAllNeverAppearedQuad3from4AnyOrder42_tripleg(draws))
            << describe(draws);
    }
    // The five-number list walks 850,668 candidates literally: fewer lists.
    for (std::size_t i : {0, 3, 5, 8, 9}) {
        EXPECT_EQ(listOf(24, lists[i]),
                  reference::findAllNeverAppearedQuintuple3from5AnyOrder42_tripleg(lists[i]))
            << describe(lists[i]);
    }
}

TEST(LottoSearches, MatchTheLiteralOnes) {
    auto lists = drawListsOf(Game::Lotto, {0, 1, 3, 10, 30, 100, 300}, {1, 10, 100, 1000, kAll});
    lists.push_back({draw_lists::rangeLine(1, 6)});
    lists.push_back({draw_lists::rangeLine(1, 49)});
    for (const auto& draws : lists) {
        EXPECT_EQ(firstOf(30, draws), setOf(reference::findNeverAppearedSingle_1_49(draws)))
            << describe(draws);
        EXPECT_EQ(firstOf(31, draws), setOf(reference::findNeverAppearedPair_1_49(draws)))
            << describe(draws);
        EXPECT_EQ(firstOf(32, draws),
                  setOf(reference::findNeverAppearedTripleFromPairs_1_49(draws)))
            << describe(draws);
        EXPECT_EQ(firstOf(33, draws), setOf(reference::findNeverAppearedTriple_1_49(draws)))
            << describe(draws);
        EXPECT_EQ(firstOf(34, draws),
                  setOf(reference::findNeverAppearedQuadrupleFromTriples_1_49(draws)))
            << describe(draws);
        EXPECT_EQ(firstOf(35, draws),
                  setOf(reference::findNeverAppearedQuintupleFromTriples_1_49(draws)))
            << describe(draws);
    }
}

}  // namespace
}  // namespace zestawy
