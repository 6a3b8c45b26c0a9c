// Checks of the slow reference searches against figures worked out by hand,
// so that they can in turn be trusted to check the real searches.
#include "search/reference.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "combinatorics/parse.hpp"
#include "combinatorics/random.hpp"
#include "search/draw_lists.hpp"
#include "search/engine.hpp"

namespace zestawy {
namespace {

namespace ref = reference;
using draw_lists::rangeLine;
using ref::Draws;
using ref::SetList;

// Restores the generator state when a test ends.
class GeneratorGuard {
  public:
    GeneratorGuard() : saved_(randomState()) {}
    ~GeneratorGuard() { setRandomState(saved_); }

  private:
    std::uint32_t saved_;
};

// The state reached from `state` after `calls` calls of rand().
std::uint32_t stateAfter(std::uint32_t state, int calls) {
    GeneratorGuard guard;
    setRandomState(state);
    for (int i = 0; i < calls; ++i) zestawy::rand();
    return randomState();
}

// How many numbers of the candidate the line holds.
int common(const std::vector<int>& candidate, const std::set<int>& lineNumbers) {
    int count = 0;
    for (int c : candidate) count += static_cast<int>(lineNumbers.count(c));
    return count;
}
int common(const std::vector<int>& candidate, const std::string& line) {
    return common(candidate, parseLine(line));
}

// Whether some line holds k or more numbers of the candidate.
bool someLineHolds(const std::vector<std::set<int>>& lines, const std::vector<int>& candidate,
                   int k) {
    for (const std::set<int>& line : lines)
        if (common(candidate, line) >= k) return true;
    return false;
}

std::vector<std::set<int>> parseAll(const std::vector<std::string>& draws) {
    std::vector<std::set<int>> lines;
    for (const std::string& line : draws) lines.push_back(parseLine(line));
    return lines;
}

int shared(const std::vector<int>& a, const std::vector<int>& b) {
    int count = 0;
    for (int x : a) count += static_cast<int>(std::count(b.begin(), b.end(), x));
    return count;
}

bool within(const std::vector<int>& set, int from, int to) {
    return std::all_of(set.begin(), set.end(), [&](int x) { return from <= x && x <= to; });
}

bool isDrawOf(const std::vector<int>& set, std::size_t size) {
    return set.size() == size && within(set, 1, 80) &&
           std::adjacent_find(set.begin(), set.end(), [](int a, int b) { return a >= b; }) ==
               set.end();
}

// ---- The literal walk ----

// Figures worked out by hand: the walk's count of sets, and its first and
// last ones, over lines that test how a line is read (descending, repeated
// and out-of-range numbers, a carriage return, too few numbers to record a
// subset) and where the walk stops.
TEST(ReferenceWalk, MatchesFiguresWorkedOutByHand) {
    const std::string upTo20 = rangeLine(1, 20);
    std::string down;
    for (int n = 20; n >= 1; --n) down += std::to_string(n) + (n > 1 ? "," : "\r");
    // Every pair of 1..80 lies within one of these six lines of forty.
    const Draws everyPair = {
        rangeLine(1, 40),
        rangeLine(41, 80),
        rangeLine(1, 20) + "," + rangeLine(41, 60),
        rangeLine(1, 20) + "," + rangeLine(61, 80),
        rangeLine(21, 40) + "," + rangeLine(41, 60),
        rangeLine(21, 40) + "," + rangeLine(61, 80),
    };
    const std::size_t all = SIZE_MAX;
    const struct {
        NeverDrawnQuery q;
        Draws draws;
        std::size_t limit, count;
        std::vector<int> front, back;  // back: empty where it is the front
    } rows[] = {
        {{2, 2, 80}, {}, 1, 1, {1, 2}, {}},
        {{2, 2, 80}, {upTo20}, 1, 1, {1, 21}, {}},
        {{2, 2, 80}, {down}, 1, 1, {1, 21}, {}},
        {{2, 2, 80}, {"1,1", "2,2"}, 1, 1, {1, 2}, {}},
        {{2, 2, 80}, {"2, 1,1 ,3"}, 1, 1, {1, 4}, {}},
        {{2, 2, 80}, everyPair, 1, 0, {}, {}},
        {{2, 3, 80}, {upTo20}, 1, 1, {1, 21, 22}, {}},
        {{2, 3, 80}, everyPair, 1, 0, {}, {}},
        {{3, 4, 80}, {upTo20}, all, 1508335, {1, 2, 21, 22}, {77, 78, 79, 80}},
        {{4, 4, 80}, {upTo20}, all, 1576735, {1, 2, 3, 21}, {77, 78, 79, 80}},
        {{4, 4, 80}, {"\r", "1,2,3", ""}, 2, 2, {1, 2, 3, 4}, {1, 2, 3, 5}},
        {{3, 5, 80}, {upTo20}, 1, 1, {1, 2, 21, 22, 23}, {}},
        {{4, 5, 80}, {upTo20}, 1, 1, {1, 2, 3, 21, 22}, {}},
        {{5, 5, 80}, {upTo20}, 2, 2, {1, 2, 3, 4, 21}, {1, 2, 3, 4, 22}},
        {{4, 6, 80}, {upTo20}, 1, 1, {1, 2, 3, 21, 22, 23}, {}},
        {{5, 6, 80}, {upTo20}, 1, 1, {1, 2, 3, 4, 21, 22}, {}},
        {{5, 7, 80}, {upTo20}, 1, 1, {1, 2, 3, 4, 21, 22, 23}, {}},
        {{5, 8, 80}, {upTo20}, 1, 1, {1, 2, 3, 4, 21, 22, 23, 24}, {}},
        {{5, 8, 80}, {upTo20}, 0, 0, {}, {}},
        // k - 1 numbers record nothing; k numbers record exactly their own set.
        {{3, 4, 80}, {"5,6"}, 2, 2, {1, 2, 3, 4}, {1, 2, 3, 5}},
        {{3, 4, 80}, {"1,2,3"}, 1, 1, {1, 2, 4, 5}, {}},
        {{4, 4, 80}, {"4,3,2,1"}, 1, 1, {1, 2, 3, 5}, {}},
        {{5, 7, 80}, {"1,2,3,4"}, 1, 1, {1, 2, 3, 4, 5, 6, 7}, {}},
        {{5, 7, 80}, {"1,2,3,4,5"}, 1, 1, {1, 2, 3, 4, 6, 7, 8}, {}},
        // Numbers out of range are recorded with the rest and match no set.
        {{5, 6, 80}, {"0,-1,1,2,81"}, 1, 1, {1, 2, 3, 4, 5, 6}, {}},
        {{1, 1, 42}, {"0,-2,43,1"}, 1, 1, {2}, {}},
        {{1, 1, 42}, {rangeLine(1, 21), rangeLine(22, 42)}, 1, 0, {}, {}},
        {{2, 2, 42}, {}, all, 861, {1, 2}, {41, 42}},
        {{2, 2, 42}, {"1,2,3,4,5"}, all, 851, {1, 6}, {41, 42}},
        {{2, 2, 42}, {"9, 7,7\r"}, all, 860, {1, 2}, {41, 42}},
        {{2, 3, 42}, {"1,2,3,4,5"}, all, 11100, {1, 6, 7}, {40, 41, 42}},
        {{2, 3, 42}, {"1,2"}, all, 11480 - 40, {1, 3, 4}, {40, 41, 42}},
        {{3, 4, 42}, {"1,2"}, all, 111930, {1, 2, 3, 4}, {39, 40, 41, 42}},
        {{3, 4, 42}, {"1,2,3,4,5"}, all, 111555, {1, 2, 6, 7}, {39, 40, 41, 42}},
        {{3, 5, 42}, {}, all, 850668, {1, 2, 3, 4, 5}, {38, 39, 40, 41, 42}},
        {{3, 5, 42}, {"1,2,3,4,5"}, all, 843822, {1, 2, 6, 7, 8}, {38, 39, 40, 41, 42}},
        {{3, 3, 49}, {"1,2,3,4,5,6"}, 1, 1, {1, 2, 7}, {}},
        {{3, 5, 49}, {"1,2,3,4,5,6"}, 1, 1, {1, 2, 7, 8, 9}, {}},
        {{2, 3, 49}, {"2, 1"}, 1, 1, {1, 3, 4}, {}},
        {{3, 5, 49}, {rangeLine(1, 49)}, 1, 0, {}, {}},
    };
    for (const auto& row : rows) {
        const SetList sets = ref::neverDrawn(row.draws, row.q, row.limit);
        const std::string what = std::to_string(row.q.subsetSize) + " of " +
                                 std::to_string(row.q.setSize) + " over 1.." +
                                 std::to_string(row.q.maxNumber) + ", " +
                                 std::to_string(row.draws.size()) + " lines";
        ASSERT_EQ(sets.size(), row.count) << what;
        if (sets.empty()) continue;
        EXPECT_EQ(sets.front(), row.front) << what;
        EXPECT_EQ(sets.back(), row.back.empty() ? row.front : row.back) << what;
        EXPECT_TRUE(std::is_sorted(sets.begin(), sets.end())) << what;
    }
}

// The walk lists exactly the sets that no line holds k numbers of, counted
// line by line over seeded lists.
TEST(ReferenceWalk, ListsExactlyTheSetsNoLineHitsKTimes) {
    const struct {
        NeverDrawnQuery q;
        draw_lists::DrawListShape shape;
        std::size_t limit;
    } rows[] = {
        {{3, 4, 80}, {12, 80, 20, 4, 30}, 3000},
        {{3, 4, 42}, {25, 42, 5, 4, 30}, SIZE_MAX},
        {{2, 3, 30}, {10, 30, 8, 4, 30}, SIZE_MAX},
    };
    std::uint32_t seed = 7;
    for (const auto& row : rows) {
        const Draws draws = draw_lists::randomDrawList(seed++, row.shape);
        const std::vector<std::set<int>> lines = parseAll(draws);
        SetList expected;
        std::vector<int> candidate;
        auto walk = [&](auto& self, int from) -> void {
            if (static_cast<int>(candidate.size()) == row.q.setSize) {
                if (!someLineHolds(lines, candidate, row.q.subsetSize))
                    expected.push_back(candidate);
                return;
            }
            for (int v = from; v <= row.q.maxNumber && expected.size() < row.limit; ++v) {
                candidate.push_back(v);
                self(self, v + 1);
                candidate.pop_back();
            }
        };
        walk(walk, 1);
        EXPECT_EQ(ref::neverDrawn(draws, row.q, row.limit), expected) << row.q.maxNumber;
    }
}

// ---- Multi Multi's random searches ----

TEST(ReferencePairAndTriple, RandomTripleRepeatsFromTheSameState) {
    GeneratorGuard guard;
    const std::uint32_t start = 20240601u;
    setRandomState(start);
    const std::vector<int> first = ref::findNeverAppearedTripleInFlight({});
    EXPECT_TRUE(isDrawOf(first, 3));
    // Nothing is recorded, so the first attempt is taken: 79 calls of rand().
    EXPECT_EQ(randomState(), stateAfter(start, 79));

    setRandomState(start);
    EXPECT_EQ(ref::findNeverAppearedTripleInFlight({}), first);
    setRandomState(start);
    EXPECT_EQ(ref::findNeverAppearedTripleInFlight({rangeLine(41, 80)}), first)
        << "a line that does not hold the triple changes nothing";
}

TEST(ReferencePairAndTriple, RandomTripleSkipsDrawnTriples) {
    GeneratorGuard guard;
    // The first three positions of one shuffle of 1..80, as the search takes them.
    auto shuffleTriple = [] {
        int pool[80];
        for (int i = 0; i < 80; ++i) pool[i] = i + 1;
        for (int i = 79; i >= 1; --i) std::swap(pool[i], pool[zestawy::rand() % (i + 1)]);
        std::vector<int> three = {pool[0], pool[1], pool[2]};
        std::sort(three.begin(), three.end());
        return three;
    };
    // A state whose first triple lies within 1..20 and whose second does not.
    std::uint32_t start = 1;
    std::vector<int> second;
    for (;; ++start) {
        setRandomState(start);
        const std::vector<int> t1 = shuffleTriple();
        second = shuffleTriple();
        if (within(t1, 1, 20) && !within(second, 1, 20)) break;
    }
    setRandomState(start);
    EXPECT_EQ(ref::findNeverAppearedTripleInFlight({rangeLine(1, 20)}), second);
    EXPECT_EQ(randomState(), stateAfter(start, 2 * 79));
}

TEST(ReferencePairAndTriple, RandomTripleDoesNotDrawWhenEveryTripleIsDrawn) {
    GeneratorGuard guard;
    setRandomState(777u);
    EXPECT_TRUE(ref::findNeverAppearedTripleInFlight({rangeLine(1, 80)}).empty());
    EXPECT_EQ(randomState(), 777u);
}

TEST(ReferenceRandomSets, HashSix) {
    EXPECT_EQ(ref::hashSix(1, 2, 3, 4, 5, 6), 430759509);
    EXPECT_EQ(ref::hashSix(75, 76, 77, 78, 79, 80), -1731747759);
    EXPECT_EQ(static_cast<std::uint32_t>(ref::hashSix(75, 76, 77, 78, 79, 80)), 2563219537u);
    EXPECT_EQ(ref::hashSix(28, 30, 40, 41, 50, 60), 13635545);
    EXPECT_EQ(ref::hashSix(1, 4, 25, 44, 50, 61), 13635545);
}

TEST(ReferenceRandomSets, RandomDrawsTakeSeventyNineValues) {
    GeneratorGuard guard;
    setRandomState(99u);
    EXPECT_TRUE(isDrawOf(ref::randomNine6from9(), 9));
    EXPECT_EQ(randomState(), stateAfter(99u, 79));
    EXPECT_TRUE(isDrawOf(ref::randomTen7from10(), 10));
    EXPECT_EQ(randomState(), stateAfter(99u, 2 * 79));
}

TEST(ReferenceRandomSets, NineOverNothingIsTheFirstTenDraws) {
    GeneratorGuard guard;
    setRandomState(1u);
    SetList draws;
    for (int i = 0; i < 10; ++i) draws.push_back(ref::randomNine6from9());
    const std::uint32_t end = randomState();

    setRandomState(1u);
    EXPECT_EQ(ref::findTenNeverAppearedNine6from9_Hash({}), draws);
    EXPECT_EQ(randomState(), end);
    // Lines of fewer than six distinct numbers record nothing.
    setRandomState(1u);
    EXPECT_EQ(ref::findTenNeverAppearedNine6from9_Hash({"1,2,3,4,5", "7,7,8,9,10,11", "\r"}),
              draws);
}

TEST(ReferenceRandomSets, NineRejectsTheHashTwinOfADrawnSix) {
    GeneratorGuard guard;
    // From this state the first nine-number draw holds 1, 4, 25, 44, 50, 61,
    // whose hash equals that of 28, 30, 40, 41, 50, 60.
    const std::uint32_t start = 392417u;
    setRandomState(start);
    const SetList free = ref::findTenNeverAppearedNine6from9_Hash({});
    ASSERT_EQ(free.size(), 10u);
    ASSERT_EQ(common(free[0], "1,4,25,44,50,61"), 6);

    setRandomState(start);
    const SetList twin = ref::findTenNeverAppearedNine6from9_Hash({"28,30,40,41,50,60"});
    ASSERT_EQ(twin.size(), 10u);
    EXPECT_EQ(SetList(twin.begin(), twin.begin() + 9), SetList(free.begin() + 1, free.end()));
    EXPECT_EQ(randomState(), stateAfter(start, 11 * 79));
}

TEST(ReferenceRandomSets, BoundOnDrawsEndsTheSearch) {
    GeneratorGuard guard;
    setRandomState(5u);
    EXPECT_TRUE(ref::findTenNeverAppearedNine6from9_Hash({}, 0).empty());
    EXPECT_TRUE(ref::findTenNeverAppearedTen7from10({}, 0).empty());
    EXPECT_EQ(randomState(), 5u);
    EXPECT_EQ(ref::findTenNeverAppearedNine6from9_Hash({}, 4).size(), 4u);
    EXPECT_EQ(ref::findTenNeverAppearedTen7from10({}, 3).size(), 3u);
    EXPECT_EQ(randomState(), stateAfter(5u, 7 * 79));
}

TEST(ReferenceRandomSets, TenRejectsSevenSharedWithAnAcceptedSet) {
    GeneratorGuard guard;
    // From this state the second ten-number draw shares seven numbers with the first.
    const std::uint32_t start = 508487u;
    setRandomState(start);
    const std::vector<int> a = ref::randomTen7from10();
    const std::vector<int> b = ref::randomTen7from10();
    ASSERT_GE(shared(a, b), 7);

    setRandomState(start);
    const SetList sets = ref::findTenNeverAppearedTen7from10({});
    ASSERT_EQ(sets.size(), 10u);
    EXPECT_EQ(sets[0], a);
    EXPECT_NE(sets[1], b);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        EXPECT_TRUE(isDrawOf(sets[i], 10));
        for (std::size_t j = i + 1; j < sets.size(); ++j) EXPECT_LE(shared(sets[i], sets[j]), 6);
    }

    setRandomState(start);
    EXPECT_EQ(ref::findTenNeverAppearedTen7from10({}), sets);
    // Six numbers of a line record nothing; the first set itself as a line
    // rejects its first draw, after which the same draws follow.
    setRandomState(start);
    EXPECT_EQ(ref::findTenNeverAppearedTen7from10({"1,2,3,4,5,6", "9,9,9,8,7,6,5,4"}), sets);
    setRandomState(start);
    const SetList drawn = ref::findTenNeverAppearedTen7from10({draw_lists::joinLine(a)});
    ASSERT_EQ(drawn.size(), 10u);
    EXPECT_EQ(SetList(drawn.begin(), drawn.begin() + 9), SetList(sets.begin() + 1, sets.end()));
}

// ---- Draw-list helpers ----

TEST(ReferenceDrawLists, LastDrawsOfTheHistories) {
    EXPECT_EQ(draw_lists::lastDraws(draw_lists::Game::Lotto, 2),
              (Draws{"9,17,20,22,27,48", "6,12,19,21,23,26"}));
    const Draws multi = draw_lists::lastDraws(draw_lists::Game::MultiMulti, 3);
    ASSERT_EQ(multi.size(), 3u);
    EXPECT_EQ(multi.back(), "5,7,16,23,24,25,33,36,37,43,44,45,58,60,61,62,64,71,77,78");
    EXPECT_EQ(draw_lists::lastDraws(draw_lists::Game::MiniLotto, 100000).size(), 7355u);
    EXPECT_TRUE(draw_lists::lastDraws(draw_lists::Game::MiniLotto, 0).empty());
}

TEST(ReferenceDrawLists, RandomListsRepeatPerSeed) {
    draw_lists::DrawListShape shape;
    EXPECT_EQ(draw_lists::randomDrawList(3u, shape), draw_lists::randomDrawList(3u, shape));
    EXPECT_NE(draw_lists::randomDrawList(3u, shape), draw_lists::randomDrawList(4u, shape));
    shape.lines = 0;
    EXPECT_TRUE(draw_lists::randomDrawList(3u, shape).empty());

    shape.lines = 50;
    shape.oddPercent = 0;
    shape.top = 49;
    shape.drawSize = 6;
    for (const std::string& line : draw_lists::randomDrawList(9u, shape)) {
        const std::set<int> numbers = parseLine(line);
        EXPECT_EQ(numbers.size(), 6u) << line;
        EXPECT_TRUE(within(std::vector<int>(numbers.begin(), numbers.end()), 1, 49)) << line;
    }
}

}  // namespace
}  // namespace zestawy
