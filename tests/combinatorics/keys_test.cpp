#include "combinatorics/keys.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <set>
#include <vector>

namespace zestawy {
namespace {

template <class T>
std::vector<int> fields(const T& key) {
    return std::vector<int>(std::begin(key.n), std::end(key.n));
}

using V = std::vector<int>;

TEST(Keys, OrderingTypesStoreTheirNumbersAscending) {
    EXPECT_EQ(fields(Pair(9, 4)), V({4, 9}));
    EXPECT_EQ(fields(Pair(4, 9)), V({4, 9}));
    EXPECT_EQ(fields(Pairg(9, -4)), V({-4, 9}));
    EXPECT_EQ(fields(Pair(7, 7)), V({7, 7}));
    EXPECT_EQ(fields(Triple(30, 10, 20)), V({10, 20, 30}));
    EXPECT_EQ(fields(Triplea(20, 30, 10)), V({10, 20, 30}));
    EXPECT_EQ(fields(Tripleb(30, 20, 10)), V({10, 20, 30}));
    EXPECT_EQ(fields(Tripleg(10, 20, 30)), V({10, 20, 30}));
    EXPECT_EQ(fields(Quad(5, 5, 1, 2)), V({1, 2, 5, 5}));
    EXPECT_EQ(fields(Fourb(4, -1, 3, 0)), V({-1, 0, 3, 4}));
    EXPECT_EQ(fields(Quadb(9, 8, 7, 6)), V({6, 7, 8, 9}));
    EXPECT_EQ(fields(Quint(50, -3, 7, 7, 0)), V({-3, 0, 7, 7, 50}));
    EXPECT_EQ(fields(Fiveb(5, 4, 3, 2, 1)), V({1, 2, 3, 4, 5}));
    EXPECT_EQ(fields(Five7(2, 1, 3, 5, 4)), V({1, 2, 3, 4, 5}));
    EXPECT_EQ(fields(Five(INT_MAX, INT_MIN, 0, 1, -1)), V({INT_MIN, -1, 0, 1, INT_MAX}));
    EXPECT_EQ(fields(Sevenb(7, 6, 5, 4, 3, 2, 1)), V({1, 2, 3, 4, 5, 6, 7}));
    // The triple's own exchange sort, on every arrangement with repeats and negatives.
    for (int a = -1; a <= 2; ++a)
        for (int b = -1; b <= 2; ++b)
            for (int c = -1; c <= 2; ++c) {
                V sorted = {a, b, c};
                std::sort(sorted.begin(), sorted.end());
                EXPECT_EQ(fields(Triple(a, b, c)), sorted) << a << ',' << b << ',' << c;
            }
}

TEST(Keys, PlainTypesKeepArgumentOrderAndAnswerTypesDefaultToZero) {
    EXPECT_EQ(fields(Pair2(9, 4)), V({9, 4}));
    EXPECT_EQ(fields(TripleC(3, 1, 2)), V({3, 1, 2}));
    EXPECT_EQ(fields(TripleD(3, -1, 2)), V({3, -1, 2}));
    EXPECT_EQ(fields(TripleE(3, 1, 2)), V({3, 1, 2}));
    EXPECT_EQ(fields(QuadrupleD(4, 3, 2, 1)), V({4, 3, 2, 1}));
    EXPECT_EQ(fields(QuintupleD(5, 1, 4, 2, 3)), V({5, 1, 4, 2, 3}));
    EXPECT_EQ(fields(TripleC()), V(3, 0));
    EXPECT_EQ(fields(TripleD()), V(3, 0));
    EXPECT_EQ(fields(TripleE()), V(3, 0));
    EXPECT_EQ(fields(QuadrupleD()), V(4, 0));
    EXPECT_EQ(fields(QuintupleD()), V(5, 0));
    EXPECT_EQ(fields(Pair2(0, 0)), V(2, 0));
    EXPECT_TRUE(QuintupleD().allZero());
    EXPECT_FALSE(QuintupleD(0, 0, 0, 0, 1).allZero());
}

TEST(Keys, FirstDifferingFieldDecidesWithSignedComparison) {
    EXPECT_TRUE(Triplea(1, 2, 80) < Triplea(1, 3, 4));
    EXPECT_FALSE(Triplea(1, 3, 4) < Triplea(1, 2, 80));
    EXPECT_TRUE(Triple(1, 2, 3) < Triple(1, 2, 4));
    EXPECT_FALSE(Triple(3, 2, 1) < Triple(1, 2, 3));  // equal: neither is less
    EXPECT_FALSE(Triple(1, 2, 3) < Triple(3, 2, 1));
    EXPECT_TRUE(TripleE(1, 2, 3) < TripleE(3, 1, 2));
    EXPECT_FALSE(TripleE(3, 1, 2) < TripleE(1, 2, 3));
    EXPECT_TRUE(Pair2(9, 4) < Pair2(9, 5));
    EXPECT_TRUE(Pair(-5, 3) < Pair(0, 1));
    // Extremes: a comparison by subtraction would overflow here.
    EXPECT_TRUE(Pair2(INT_MIN, 0) < Pair2(INT_MAX, 0));
    EXPECT_FALSE(Pair2(INT_MAX, 0) < Pair2(INT_MIN, 0));
    EXPECT_TRUE(Sevenb(1, 2, 3, 4, 5, 6, -1) < Sevenb(1, 2, 3, 4, 5, 6, 7));
    EXPECT_TRUE(Sevenb(1, 2, 3, 4, 5, 6, 7) < Sevenb(1, 2, 3, 4, 5, 6, 8));
}

TEST(Keys, SetHoldsEachCombinationOnceInAscendingOrder) {
    std::set<Sevenb> sevens;
    V numbers = {1, 2, 3, 4, 5, 6, 7, 8};
    do {  // every arrangement of every seven of 1..8
        sevens.insert(Sevenb(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5],
                             numbers[6]));
    } while (std::next_permutation(numbers.begin(), numbers.end()));
    ASSERT_EQ(sevens.size(), 8u);
    // Walking the set visits the sevens missing 8, 7, ..., 1 in turn.
    int missing = 8;
    for (const Sevenb& seven : sevens) {
        V expected;
        for (int v = 1; v <= 8; ++v)
            if (v != missing) expected.push_back(v);
        EXPECT_EQ(fields(seven), expected);
        --missing;
    }
}

}  // namespace
}  // namespace zestawy
