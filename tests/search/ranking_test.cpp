// The ranking of the longest waits against a plain count of every set's wait.

#include "search/ranking.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <string>
#include <vector>

#include "combinatorics/parse.hpp"
#include "search/draw_lists.hpp"

namespace zestawy {
namespace {

using draw_lists::Game;
using draw_lists::lastDraws;

// Every set of the query, its wait found by looking back from the newest line
// for one that holds k of its numbers; sorted longest wait first, ties in
// ascending order; the first `top`.
std::vector<RankedSet> plainRanking(const std::vector<std::string>& draws, const NeverDrawnQuery& q,
                                    std::size_t top) {
    std::vector<std::bitset<129>> lines;
    for (const std::string& line : draws) {
        lines.emplace_back();
        for (int v : parseLine(line))
            if (v >= 1 && v <= q.maxNumber) lines.back().set(static_cast<std::size_t>(v));
    }
    std::vector<RankedSet> all;
    std::vector<int> set(static_cast<std::size_t>(q.setSize));
    auto each = [&](auto& self, int depth, int from) -> void {
        if (depth == q.setSize) {
            long long line = static_cast<long long>(lines.size()) - 1;
            for (; line >= 0; --line) {
                int hits = 0;
                for (int v : set)
                    hits += lines[static_cast<std::size_t>(line)][static_cast<std::size_t>(v)];
                if (hits >= q.subsetSize) break;
            }
            all.push_back({set, lines.size() - 1 - static_cast<std::size_t>(line), line});
            return;
        }
        for (int v = from; v <= q.maxNumber; ++v) {
            set[static_cast<std::size_t>(depth)] = v;
            self(self, depth + 1, v + 1);
        }
    };
    each(each, 0, 1);
    std::stable_sort(all.begin(), all.end(),
                     [](const RankedSet& a, const RankedSet& b) { return a.wait > b.wait; });
    all.resize(std::min(all.size(), top));
    return all;
}

void expectSame(const std::vector<RankedSet>& got, const std::vector<RankedSet>& want,
                const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].numbers, want[i].numbers) << what << ", place " << i;
        EXPECT_EQ(got[i].wait, want[i].wait) << what << ", place " << i;
        EXPECT_EQ(got[i].lastSeen, want[i].lastSeen) << what << ", place " << i;
    }
}

TEST(Ranking, MatchesThePlainCountOverRealHistories) {
    const struct {
        Game game;
        NeverDrawnQuery query;
        std::size_t draws;
        const char* what;
    } cases[] = {
        {Game::MultiMulti, {2, 2, 80}, SIZE_MAX, "Multi Multi pairs"},
        {Game::Lotto, {3, 3, 49}, SIZE_MAX, "Lotto triples"},
        {Game::MiniLotto, {3, 4, 42}, SIZE_MAX, "Mini Lotto 3 z 4"},
        {Game::MultiMulti, {3, 4, 80}, 3000, "Multi Multi 3 z 4, last 3000"},
        // Tens of thousands of sets tie with the longest wait.
        {Game::MiniLotto, {3, 4, 42}, 10, "Mini Lotto 3 z 4, last 10"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> draws = lastDraws(c.game, c.draws);
        for (std::size_t top : {1, 10, 200})
            expectSame(longestWaits(draws, c.query, top), plainRanking(draws, c.query, top),
                       std::string(c.what) + ", top " + std::to_string(top));
    }
}

// Short and odd lists: sets never seen (wait = the whole list), fewer sets
// than asked for, an empty list, lines with repeats and out-of-range numbers.
TEST(Ranking, MatchesThePlainCountOnSmallLists) {
    const NeverDrawnQuery queries[] = {{1, 1, 12}, {2, 2, 12}, {2, 3, 12}, {3, 4, 12}, {5, 5, 9}};
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        const std::vector<std::string> draws =
            draw_lists::randomDrawList(seed, {seed % 12, 14, 5, 3, 10});
        for (const NeverDrawnQuery& q : queries)
            for (std::size_t top : {1, 7, 1000})
                expectSame(longestWaits(draws, q, top), plainRanking(draws, q, top),
                           "seed " + std::to_string(seed) + ", " + std::to_string(q.subsetSize) +
                               " z " + std::to_string(q.setSize) + ", top " + std::to_string(top));
    }
}

// The coupon's waits of single numbers and of the pairs with one number are
// the rankings of all singles and all pairs.
TEST(Ranking, WaitsOfNumbersAndPairsMatchThePlainCount) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const std::vector<std::string> draws =
            draw_lists::randomDrawList(seed, {seed % 12, 14, 5, 3, 10});
        std::vector<std::size_t> singles(13), pairs(13);
        for (const RankedSet& r : plainRanking(draws, {1, 1, 12}, 1000))
            singles[static_cast<std::size_t>(r.numbers[0])] = r.wait;
        const int with = static_cast<int>(seed % 12) + 1;
        for (const RankedSet& r : plainRanking(draws, {2, 2, 12}, 1000))
            if (r.numbers[0] == with || r.numbers[1] == with)
                pairs[static_cast<std::size_t>(r.numbers[0] + r.numbers[1] - with)] = r.wait;
        singles[0] = pairs[0] = pairs[static_cast<std::size_t>(with)] = 0;
        std::vector<std::size_t> got = waitsOfNumbers(draws, 12),
                                 gotPairs = waitsOfPairsWith(draws, 12, with);
        got[0] = gotPairs[0] = gotPairs[static_cast<std::size_t>(with)] = 0;
        EXPECT_EQ(got, singles) << "seed " << seed;
        EXPECT_EQ(gotPairs, pairs) << "seed " << seed;
    }
}

// The window's "Przerwij": progress comes every few milliseconds, rising, and
// a false answer ends the ranking with nothing.
TEST(Ranking, TellsItsProgressOftenAndStopsWhenAsked) {
    const std::vector<std::string> draws = lastDraws(Game::MultiMulti, 2000);
    std::vector<double> seen;
    longestWaits(draws, {3, 4, 80}, 10, [&](double done) {
        seen.push_back(done);
        return true;
    });
    EXPECT_GT(seen.size(), 150u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GE(seen.front(), 0.0);
    EXPECT_LE(seen.back(), 1.0);
    std::size_t calls = 0;
    EXPECT_TRUE(longestWaits(draws, {3, 4, 80}, 10, [&](double) { return ++calls < 150; }).empty());
    EXPECT_EQ(calls, 150u);
}

// Eight-sets cannot all be counted: the longest wait T must be exact, with a
// qualifying set over the last T lines and none over the last T + 1.
TEST(Ranking, TheLongestWaitOfFiveFromEightIsExact) {
    const std::vector<std::string> draws = lastDraws(Game::MultiMulti, 2000);
    const NeverDrawnQuery query{5, 8, 80};
    const std::vector<RankedSet> top = longestWaits(draws, query, 3);
    ASSERT_EQ(top.size(), 3u);
    const std::size_t longest = top[0].wait;
    ASSERT_LT(longest, draws.size());
    const std::vector<std::string> lastT(draws.end() - static_cast<std::ptrdiff_t>(longest),
                                         draws.end());
    const std::vector<std::string> lastT1(draws.end() - static_cast<std::ptrdiff_t>(longest) - 1,
                                          draws.end());
    EXPECT_EQ(firstNeverDrawn(lastT, query), top[0].numbers);
    EXPECT_TRUE(firstNeverDrawn(lastT1, query).empty());
}

}  // namespace
}  // namespace zestawy
