// The generator: what it returns always guarantees, small shapes reach their
// best known sizes, a seed repeats, and it stops when told.
#include "wheel/generate.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "wheel/verify.hpp"

namespace zestawy {
namespace {

WheelSearch searchOf(const WheelShape& shape, std::uint64_t steps, std::uint64_t seed = 1,
                     WheelRuns runs = WheelRuns::Tabu) {
    WheelSearch search;
    search.runs = runs;
    search.shape = shape;
    search.seconds = 0;  // no time limit: the steps alone end it
    search.threads = 1;
    search.seed = seed;
    search.steps = steps;
    return search;
}

TEST(WheelGenerate, ReachesTheBestKnownSizesOfSmallShapes) {
    // Best known sizes (the La Jolla Covering Repository; Li and van Rees for
    // the lotto designs, m > t).
    const struct {
        WheelShape shape;
        std::size_t best;
    } cases[] = {
        {{10, 6, 3, 3}, 10}, {{11, 6, 3, 3}, 11}, {{12, 6, 3, 3}, 15}, {{13, 6, 3, 3}, 21},
        {{10, 5, 3, 3}, 17}, {{14, 6, 3, 3}, 25}, {{11, 5, 3, 3}, 20}, {{12, 6, 2, 2}, 6},
        {{16, 6, 2, 2}, 10}, {{10, 6, 4, 3}, 4},  {{12, 6, 5, 3}, 2},  {{9, 6, 5, 4}, 3},
        {{11, 6, 6, 4}, 5},  {{7, 3, 2, 2}, 7},   {{8, 4, 3, 3}, 14},  {{9, 3, 2, 2}, 12},
    };
    for (const auto& c : cases) {
        const WheelShape& s = c.shape;
        const WheelFound found = findWheel(searchOf(s, 50000));
        SCOPED_TRACE(std::to_string(s.v) + " " + std::to_string(s.k) + " " + std::to_string(s.m) +
                     " " + std::to_string(s.t));
        EXPECT_EQ(found.tickets.size(), c.best);
        EXPECT_TRUE(verifyWheel(found.tickets, s, 1).guarantees);
        for (WheelMask ticket : found.tickets) EXPECT_EQ(__builtin_popcountll(ticket), s.k);
    }
}

TEST(WheelGenerate, EveryShapeGivesAVerifiedSystemAndEachBetterOneIsSmaller) {
    const WheelShape shapes[] = {{1, 1, 1, 1},  {6, 6, 3, 2},  {8, 1, 1, 1},  {9, 2, 3, 1},
                                 {14, 7, 5, 2}, {20, 4, 4, 3}, {16, 8, 5, 3}, {40, 10, 3, 2},
                                 {18, 5, 5, 5}, {30, 6, 2, 2}};
    for (const WheelShape& s : shapes) {
        std::vector<std::size_t> sizes;
        const WheelFound found =
            findWheel(searchOf(s, 1000), {}, [&](const std::vector<WheelMask>& better) {
                EXPECT_TRUE(verifyWheel(better, s, 1).guarantees);
                sizes.push_back(better.size());
            });
        EXPECT_TRUE(verifyWheel(found.tickets, s, 1).guarantees) << s.v << " " << s.k;
        ASSERT_FALSE(sizes.empty());
        EXPECT_EQ(sizes.back(), found.tickets.size());
        for (std::size_t i = 1; i < sizes.size(); ++i) EXPECT_LT(sizes[i], sizes[i - 1]);
        EXPECT_GE(found.tickets.size(), wheelLowerBound(s));
    }
}

TEST(WheelGenerate, ASeedRepeatsItsSystemAndAKnownOneIsOnlyImproved) {
    const WheelShape shape{16, 6, 3, 3};
    const WheelFound first = findWheel(searchOf(shape, 20000, 7));
    EXPECT_EQ(findWheel(searchOf(shape, 20000, 7)).tickets, first.tickets);
    WheelSearch again = searchOf(shape, 20000, 8);
    again.known = first.tickets;
    const WheelFound improved = findWheel(again);
    EXPECT_LE(improved.tickets.size(), first.tickets.size());
    EXPECT_EQ(improved.fromKnown, improved.tickets == first.tickets);
    EXPECT_TRUE(verifyWheel(improved.tickets, shape, 1).guarantees);
}

TEST(WheelGenerate, EachKindOfRunAloneReachesTheBestKnownSizes) {
    // Annealing: shapes of many subsets a ticket, where the tabu run stays a
    // ticket or two above. Tabu: a seed whose run went round in circles at 51
    // tickets of C(17, 6, 3) until kicked.
    const struct {
        WheelShape shape;
        WheelRuns runs;
        std::uint64_t seed, steps;
        std::size_t best;
    } cases[] = {
        {{10, 6, 4, 4}, WheelRuns::Annealing, 2, 600'000, 20},
        {{13, 5, 3, 3}, WheelRuns::Annealing, 5, 600'000, 34},
        {{11, 5, 3, 3}, WheelRuns::Annealing, 2, 300'000, 20},
        {{17, 6, 3, 3}, WheelRuns::Tabu, 1, 40'000, 45},
    };
    for (const auto& c : cases) {
        const WheelShape& s = c.shape;
        SCOPED_TRACE(std::to_string(s.v) + " " + std::to_string(s.k) + " " + std::to_string(s.t));
        const WheelSearch search = searchOf(s, c.steps, c.seed, c.runs);
        const WheelFound found = findWheel(search);
        EXPECT_LE(found.tickets.size(), c.best);
        EXPECT_TRUE(verifyWheel(found.tickets, s, 1).guarantees);
        EXPECT_EQ(findWheel(search).tickets, found.tickets);
    }
}

TEST(WheelGenerate, EveryKindOfRunOnlyImprovesAKnownSystemAndStopsWhenTold) {
    // A greedy system of C(19, 6, 3) to start from: far above the best known.
    const WheelShape shape{19, 6, 3, 3};
    const std::vector<WheelMask> known = findWheel(searchOf(shape, 1)).tickets;
    ASSERT_GT(known.size(), 60u);
    for (const WheelRuns runs : {WheelRuns::Tabu, WheelRuns::Mixed, WheelRuns::Annealing}) {
        SCOPED_TRACE(static_cast<int>(runs));
        WheelSearch search = searchOf(shape, 20'000, 3, runs);
        search.threads = 2;
        search.known = known;
        std::size_t last = known.size();
        const WheelFound found = findWheel(search, {}, [&](const std::vector<WheelMask>& better) {
            EXPECT_LT(better.size(), last);
            last = better.size();
        });
        EXPECT_LT(found.tickets.size(), known.size());
        EXPECT_FALSE(found.fromKnown);
        EXPECT_TRUE(verifyWheel(found.tickets, shape, 1).guarantees);
        search.steps = 0;
        int asked = 0;
        EXPECT_TRUE(findWheel(search, [&](const WheelProgress&) { return ++asked < 2; }).stopped);
    }
}

TEST(WheelGenerate, StopsWhenKeepGoingSaysNo) {
    WheelSearch search = searchOf({20, 6, 3, 3}, 0);
    search.threads = 2;
    int asked = 0;
    const WheelFound found = findWheel(search, [&](const WheelProgress& progress) {
        EXPECT_GE(progress.trying, 1u);
        return ++asked < 3;
    });
    EXPECT_TRUE(found.stopped);
    if (!found.tickets.empty()) {
        EXPECT_TRUE(verifyWheel(found.tickets, search.shape, 1).guarantees);
    }
}

}  // namespace
}  // namespace zestawy
