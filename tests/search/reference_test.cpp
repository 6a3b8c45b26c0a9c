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

namespace zestawy {
namespace {

namespace ref = reference;
using draw_lists::rangeLine;
using Draws = std::vector<std::string>;
using SetList = std::vector<std::vector<int>>;

template <class K>
std::vector<int> fields(const K& key) {
    return std::vector<int>(key.n, key.n + K::size);
}

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

// ---- Multi Multi pair and triple searches ----

TEST(ReferencePairAndTriple, EmptyListAnswersTheFirstCandidates) {
    EXPECT_EQ(ref::findNeverAppearedPair({}), (std::vector<int>{1, 2}));
    EXPECT_EQ(fields(ref::findNeverAppearedTripleFromPairs({})), (std::vector<int>{1, 2, 3}));
}

TEST(ReferencePairAndTriple, OneLineOfOneToTwenty) {
    const Draws up = {rangeLine(1, 20)};
    EXPECT_EQ(ref::findNeverAppearedPair(up), (std::vector<int>{1, 21}));
    EXPECT_EQ(fields(ref::findNeverAppearedTripleFromPairs(up)), (std::vector<int>{1, 21, 22}));

    std::string down;
    for (int n = 20; n >= 1; --n) down += std::to_string(n) + (n > 1 ? "," : "\r");
    EXPECT_EQ(ref::findNeverAppearedPair({down}), (std::vector<int>{1, 21}));
}

TEST(ReferencePairAndTriple, RepeatedNumberPairsOnlyWithItself) {
    // (1, 1) is recorded and matches nothing; (1, 2) stays free.
    EXPECT_EQ(ref::findNeverAppearedPair({"1,1", "2,2"}), (std::vector<int>{1, 2}));
    EXPECT_EQ(ref::findNeverAppearedPair({"2, 1,1 ,3"}), (std::vector<int>{1, 4}));
}

TEST(ReferencePairAndTriple, EveryPairDrawnLeavesNothing) {
    // Every pair of 1..80 lies within one of these six lines of forty.
    const Draws draws = {
        rangeLine(1, 40),
        rangeLine(41, 80),
        rangeLine(1, 20) + "," + rangeLine(41, 60),
        rangeLine(1, 20) + "," + rangeLine(61, 80),
        rangeLine(21, 40) + "," + rangeLine(41, 60),
        rangeLine(21, 40) + "," + rangeLine(61, 80),
    };
    EXPECT_TRUE(ref::findNeverAppearedPair(draws).empty());
    EXPECT_EQ(fields(ref::findNeverAppearedTripleFromPairs(draws)), (std::vector<int>{0, 0, 0}));
}

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

// ---- Multi Multi exhaustive k-from-n searches ----

TEST(ReferenceExhaustive, ThreeOfFourOverOneLine) {
    const SetList sets = ref::findAllNeverAppearedQuads3from4InFlight({rangeLine(1, 20)});
    ASSERT_EQ(sets.size(), 1508335u);
    EXPECT_EQ(sets.front(), (std::vector<int>{1, 2, 21, 22}));
    EXPECT_EQ(sets.back(), (std::vector<int>{77, 78, 79, 80}));
    const SetList firstFive = ref::findAllNeverAppearedQuads3from4InFlight({rangeLine(1, 20)}, 5);
    EXPECT_EQ(firstFive, SetList(sets.begin(), sets.begin() + 5));
}

TEST(ReferenceExhaustive, FourOfFourOverOneLineAndOverNothing) {
    const SetList sets = ref::findAllNeverAppearedQuad4from4InFlight({rangeLine(1, 20)});
    ASSERT_EQ(sets.size(), 1576735u);
    EXPECT_EQ(sets.front(), (std::vector<int>{1, 2, 3, 21}));

    const SetList all = ref::findAllNeverAppearedQuad4from4InFlight({"\r", "1,2,3", ""});
    ASSERT_EQ(all.size(), 1581580u);
    EXPECT_EQ(all[1], (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(all.back(), (std::vector<int>{77, 78, 79, 80}));
}

TEST(ReferenceExhaustive, FirstSetsOverOneLine) {
    const Draws line = {rangeLine(1, 20)};
    EXPECT_EQ(ref::findAllNeverAppearedQuintuple3from5AnyOrder(line, 1),
              (SetList{{1, 2, 21, 22, 23}}));
    EXPECT_EQ(ref::findAllNeverAppearedQuint4from5InFlight(line, 1), (SetList{{1, 2, 3, 21, 22}}));
    EXPECT_EQ(ref::findAllNeverAppearedQuintuple5from80(line, 2),
              (SetList{{1, 2, 3, 4, 21}, {1, 2, 3, 4, 22}}));
    EXPECT_EQ(ref::findAllNeverAppearedSextuple4from6InFlight(line, 1),
              (SetList{{1, 2, 3, 21, 22, 23}}));
    EXPECT_EQ(ref::findAllNeverAppearedSextuple5from6InFlight(line, 1),
              (SetList{{1, 2, 3, 4, 21, 22}}));
    EXPECT_EQ(ref::findAllNeverAppearedSevens5from7(line, 1), (SetList{{1, 2, 3, 4, 21, 22, 23}}));
    EXPECT_EQ(ref::findAllNeverAppearedOcts5from8InFlight(line, 1),
              (SetList{{1, 2, 3, 4, 21, 22, 23, 24}}));
    EXPECT_TRUE(ref::findAllNeverAppearedOcts5from8InFlight(line, 0).empty());
}

TEST(ReferenceExhaustive, LineSizeAgainstK) {
    // k - 1 numbers record nothing; k numbers record exactly their own key.
    EXPECT_EQ(ref::findAllNeverAppearedQuads3from4InFlight({"5,6"}, 2),
              (SetList{{1, 2, 3, 4}, {1, 2, 3, 5}}));
    EXPECT_EQ(ref::findAllNeverAppearedQuads3from4InFlight({"1,2,3"}, 1), (SetList{{1, 2, 4, 5}}));
    EXPECT_EQ(ref::findAllNeverAppearedQuad4from4InFlight({"4,3,2,1"}, 1), (SetList{{1, 2, 3, 5}}));
    EXPECT_EQ(ref::findAllNeverAppearedSevens5from7({"1,2,3,4"}, 1),
              (SetList{{1, 2, 3, 4, 5, 6, 7}}));
    EXPECT_EQ(ref::findAllNeverAppearedSevens5from7({"1,2,3,4,5"}, 1),
              (SetList{{1, 2, 3, 4, 6, 7, 8}}));
    // Out-of-range numbers are recorded with the rest and match no candidate.
    EXPECT_EQ(ref::findAllNeverAppearedSextuple5from6InFlight({"0,-1,1,2,81"}, 1),
              (SetList{{1, 2, 3, 4, 5, 6}}));
}

TEST(ReferenceExhaustive, ListsExactlyTheSetsNoLineHitsKTimes) {
    draw_lists::DrawListShape shape;
    shape.lines = 12;
    const Draws draws = draw_lists::randomDrawList(7u, shape);
    const std::size_t limit = 3000;
    const SetList sets = ref::findAllNeverAppearedQuads3from4InFlight(draws, limit);
    const std::vector<std::set<int>> lines = parseAll(draws);

    SetList expected;
    for (int a = 1; a <= 80 && expected.size() < limit; ++a)
        for (int b = a + 1; b <= 80 && expected.size() < limit; ++b)
            for (int c = b + 1; c <= 80 && expected.size() < limit; ++c)
                for (int d = c + 1; d <= 80 && expected.size() < limit; ++d) {
                    const std::vector<int> candidate = {a, b, c, d};
                    if (!someLineHolds(lines, candidate, 3)) expected.push_back(candidate);
                }
    EXPECT_EQ(sets, expected);
}

// ---- Multi Multi randomised nine- and ten-number searches ----

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

// ---- Mini Lotto ----

TEST(ReferenceMiniLotto, EmptyList) {
    EXPECT_EQ(ref::findNeverAppearedSingle_1_42({}), 1);
    const SetList pairs = ref::findAllNeverAppearedPairs_1_42({});
    ASSERT_EQ(pairs.size(), 861u);
    EXPECT_EQ(pairs.back(), (std::vector<int>{41, 42}));
    EXPECT_EQ(ref::findAllNeverAppearedTriple2from3AnyOrder42_pairg({}).size(), 11480u);
    EXPECT_EQ(ref::findAllNeverAppearedQuad3from4AnyOrder42_tripleg({}).size(), 111930u);
    const SetList fives = ref::findAllNeverAppearedQuintuple3from5AnyOrder42_tripleg({});
    ASSERT_EQ(fives.size(), 850668u);
    EXPECT_EQ(fives.front(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(fives.back(), (std::vector<int>{38, 39, 40, 41, 42}));
    EXPECT_TRUE(std::is_sorted(fives.begin(), fives.end()));
}

TEST(ReferenceMiniLotto, OneLineOfOneToFive) {
    const Draws line = {"1,2,3,4,5"};
    EXPECT_EQ(ref::findNeverAppearedSingle_1_42(line), 6);
    const SetList pairs = ref::findAllNeverAppearedPairs_1_42(line);
    ASSERT_EQ(pairs.size(), 851u);
    EXPECT_EQ(pairs[0], (std::vector<int>{1, 6}));
    EXPECT_EQ(pairs[1], (std::vector<int>{1, 7}));
    const SetList triples = ref::findAllNeverAppearedTriple2from3AnyOrder42_pairg(line);
    ASSERT_EQ(triples.size(), 11100u);
    EXPECT_EQ(triples[0], (std::vector<int>{1, 6, 7}));
    const SetList quads = ref::findAllNeverAppearedQuad3from4AnyOrder42_tripleg(line);
    ASSERT_EQ(quads.size(), 111555u);
    EXPECT_EQ(quads[0], (std::vector<int>{1, 2, 6, 7}));
    const SetList fives = ref::findAllNeverAppearedQuintuple3from5AnyOrder42_tripleg(line);
    ASSERT_EQ(fives.size(), 843822u);
    EXPECT_EQ(fives[0], (std::vector<int>{1, 2, 6, 7, 8}));
}

TEST(ReferenceMiniLotto, SmallLinesRepeatsAndFullCover) {
    EXPECT_EQ(ref::findNeverAppearedSingle_1_42({rangeLine(1, 21), rangeLine(22, 42)}), 0);
    EXPECT_EQ(ref::findNeverAppearedSingle_1_42({"0,-2,43,1"}), 2);
    // Two numbers: one pair for the triple search, nothing for the quadruple search.
    const SetList triples = ref::findAllNeverAppearedTriple2from3AnyOrder42_pairg({"1,2"});
    EXPECT_EQ(triples.size(), 11480u - 40u);
    EXPECT_EQ(triples[0], (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(ref::findAllNeverAppearedQuad3from4AnyOrder42_tripleg({"1,2"}).size(), 111930u);
    // The pair search reads repeats: 9, 7, 7 records (7, 9) and (7, 7).
    const SetList pairs = ref::findAllNeverAppearedPairs_1_42({"9, 7,7\r"});
    EXPECT_EQ(pairs.size(), 860u);
    EXPECT_EQ(std::count(pairs.begin(), pairs.end(), std::vector<int>{7, 9}), 0);
}

TEST(ReferenceMiniLotto, ListsExactlyTheSetsNoLineHitsThreeTimes) {
    draw_lists::DrawListShape shape;
    shape.lines = 25;
    shape.top = 42;
    shape.drawSize = 5;
    const Draws draws = draw_lists::randomDrawList(42u, shape);
    const std::vector<std::set<int>> lines = parseAll(draws);
    SetList expected;
    for (int a = 1; a <= 42; ++a)
        for (int b = a + 1; b <= 42; ++b)
            for (int c = b + 1; c <= 42; ++c)
                for (int d = c + 1; d <= 42; ++d) {
                    const std::vector<int> candidate = {a, b, c, d};
                    if (!someLineHolds(lines, candidate, 3)) expected.push_back(candidate);
                }
    EXPECT_EQ(ref::findAllNeverAppearedQuad3from4AnyOrder42_tripleg(draws), expected);
}

// ---- Lotto ----

TEST(ReferenceLotto, EmptyList) {
    EXPECT_EQ(ref::findNeverAppearedSingle_1_49({}), 1);
    EXPECT_EQ(fields(ref::findNeverAppearedPair_1_49({})), (std::vector<int>{1, 2}));
    EXPECT_EQ(fields(ref::findNeverAppearedTripleFromPairs_1_49({})), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(fields(ref::findNeverAppearedTriple_1_49({})), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(fields(ref::findNeverAppearedQuadrupleFromTriples_1_49({})),
              (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(fields(ref::findNeverAppearedQuintupleFromTriples_1_49({})),
              (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(ReferenceLotto, OneLineOfOneToSix) {
    const Draws line = {"1,2,3,4,5,6"};
    EXPECT_EQ(ref::findNeverAppearedSingle_1_49(line), 7);
    EXPECT_EQ(fields(ref::findNeverAppearedPair_1_49(line)), (std::vector<int>{1, 7}));
    EXPECT_EQ(fields(ref::findNeverAppearedTripleFromPairs_1_49(line)),
              (std::vector<int>{1, 7, 8}));
    EXPECT_EQ(fields(ref::findNeverAppearedTriple_1_49(line)), (std::vector<int>{1, 2, 7}));
    EXPECT_EQ(fields(ref::findNeverAppearedQuadrupleFromTriples_1_49(line)),
              (std::vector<int>{1, 2, 7, 8}));
    EXPECT_EQ(fields(ref::findNeverAppearedQuintupleFromTriples_1_49(line)),
              (std::vector<int>{1, 2, 7, 8, 9}));
}

TEST(ReferenceLotto, TwoNumberLine) {
    const Draws line = {"2, 1"};
    EXPECT_EQ(ref::findNeverAppearedSingle_1_49(line), 3);
    EXPECT_EQ(fields(ref::findNeverAppearedPair_1_49(line)), (std::vector<int>{1, 3}));
    EXPECT_EQ(fields(ref::findNeverAppearedTripleFromPairs_1_49(line)),
              (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(fields(ref::findNeverAppearedTriple_1_49(line)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(fields(ref::findNeverAppearedQuadrupleFromTriples_1_49(line)),
              (std::vector<int>{1, 2, 3, 4}));
}

TEST(ReferenceLotto, EverythingDrawnLeavesZeros) {
    const Draws all = {rangeLine(1, 49)};
    EXPECT_EQ(ref::findNeverAppearedSingle_1_49(all), 0);
    EXPECT_EQ(fields(ref::findNeverAppearedPair_1_49(all)), (std::vector<int>{0, 0}));
    EXPECT_EQ(fields(ref::findNeverAppearedTripleFromPairs_1_49(all)), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(fields(ref::findNeverAppearedTriple_1_49(all)), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(fields(ref::findNeverAppearedQuadrupleFromTriples_1_49(all)),
              (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(fields(ref::findNeverAppearedQuintupleFromTriples_1_49(all)),
              (std::vector<int>{0, 0, 0, 0, 0}));
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
