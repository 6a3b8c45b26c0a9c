// The odds line against an exact enumeration of every draw of a small game,
// and against a seeded simulation of the longest wait in one.
#include "search/odds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "search/never_seen_estimate.hpp"

namespace zestawy {
namespace {

TEST(Odds, ChanceOfASetPerDrawIsTheShareOfDrawsThatHoldIt) {
    // Every draw of 4 of 1..10, and the set {1, ..., b}.
    for (const NeverDrawnQuery q :
         {NeverDrawnQuery{2, 2, 10}, {2, 3, 10}, {3, 4, 10}, {1, 1, 10}}) {
        int holding = 0, all = 0;
        for (int draw = 0; draw < 1 << 10; ++draw) {
            if (__builtin_popcount(draw) != 4) continue;
            ++all;
            holding += __builtin_popcount(draw & ((1 << q.setSize) - 1)) >= q.subsetSize;
        }
        EXPECT_DOUBLE_EQ(waitOdds(4, q, 100).perDraw, 1.0 * holding / all);
    }
    // Multi Multi pairs: about once in 16.6 draws; the longest of 3,160 waits
    // over 17,000 draws about 139 +- 21.
    const WaitOdds pairs = waitOdds(20, {2, 2, 80}, 17000);
    EXPECT_NEAR(pairs.perDraw, 20.0 * 19 / (80 * 79), 1e-12);
    EXPECT_EQ(pairs.sets, 3160);
    EXPECT_TRUE(pairs.low > 105 && pairs.low < 118 && pairs.median > 130 && pairs.median < 140 &&
                pairs.high > 170 && pairs.high < 185)
        << pairs.low << " " << pairs.median << " " << pairs.high;
}

// A small game of 4 of 1..12 drawn 300 times, 10,000 times over: the 5%, 50%
// and 95% points of the longest wait of the 66 pairs. So many runs pin the 5%
// point to the draw (a wait counted one draw off, as (1 - p)^m for
// (1 - p)^(m + 1), lands one above it).
TEST(Odds, LongestWaitMatchesASimulation) {
    std::mt19937 gen(7);
    std::vector<std::size_t> longest;
    for (int run = 0; run < 10000; ++run) {
        std::vector<std::size_t> lastSeen(66, 0);  // draws since, per pair
        std::vector<int> numbers(12);
        for (int i = 0; i < 12; ++i) numbers[static_cast<std::size_t>(i)] = i;
        for (std::size_t draw = 1; draw <= 300; ++draw) {
            std::shuffle(numbers.begin(), numbers.end(), gen);
            std::vector<bool> in(12);
            for (int i = 0; i < 4; ++i)
                in[static_cast<std::size_t>(numbers[static_cast<std::size_t>(i)])] = true;
            for (int a = 0, pair = 0; a < 12; ++a)
                for (int b = a + 1; b < 12; ++b, ++pair)
                    if (in[static_cast<std::size_t>(a)] && in[static_cast<std::size_t>(b)])
                        lastSeen[static_cast<std::size_t>(pair)] = draw;
        }
        std::size_t wait = 0;
        for (std::size_t seen : lastSeen) wait = std::max(wait, 300 - seen);
        longest.push_back(wait);
    }
    std::sort(longest.begin(), longest.end());
    const WaitOdds odds = waitOdds(4, {2, 2, 12}, 300);
    EXPECT_EQ(odds.low, longest[500]);
    EXPECT_NEAR(odds.median, longest[5000], 1);
    EXPECT_NEAR(odds.high, longest[9500], 1);
}

// Where the longest wait reaches the history's length, the line compares the
// sets that never appeared with chance: 4 of 1..12 drawn 20 times, 10,000
// times over, and the 66 pairs that none of the 20 draws held.
TEST(Odds, NeverSeenSetsMatchASimulation) {
    std::mt19937 gen(11);
    std::vector<std::uint64_t> never;
    double sum = 0;
    for (int run = 0; run < 10000; ++run) {
        std::vector<bool> seen(144);
        std::vector<int> numbers(12);
        for (int i = 0; i < 12; ++i) numbers[static_cast<std::size_t>(i)] = i;
        for (int draw = 0; draw < 20; ++draw) {
            std::shuffle(numbers.begin(), numbers.end(), gen);
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j)
                    seen[static_cast<std::size_t>(numbers[static_cast<std::size_t>(i)] * 12 +
                                                  numbers[static_cast<std::size_t>(j)])] = true;
        }
        std::uint64_t count = 0;
        for (int a = 0; a < 12; ++a)
            for (int b = a + 1; b < 12; ++b) count += !seen[static_cast<std::size_t>(a * 12 + b)];
        never.push_back(count);
        sum += static_cast<double>(count);
    }
    std::sort(never.begin(), never.end());
    const WaitOdds odds = waitOdds(4, {2, 2, 12}, 20);
    EXPECT_TRUE(capped(odds, 20));
    EXPECT_FALSE(capped(waitOdds(4, {2, 2, 12}, 300), 300));
    const NeverSeenOdds chance = neverSeenOdds(odds, 20);
    EXPECT_NEAR(chance.expected, sum / 10000, 0.05 * chance.expected);
    EXPECT_NEAR(static_cast<double>(chance.low), static_cast<double>(never[500]), 1);
    EXPECT_NEAR(static_cast<double>(chance.high), static_cast<double>(never[9500]), 1);
    // Lotto triples over 3,000 draws: about 708 never appear.
    const NeverSeenOdds lotto = neverSeenOdds(waitOdds(6, {3, 3, 49}, 3000), 3000);
    EXPECT_NEAR(lotto.expected, 708, 5);
    EXPECT_TRUE(lotto.low < 682 && lotto.high > 730) << lotto.low << " " << lotto.high;
}

// The never-seen count's 90% range holds about 90% of independent histories
// for every kind of set, their overlaps counted: 300 seeded histories of 5 of
// 1..20 per kind, each counted set by set.
TEST(Odds, NeverSeenRangesHoldNineTenthsOfHistories) {
    const struct {
        NeverDrawnQuery query;
        std::size_t draws;
    } kinds[] = {{{2, 2, 20}, 40}, {{3, 3, 20}, 200}, {{2, 3, 20}, 15}, {{3, 4, 20}, 60}};
    std::mt19937 gen(2026);
    for (const auto& kind : kinds) {
        const NeverDrawnQuery& q = kind.query;
        const NeverSeenOdds chance = neverSeenOdds(waitOdds(5, q, kind.draws), kind.draws);
        std::vector<std::uint32_t> sets;
        for (std::uint32_t set = 0; set < 1u << 20; ++set)
            if (__builtin_popcount(set) == q.setSize) sets.push_back(set);
        int inside = 0;
        for (int history = 0; history < 300; ++history) {
            std::vector<std::uint32_t> draws;
            std::vector<int> numbers(20);
            for (int i = 0; i < 20; ++i) numbers[static_cast<std::size_t>(i)] = i;
            for (std::size_t d = 0; d < kind.draws; ++d) {
                std::shuffle(numbers.begin(), numbers.end(), gen);
                std::uint32_t draw = 0;
                for (int i = 0; i < 5; ++i) draw |= 1u << numbers[static_cast<std::size_t>(i)];
                draws.push_back(draw);
            }
            std::uint64_t never = 0;
            for (const std::uint32_t set : sets)
                never += std::none_of(draws.begin(), draws.end(), [&](std::uint32_t draw) {
                    return __builtin_popcount(set & draw) >= q.subsetSize;
                });
            inside += never >= chance.low && never <= chance.high;
        }
        EXPECT_TRUE(inside >= 255 && inside <= 285)
            << q.subsetSize << " z " << q.setSize << ": " << inside << " of 300 within "
            << chance.low << "-" << chance.high;
    }
    // Mini Lotto "3 z 5" over 300 draws: about 75 300 never appear, within
    // a range some 8 700 wide.
    const NeverSeenOdds mini = neverSeenOdds(waitOdds(5, {3, 5, 42}, 300), 300);
    EXPECT_TRUE(mini.low > 70000 && mini.low < 71500 && mini.high > 79000 && mini.high < 80500)
        << mini.low << "-" << mini.high;
}

// Where the never-seen sets are too many to count, their estimate from a
// seeded sample holds the exact count in its 95% interval in at least 90 of
// 100 seeds, and one seed gives one estimate on any number of threads.
TEST(Odds, TheNeverSeenEstimateHoldsTheExactCount) {
    std::mt19937 gen(5);
    std::vector<std::string> lines;
    std::vector<std::uint32_t> draws;
    std::vector<int> numbers(20);
    for (int i = 0; i < 20; ++i) numbers[static_cast<std::size_t>(i)] = i + 1;
    for (int d = 0; d < 60; ++d) {
        std::shuffle(numbers.begin(), numbers.end(), gen);
        std::string line;
        std::uint32_t draw = 0;
        for (int i = 0; i < 5; ++i) {
            const int v = numbers[static_cast<std::size_t>(i)];
            line += (i ? "," : "") + std::to_string(v);
            draw |= 1u << v;
        }
        lines.push_back(line);
        draws.push_back(draw);
    }
    const NeverDrawnQuery q{3, 4, 20};
    std::uint64_t exact = 0;
    for (std::uint32_t set = 0; set < 1u << 21; set += 2)
        if (__builtin_popcount(set) == 4)
            exact += std::none_of(draws.begin(), draws.end(), [&](std::uint32_t draw) {
                return __builtin_popcount(set & draw) >= 3;
            });
    int inside = 0;
    for (std::uint64_t seed = 1; seed <= 100; ++seed) {
        const NeverSeenEstimate e = estimateNeverSeen(lines, q, 20000, seed, 2);
        inside += e.low <= static_cast<double>(exact) && static_cast<double>(exact) <= e.high;
    }
    EXPECT_GE(inside, 90) << exact;
    const NeverSeenEstimate one = estimateNeverSeen(lines, q, 50000, 7, 1);
    const NeverSeenEstimate three = estimateNeverSeen(lines, q, 50000, 7, 3);
    EXPECT_EQ(one.neverSeen, three.neverSeen);
    EXPECT_EQ(one.sampled, 50000u);
    EXPECT_TRUE(estimateNeverSeen(lines, q, 50000, 7, 2, [] { return false; }).stopped);
}

}  // namespace
}  // namespace zestawy
