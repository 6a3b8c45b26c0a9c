// The odds line against an exact enumeration of every draw of a small game,
// and against a seeded simulation of the longest wait in one.
#include "search/odds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
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
        // And the set beside {shared + 1, ...} that shares `shared` of its numbers:
        // how often a draw shows both, and neither.
        for (int shared = 0; shared <= q.setSize; ++shared) {
            const int other =
                ((1 << shared) - 1) | (((1 << (q.setSize - shared)) - 1) << q.setSize);
            int both = 0, neither = 0;
            for (int draw = 0; draw < 1 << 10; ++draw) {
                if (__builtin_popcount(draw) != 4) continue;
                const bool first =
                    __builtin_popcount(draw & ((1 << q.setSize) - 1)) >= q.subsetSize;
                const bool second = __builtin_popcount(draw & other) >= q.subsetSize;
                both += first && second;
                neither += !first && !second;
            }
            EXPECT_NEAR(bothAppearChance(4, q, shared), 1.0 * both / all, 1e-12) << shared;
            EXPECT_NEAR(missBothChance(4, q, shared), 1.0 * neither / all, 1e-12) << shared;
        }
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
// sets that never appeared with chance: draws of 4 of 1..12, 10,000 histories
// of each kind: the 66 pairs over 20 draws (a count steadier than Poisson's),
// and the 220 "2 z 3" triples over 10 (one more spread, whose points are the
// negative binomial's).
TEST(Odds, NeverSeenSetsMatchASimulation) {
    const struct {
        NeverDrawnQuery q;
        std::size_t draws;
    } kinds[] = {{{2, 2, 12}, 20}, {{2, 3, 12}, 10}};
    std::mt19937 gen(11);
    for (const auto& kind : kinds) {
        std::vector<std::uint64_t> never;
        double sum = 0;
        std::vector<int> numbers(12);
        for (int run = 0; run < 10000; ++run) {
            std::vector<std::uint32_t> draws;
            for (std::size_t d = 0; d < kind.draws; ++d) {
                std::iota(numbers.begin(), numbers.end(), 0);
                std::shuffle(numbers.begin(), numbers.end(), gen);
                std::uint32_t draw = 0;
                for (int i = 0; i < 4; ++i) draw |= 1u << numbers[static_cast<std::size_t>(i)];
                draws.push_back(draw);
            }
            std::uint64_t count = 0;
            for (std::uint32_t set = 0; set < 1u << 12; ++set)
                if (__builtin_popcount(set) == kind.q.setSize)
                    count += std::none_of(draws.begin(), draws.end(), [&](std::uint32_t draw) {
                        return __builtin_popcount(set & draw) >= kind.q.subsetSize;
                    });
            never.push_back(count);
            sum += static_cast<double>(count);
        }
        std::sort(never.begin(), never.end());
        const WaitOdds odds = waitOdds(4, kind.q, kind.draws);
        EXPECT_TRUE(capped(odds, kind.draws));
        const NeverSeenOdds chance = neverSeenOdds(odds, kind.draws);
        EXPECT_NEAR(chance.expected, sum / 10000, 0.05 * chance.expected) << kind.q.setSize;
        EXPECT_NEAR(static_cast<double>(chance.low), static_cast<double>(never[500]), 1)
            << kind.q.setSize;
        EXPECT_NEAR(static_cast<double>(chance.high), static_cast<double>(never[9500]), 1)
            << kind.q.setSize;
    }
    EXPECT_FALSE(capped(waitOdds(4, {2, 2, 12}, 300), 300));
    // Lotto triples over 3,000 draws: about 708 never appear.
    const NeverSeenOdds lotto = neverSeenOdds(waitOdds(6, {3, 3, 49}, 3000), 3000);
    EXPECT_NEAR(lotto.expected, 708, 5);
    EXPECT_TRUE(lotto.low < 682 && lotto.high > 730) << lotto.low << " " << lotto.high;
}

// Chance's 90% range (of the longest wait, or where that reaches the history's
// length, of the sets never seen) holds 85-95% of 200 seeded independent
// histories: pairs and triples of every game at its real size over 300 and
// 2,000 draws, where a draw's sets are marked one by one, and "a z b" kinds
// of 5 of 1..20, set by set.
TEST(Odds, ChanceRangesHoldNineTenthsOfHistories) {
    const struct {
        int top, drawn;
        NeverDrawnQuery query;
        std::size_t draws;
    } kinds[] = {
        {49, 6, {2, 2, 49}, 300},   {49, 6, {2, 2, 49}, 2000},  {49, 6, {3, 3, 49}, 300},
        {49, 6, {3, 3, 49}, 2000},  {42, 5, {2, 2, 42}, 300},   {42, 5, {3, 3, 42}, 2000},
        {80, 20, {2, 2, 80}, 300},  {80, 20, {2, 2, 80}, 2000}, {80, 20, {3, 3, 80}, 300},
        {80, 20, {3, 3, 80}, 2000}, {20, 5, {2, 3, 20}, 15},    {20, 5, {3, 4, 20}, 60},
    };
    std::mt19937 gen(2026);
    for (const auto& kind : kinds) {
        const NeverDrawnQuery& q = kind.query;
        const WaitOdds odds = waitOdds(kind.drawn, q, kind.draws);
        const NeverSeenOdds never = neverSeenOdds(odds, kind.draws);
        // A set as a bit mask (a z b kinds) or as its numbers' index (pairs, triples).
        const bool marked = q.subsetSize == q.setSize;
        std::vector<std::uint32_t> masks;
        if (!marked)
            for (std::uint32_t set = 0; set < 1u << kind.top; ++set)
                if (__builtin_popcount(set) == q.setSize) masks.push_back(set);
        const std::size_t top = static_cast<std::size_t>(kind.top);
        std::vector<int> numbers(top);
        int inside = 0;
        for (int history = 0; history < 200; ++history) {
            // last[set]: the newest draw that showed it, -1 when none did.
            std::vector<long> last(
                marked ? (q.setSize == 2 ? top * top : top * top * top) : masks.size(), -1);
            for (std::size_t d = 0; d < kind.draws; ++d) {
                std::iota(numbers.begin(), numbers.end(), 0);
                std::shuffle(numbers.begin(), numbers.end(), gen);
                std::sort(numbers.begin(), numbers.begin() + kind.drawn);
                const auto t = static_cast<long>(d);
                std::uint32_t draw = 0;
                for (int i = 0; i < kind.drawn; ++i) {
                    const auto a = static_cast<std::size_t>(numbers[static_cast<std::size_t>(i)]);
                    draw |= 1u << (a & 31);
                    for (int j = i + 1; marked && j < kind.drawn; ++j) {
                        const auto b =
                            static_cast<std::size_t>(numbers[static_cast<std::size_t>(j)]);
                        if (q.setSize == 2) last[a * top + b] = t;
                        for (int k = j + 1; q.setSize == 3 && k < kind.drawn; ++k)
                            last[(a * top + b) * top +
                                 static_cast<std::size_t>(numbers[static_cast<std::size_t>(k)])] =
                                t;
                    }
                }
                for (std::size_t s = 0; s < masks.size(); ++s)
                    if (__builtin_popcount(masks[s] & draw) >= q.subsetSize) last[s] = t;
            }
            // Only the sets of ascending numbers are sets: the other slots stay
            // at -1 and are left out by counting them apart.
            std::size_t longest = 0;
            std::uint64_t neverSeen = 0, slots = 0;
            for (std::size_t i = 0; i < last.size(); ++i) {
                const bool set = !marked || (q.setSize == 2 ? i / top < i % top
                                                            : i / (top * top) < i / top % top &&
                                                                  i / top % top < i % top);
                if (!set) continue;
                ++slots;
                neverSeen += last[i] < 0;
                // A set last seen in draw t waits L - 1 - t; never seen, L.
                longest = std::max(
                    longest, static_cast<std::size_t>(static_cast<long>(kind.draws) - 1 - last[i]));
            }
            EXPECT_EQ(static_cast<double>(slots), odds.sets);
            inside += capped(odds, kind.draws) ? neverSeen >= never.low && neverSeen <= never.high
                                               : longest >= odds.low && longest <= odds.high;
        }
        EXPECT_TRUE(inside >= 170 && inside <= 190)
            << q.subsetSize << " z " << q.setSize << " of " << kind.top << " over " << kind.draws
            << ": " << inside << " of 200 within "
            << (capped(odds, kind.draws) ? never.low : odds.low) << "-"
            << (capped(odds, kind.draws) ? never.high : odds.high);
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
