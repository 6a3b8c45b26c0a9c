// The walk shared among threads against the walk on one thread.

#include "search/shared_walk.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "search/draw_lists.hpp"
#include "search/ranking.hpp"

namespace zestawy {
namespace {

using Sets = std::vector<std::vector<int>>;
using draw_lists::DrawListShape;
using draw_lists::randomDrawList;

struct Case {
    NeverDrawnQuery query;
    DrawListShape shape;
};

// From lists where most sets qualify (more than the ordered walk holds back
// at once) to lists where a few or none do, and a part that ends the list.
std::vector<Case> cases() {
    return {
        {{2, 4, 30}, {8, 30, 6, 2, 30}},     {{1, 1, 30}, {6, 30, 8, 2, 30}},
        {{3, 5, 70}, {12, 70, 8, 2, 30}},    {{3, 3, 30}, {60, 30, 8, 2, 30}},
        {{4, 6, 40}, {40, 40, 10, 4, 30}},   {{5, 7, 80}, {300, 80, 20, 4, 30}},
        {{5, 8, 80}, {900, 80, 20, 4, 30}},  {{5, 5, 80}, {0, 80, 20, 4, 30}},
        {{2, 2, 128}, {30, 128, 30, 4, 30}},
    };
}

TEST(SharedWalk, EveryThreadCountVisitsTheSetsOfOneThreadInOrder) {
    std::uint32_t seed = 1;
    for (const Case& c : cases()) {
        const NeverDrawnQuery& q = c.query;
        const auto draws = randomDrawList(seed++, c.shape);
        const CompletionIndex index(draws, q.subsetSize, q.maxNumber);
        Sets one;
        forEachNeverDrawn(draws, q, [&](const int* set) {
            one.emplace_back(set, set + q.setSize);
            return one.size() < 1'000'000;  // the 5-of-80 list is 24 million sets
        });
        for (int threads : {1, 2, 3, 8}) {
            SCOPED_TRACE(std::to_string(q.setSize) + " from " + std::to_string(q.maxNumber) + ", " +
                         std::to_string(threads) + " threads");
            Sharing sharing;
            sharing.threads = threads;
            Sets shared;
            forEachNeverDrawn(index, q, sharing, [&](const int* set) {
                shared.emplace_back(set, set + q.setSize);
                return shared.size() < one.size();
            });
            EXPECT_EQ(shared, one);
            // A visitor that stops early gets the same first sets.
            for (std::size_t limit : {std::size_t{1}, std::size_t{7}}) {
                Sets first;
                const bool whole = forEachNeverDrawn(index, q, sharing, [&](const int* set) {
                    first.emplace_back(set, set + q.setSize);
                    return first.size() < limit;
                });
                EXPECT_EQ(whole, one.size() < limit);
                EXPECT_EQ(first, Sets(one.begin(), one.begin() + std::min(limit, one.size())));
            }
            if (one.size() < 1'000'000) {
                EXPECT_EQ(countNeverDrawn(index, q, sharing), one.size());
                EXPECT_EQ(countNeverDrawn(index, q, sharing, 5),
                          std::min<std::size_t>(5, one.size()));
            }
            // An index that records half the lines and checks the others: by
            // line while few groups reach the end, and from where many do by
            // the index of every line, which the walks then move to.
            if (q.subsetSize < 2) continue;
            const CompletionIndex checking = CompletionIndex::checking(
                draws, q.subsetSize, q.maxNumber, draws.size() / 2, threads);
            Sets checked;
            forEachNeverDrawn(checking, q, sharing, [&](const int* set) {
                checked.emplace_back(set, set + q.setSize);
                return checked.size() < one.size();
            });
            EXPECT_EQ(checked, one);
            if (one.size() < 1'000'000) {
                EXPECT_EQ(countNeverDrawn(checking, q, sharing), one.size());
            }
        }
    }
}

// An index that checks lines, its copies and add(): each answers for exactly
// the lines it was given, before and after the index of every line is made,
// and an index that checks no lines has none to make.
TEST(SharedWalk, AddedLinesAndCopiesKeepTheirOwnAnswers) {
    const NeverDrawnQuery q{2, 4, 40};
    const auto first = randomDrawList(11, {20, 40, 5, 2, 0});
    const auto more = randomDrawList(12, {10, 40, 5, 2, 0});
    auto both = first;
    both.insert(both.end(), more.begin(), more.end());
    auto walk = [&](const CompletionIndex& index) {
        Sets sets;
        Sharing sharing;
        forEachNeverDrawn(index, q, sharing, [&](const int* set) {
            sets.emplace_back(set, set + q.setSize);
            return true;
        });
        return sets;
    };
    const Sets ofFirst = allNeverDrawn(first, q), ofBoth = allNeverDrawn(both, q);
    ASSERT_NE(ofFirst, ofBoth);

    CompletionIndex checking = CompletionIndex::checking(first, 2, 40, 10);
    // The walks' line checks use up the budget: the index of every line is made.
    const CompletionIndex* whole = nullptr;
    for (int i = 0; i < 1000 && !whole; ++i) whole = checking.wholeIndex();
    ASSERT_NE(whole, nullptr);
    CompletionIndex copy = checking;
    copy.add(more.data(), more.size());
    EXPECT_EQ(walk(copy), ofBoth);
    EXPECT_EQ(walk(checking), ofFirst);
    checking.add(more.data(), more.size());
    EXPECT_EQ(walk(checking), ofBoth);

    const CompletionIndex plain(first, 2, 40);
    EXPECT_TRUE(plain.checkedLines().empty());
    EXPECT_EQ(plain.wholeIndex(), nullptr);
}

TEST(SharedWalk, AStopFromAnotherThreadEndsTheWalk) {
    // 5-of-80 over no lines: 24 million sets, seconds to visit.
    const NeverDrawnQuery q{5, 5, 80};
    const CompletionIndex index(std::vector<std::string>{}, q.subsetSize, q.maxNumber);
    for (int threads : {1, 2, 4}) {
        WalkStop stop;
        Sharing sharing;
        sharing.threads = threads;
        sharing.stop = &stop;
        std::atomic<std::uint64_t> visited{0};
        std::thread stopper([&] {
            while (visited.load() < 1000) std::this_thread::yield();
            stop.stop();
        });
        const bool whole = forEachNeverDrawn(index, q, sharing, [&](const int*) {
            visited.fetch_add(1);
            return true;
        });
        stopper.join();
        EXPECT_FALSE(whole);
        EXPECT_LT(visited.load(), 24'040'016u);
        EXPECT_EQ(countNeverDrawn(index, q, sharing, UINT64_MAX), 0u);
        // A visit that throws ends the walk too, and its exception comes
        // out once every thread has ended.
        sharing.stop = nullptr;
        visited = 0;
        EXPECT_THROW(forEachNeverDrawn(index, q, sharing,
                                       [&](const int*) {
                                           if (visited.fetch_add(1) == 100'000)
                                               throw std::runtime_error("visit");
                                           return true;
                                       }),
                     std::runtime_error);
    }
}

TEST(SharedWalk, RankingIsTheSameOnAnyThreadCountAndStopsWhenAsked) {
    const auto draws = randomDrawList(7, {400, 80, 20, 4, 30});
    for (const NeverDrawnQuery q : {NeverDrawnQuery{3, 3, 80}, NeverDrawnQuery{4, 5, 80}}) {
        const auto one = longestWaits(draws, q, 25);
        for (int threads : {2, 3}) {
            const auto shared = longestWaits(draws, q, 25, nullptr, threads);
            ASSERT_EQ(shared.size(), one.size());
            for (std::size_t i = 0; i < one.size(); ++i) {
                EXPECT_EQ(shared[i].numbers, one[i].numbers);
                EXPECT_EQ(shared[i].wait, one[i].wait);
                EXPECT_EQ(shared[i].lastSeen, one[i].lastSeen);
            }
            int calls = 0;
            const auto stopped = longestWaits(
                draws, q, 25,
                [&, caller = std::this_thread::get_id()](double) {
                    EXPECT_EQ(std::this_thread::get_id(), caller);
                    return ++calls < 2;
                },
                threads);
            EXPECT_TRUE(stopped.empty());
            EXPECT_EQ(calls, 2);
        }
    }
}

// The never-seen count of the ranking screen: exact within its budget, a
// lower bound past it, and nothing once asked to stop; its progress rises.
TEST(SharedWalk, CountWithinABudgetIsExactABoundOrStopped) {
    const NeverDrawnQuery q{4, 6, 40};
    const auto draws = randomDrawList(5, {40, 40, 10, 4, 30});
    const std::uint64_t exact = countNeverDrawn(CompletionIndex(draws, 4, 40), q, Sharing{});
    ASSERT_GT(exact, 0u);
    const struct {
        std::chrono::milliseconds budget;
        bool keepGoing, atLeast;
    } cases[] = {{std::chrono::hours(1), true, false},
                 {std::chrono::milliseconds(0), true, true},
                 {std::chrono::hours(1), false, false}};
    for (const auto& c : cases) {
        double last = -1;
        bool rising = true;
        const BoundedCount count = countNeverDrawnWithin(
            draws, q, 2, c.budget, [&] { return c.keepGoing; },
            [&](double done) {
                rising = rising && done >= last && done <= 1;
                last = done;
            });
        EXPECT_EQ(count.stopped, !c.keepGoing);
        EXPECT_EQ(count.atLeast, c.atLeast);
        EXPECT_TRUE(!c.keepGoing || (c.atLeast ? count.sets <= exact : count.sets == exact));
        EXPECT_TRUE(rising);
    }
}

}  // namespace
}  // namespace zestawy
