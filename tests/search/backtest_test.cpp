// The backtest against a plain count of every set's wait before every draw,
// and its intervals against histories of independent draws.
#include "search/backtest.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "combinatorics/parse.hpp"
#include "commands/search_command.hpp"
#include "search/draw_lists.hpp"

namespace zestawy {
namespace {

using draw_lists::Game;

// Every set of the query (so at most kMostFollowedSets of them), judged before
// every draw t >= 1: its wait found by looking back from draw t - 1, its group
// by wait / gap, its appearance in draw t; the top sets by sorting them all.
Backtest plainBacktest(const std::vector<std::string>& draws, const NeverDrawnQuery& q, int drawn) {
    std::vector<std::bitset<129>> lines;
    for (const std::string& line : draws) {
        lines.emplace_back();
        for (int v : parseLine(line))
            if (v >= 1 && v <= q.maxNumber) lines.back().set(static_cast<std::size_t>(v));
    }
    std::vector<std::vector<int>> sets;
    std::vector<int> set;
    auto each = [&](auto& self, int from) -> void {
        if (static_cast<int>(set.size()) == q.setSize) return sets.push_back(set);
        for (int v = from; v <= q.maxNumber; ++v) {
            set.push_back(v);
            self(self, v + 1);
            set.pop_back();
        }
    };
    each(each, 1);
    auto appears = [&](const std::vector<int>& numbers, long long t) {
        int hits = 0;
        for (int v : numbers)
            hits += lines[static_cast<std::size_t>(t)][static_cast<std::size_t>(v)];
        return hits >= q.subsetSize;
    };

    Backtest plain;
    plain.followed = sets.size();
    const double gap = 1 / appearChance(drawn, q);
    std::vector<std::size_t> order(sets.size()), wait(sets.size());
    for (long long t = 1; t < static_cast<long long>(lines.size()); ++t) {
        for (std::size_t s = 0; s < sets.size(); ++s) {
            long long last = t - 1;
            while (last >= 0 && !appears(sets[s], last)) --last;
            wait[s] = static_cast<std::size_t>(t - last - 1);
            int g = 0;
            while (!(static_cast<double>(wait[s]) / gap < kWaitGroups[g].to)) ++g;
            ++plain.groups[g].chances;
            plain.groups[g].appearances += appears(sets[s], t);
        }
        std::iota(order.begin(), order.end(), 0);
        const std::size_t top = std::min<std::size_t>(kTopSets, sets.size());
        std::partial_sort(order.begin(), order.begin() + static_cast<long>(top), order.end(),
                          [&](std::size_t a, std::size_t b) {
                              return wait[a] != wait[b] ? wait[a] > wait[b] : a < b;
                          });
        for (std::size_t i = 0; i < top; ++i) {
            ++plain.topChances;
            plain.topAppearances += appears(sets[order[i]], t);
        }
    }
    return plain;
}

void expectSameCounts(const Backtest& got, const Backtest& want, const std::string& what) {
    EXPECT_EQ(got.followed, want.followed) << what;
    std::uint64_t chances = 0;
    for (int g = 0; g < kWaitGroupCount; ++g) {
        EXPECT_EQ(got.groups[g].chances, want.groups[g].chances)
            << what << ", " << kWaitGroups[g].label;
        EXPECT_EQ(got.groups[g].appearances, want.groups[g].appearances)
            << what << ", " << kWaitGroups[g].label;
        chances += got.groups[g].chances;
    }
    EXPECT_EQ(chances, got.followed * got.judged) << what;
    EXPECT_EQ(got.topChances, want.topChances) << what;
    EXPECT_EQ(got.topAppearances, want.topAppearances) << what;
}

TEST(Backtest, MatchesThePlainCount) {
    const auto small = draw_lists::randomDrawList(5, {1500, 12, 4, 2, 20});
    const auto multi = draw_lists::lastDraws(Game::MultiMulti, 500);
    const struct {
        const std::vector<std::string>& draws;
        NeverDrawnQuery query;
        int drawn;
        const char* what;
    } cases[] = {
        {small, {2, 2, 12}, 4, "4 of 12, pairs"},
        {small, {3, 3, 12}, 4, "4 of 12, triples"},
        {small, {2, 3, 12}, 4, "4 of 12, 2 z 3"},
        {multi, {2, 2, 80}, 20, "Multi Multi pairs"},
        {multi, rankingQuery(*findSearchCommand(kMulti2z3)), 20, "Multi Multi 2 z 3"},
    };
    for (const auto& c : cases) {
        const Backtest one = backtest(c.draws, c.query, c.drawn);
        ASSERT_EQ(one.judged, c.draws.size() - 1) << c.what;
        EXPECT_FALSE(one.sampled || one.stopped) << c.what;
        expectSameCounts(one, plainBacktest(c.draws, c.query, c.drawn), c.what);
        const Backtest two = backtest(c.draws, c.query, c.drawn, nullptr, 2);
        expectSameCounts(two, one, std::string(c.what) + ", 2 threads");
        EXPECT_EQ(two.topExpected.low, one.topExpected.low) << c.what;
        EXPECT_EQ(two.topExpected.high, one.topExpected.high) << c.what;
    }
    // Too short to judge a draw.
    for (const long lines : {0, 1}) {
        const Backtest none = backtest({small.begin(), small.begin() + lines}, {2, 2, 12}, 4);
        EXPECT_EQ(none.judged + none.topChances + none.groups[0].chances, 0u) << lines;
    }
    // Stopped after its first chunk: the counts of the draws it got to.
    int calls = 0;
    const Backtest stopped = backtest(small, {2, 2, 12}, 4, [&](double) { return calls++ == 0; });
    EXPECT_TRUE(stopped.stopped);
    ASSERT_TRUE(stopped.judged >= 1 && stopped.judged < small.size() - 1) << stopped.judged;
    const std::vector<std::string> walked(small.begin(),
                                          small.begin() + static_cast<long>(stopped.judged + 1));
    expectSameCounts(stopped, plainBacktest(walked, {2, 2, 12}, 4), "stopped");
    // The groups' names for a reader, from their bounds.
    EXPECT_EQ(waitGroupName(0), "poniżej 1×");
    EXPECT_EQ(waitGroupName(3), "3–5×");
    EXPECT_EQ(waitGroupName(kWaitGroupCount - 1), "ponad 5×");
}

// Independent draws of each game: whatever a pair waited, it comes up with p,
// and the top pairs as often as chance gives. Over 200 seeded histories per
// game the judged groups' 95% intervals hold p in 93-97% of cases, the top
// pairs' range holds their count in at least nine of ten.
TEST(Backtest, IntervalsHoldChanceOverIndependentDraws) {
    const struct { int top, drawn; } games[] = {{49, 6}, {42, 5}, {80, 20}};
    for (const auto& game : games) {
        int groupsHeld = 0, groupsJudged = 0, topHeld = 0;
        for (std::uint32_t seed = 1; seed <= 200; ++seed) {
            const Backtest b =
                backtest(draw_lists::randomDrawList(seed, {600, game.top, game.drawn, 0, 0}),
                         {2, 2, game.top}, game.drawn);
            for (int g = 0; g < kWaitGroupCount; ++g) {
                if (!judgedGroup(b, g)) continue;
                ++groupsJudged;
                groupsHeld += b.groups[g].low <= b.perDraw && b.perDraw <= b.groups[g].high;
            }
            topHeld +=
                b.topExpected.low <= b.topAppearances && b.topAppearances <= b.topExpected.high;
        }
        EXPECT_GE(groupsJudged, 800) << game.top;
        EXPECT_TRUE(groupsHeld >= 0.93 * groupsJudged && groupsHeld <= 0.97 * groupsJudged)
            << game.top << ": " << groupsHeld << " of " << groupsJudged;
        EXPECT_GE(topHeld, 180) << game.top;
    }

    // Multi Multi "3 z 4": 1,581,580 sets, of which the same sample each time,
    // on any number of threads.
    const auto draws = draw_lists::randomDrawList(3, {100, 80, 20, 4, 0});
    const Backtest first = backtest(draws, {3, 4, 80}, 20);
    const Backtest again = backtest(draws, {3, 4, 80}, 20, nullptr, 3);
    EXPECT_EQ(first.sets, 1581580u);
    EXPECT_EQ(first.followed, kMostFollowedSets);
    EXPECT_TRUE(first.sampled);
    expectSameCounts(again, first, "the sample again");
}

}  // namespace
}  // namespace zestawy
