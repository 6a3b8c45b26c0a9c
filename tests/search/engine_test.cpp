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
                    ASSERT_EQ(engineWalk(draws, q), reference::neverDrawn(draws, q))
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
            ASSERT_EQ(engineWalk(draws, q), reference::neverDrawn(draws, q)) << describe(q);
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

// ---- The program's searches against the literal walk ----

// The latest draws of a game's real history, then seeded random lists of its
// shape (from empty to more lines than it takes to draw every pair), then a
// few lines written by hand: one draw of the lowest numbers, all the numbers
// (but Multi Multi's), repeats and a pair written backwards.
std::vector<std::vector<std::string>> drawListsOf(Game game, std::vector<std::size_t> realCounts,
                                                  std::vector<std::size_t> lineCounts) {
    const int top = game == Game::MultiMulti ? 80 : game == Game::MiniLotto ? 42 : 49;
    DrawListShape shape;
    shape.top = top;
    shape.drawSize = game == Game::MultiMulti ? 20 : game == Game::MiniLotto ? 5 : 6;
    shape.longExtra = game == Game::MultiMulti ? 4 : 2;
    std::vector<std::vector<std::string>> lists;
    for (std::size_t count : realCounts) lists.push_back(lastDraws(game, count));
    std::uint32_t seed = static_cast<std::uint32_t>(game) * 1000 + 1;
    for (std::size_t lines : lineCounts) {
        shape.lines = lines;
        lists.push_back(randomDrawList(seed++, shape));
    }
    lists.push_back({draw_lists::rangeLine(1, shape.drawSize)});
    // (Every five of 1..80 would be tens of millions of recorded sets.)
    if (game != Game::MultiMulti) lists.push_back({draw_lists::rangeLine(1, top)});
    lists.push_back({"7,7,9", "9 ,7\r"});
    return lists;
}

std::string describe(const std::vector<std::string>& draws) {
    return std::to_string(draws.size()) + " lines" +
           (draws.empty() ? "" : ", the first \"" + draws.front() + "\"");
}

constexpr std::size_t kAll = SIZE_MAX;

// A button with an exhaustive search, the sets it should walk, how many of
// them to compare (1: the button shows its first set alone; the long lists
// hold millions of sets over few draws, so their first ones), and the lists.
struct ButtonRow {
    int id;
    NeverDrawnQuery query;
    std::size_t limit;
    std::vector<std::size_t> realCounts, lineCounts;
};

const std::vector<std::size_t> kManyReal = {1, 10, 100, 1000, kAll},
                               kManyRandom = {0, 1, 3, 10, 30, 100, 300};
const ButtonRow kButtonRows[] = {
    {kMulti2, {2, 2, 80}, 1, {1, 10, 100, 300, 3000}, {0, 1, 2, 5, 10, 40, 160, 320}},
    {kMulti2z3, {2, 3, 80}, 1, {1, 10, 100, 300, 3000}, {0, 1, 2, 5, 10, 40, 160, 320}},
    {kMulti3z4, {3, 4, 80}, kAll, {60, 300}, {3, 40}},
    {kMulti4, {4, 4, 80}, kAll, {10, 100}, {}},
    {kMulti3z5, {3, 5, 80}, 500, {10, 40}, {20}},
    {kMulti4z5, {4, 5, 80}, 500, {10, 40}, {20}},
    {kMulti5z5, {5, 5, 80}, 500, {10, 40}, {20}},
    {kMulti4z6, {4, 6, 80}, 500, {10, 40}, {20}},
    {kMulti5z6, {5, 6, 80}, 500, {10, 40}, {20}},
    {kMulti5z7, {5, 7, 80}, 500, {10, 40}, {20}},
    {kMulti5z8, {5, 8, 80}, 500, {10, 40}, {20}},
    {kMini1, {1, 1, 42}, 1, kManyReal, kManyRandom},
    {kMini2, {2, 2, 42}, kAll, kManyReal, kManyRandom},
    {kMini2z3, {2, 3, 42}, kAll, kManyReal, kManyRandom},
    {kMini3z4, {3, 4, 42}, kAll, kManyReal, kManyRandom},
    {kMini3z5, {3, 5, 42}, kAll, {10, 100}, {0, 10, 100}},
    {kLotto1, {1, 1, 49}, 1, kManyReal, kManyRandom},
    {kLotto2, {2, 2, 49}, 1, kManyReal, kManyRandom},
    {kLotto2z3, {2, 3, 49}, 1, kManyReal, kManyRandom},
    {kLotto3, {3, 3, 49}, 1, kManyReal, kManyRandom},
    {kLotto3z4, {3, 4, 49}, 1, kManyReal, kManyRandom},
    {kLotto3z5, {3, 5, 49}, 1, kManyReal, kManyRandom},
};

// Its name in a test's name.
void PrintTo(const ButtonRow& row, std::ostream* out) {
    *out << "button " << row.id;
}

class ButtonSearch : public ::testing::TestWithParam<ButtonRow> {};

TEST_P(ButtonSearch, MatchesTheLiteralWalk) {
    const ButtonRow& row = GetParam();
    const SearchCommand& command = *findSearchCommand(row.id);
    ASSERT_EQ(command.sets.subsetSize, row.query.subsetSize);
    ASSERT_EQ(command.sets.setSize, row.query.setSize);
    ASSERT_EQ(command.sets.maxNumber, row.query.maxNumber);
    for (const auto& draws : drawListsOf(command.game, row.realCounts, row.lineCounts)) {
        const Sets literal = reference::neverDrawn(draws, row.query, row.limit);
        if (row.limit == 1)
            EXPECT_EQ(firstNeverDrawn(draws, command.sets),
                      literal.empty() ? std::vector<int>{} : literal.front())
                << describe(draws);
        else if (row.limit == kAll)
            EXPECT_EQ(allNeverDrawn(draws, command.sets), literal) << describe(draws);
        else
            EXPECT_EQ(engineWalk(draws, command.sets, row.limit), literal) << describe(draws);
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonSearch, ::testing::ValuesIn(kButtonRows),
                         [](const ::testing::TestParamInfo<ButtonRow>& info) {
                             return "id" + std::to_string(info.param.id);
                         });

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
        const Sets sets = allNeverDrawn(draws, findSearchCommand(c.id)->sets);
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

}  // namespace
}  // namespace zestawy
