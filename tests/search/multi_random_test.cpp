// The randomised Multi Multi searches against their literal versions: from the
// same generator state both must answer the same sets and leave the generator
// in the same state.
#include "search/multi_random.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "combinatorics/random.hpp"
#include "search/draw_lists.hpp"
#include "search/reference.hpp"
#include "search/six_hashes.hpp"

namespace zestawy {
namespace {

namespace ref = reference;
using draw_lists::joinLine;
using draw_lists::rangeLine;
using Draws = std::vector<std::string>;
using SetList = std::vector<std::vector<int>>;

// Every test starts from a state of its own and leaves the process state as
// it found it.
class MultiRandom : public testing::Test {
  protected:
    void SetUp() override { saved_ = randomState(); }
    void TearDown() override { setRandomState(saved_); }

  private:
    std::uint32_t saved_ = 0;
};

// Runs the literal search and then the fast one from `state`; both must give
// the same answer and leave the generator in the same state.
template <class Fast, class Literal>
void expectSameAsLiteral(std::uint32_t state, Fast fast, Literal literal) {
    setRandomState(state);
    const auto expected = literal();
    const std::uint32_t after = randomState();
    setRandomState(state);
    const auto actual = fast();
    EXPECT_EQ(actual, expected) << "from state " << state;
    EXPECT_EQ(randomState(), after) << "from state " << state;
}

void expectNineAsLiteral(const Draws& draws, std::uint32_t state, long long maxDraws = 100000) {
    expectSameAsLiteral(
        state, [&] { return findTenNeverAppearedNine6from9_Hash(draws, maxDraws); },
        [&] { return ref::findTenNeverAppearedNine6from9_Hash(draws, maxDraws); });
}

void expectTenAsLiteral(const Draws& draws, std::uint32_t state, long long maxDraws = 100000) {
    expectSameAsLiteral(
        state, [&] { return findTenNeverAppearedTen7from10(draws, maxDraws); },
        [&] { return ref::findTenNeverAppearedTen7from10(draws, maxDraws); });
}

void expectTripleAsLiteral(const Draws& draws, std::uint32_t state) {
    expectSameAsLiteral(
        state, [&] { return findNeverAppearedTripleInFlight(draws); },
        [&] { return ref::findNeverAppearedTripleInFlight(draws); });
}

// The next `count` draws of k numbers from `state`, without moving the
// process state.
SetList upcomingDraws(std::uint32_t state, int count, int k) {
    const std::uint32_t saved = randomState();
    setRandomState(state);
    SetList draws;
    for (int i = 0; i < count; ++i)
        draws.push_back(k == 9 ? randomNine6from9() : randomTen7from10());
    setRandomState(saved);
    return draws;
}

// The state after `calls` values of rand() from `state`.
std::uint32_t advanced(std::uint32_t state, long long calls) {
    const std::uint32_t saved = randomState();
    setRandomState(state);
    for (long long i = 0; i < calls; ++i) zestawy::rand();
    const std::uint32_t after = randomState();
    setRandomState(saved);
    return after;
}

// The literal formula's own values, wrap-around and collisions included, are
// checked with the literal searches (reference_test.cpp).
TEST_F(MultiRandom, HashSixAsLiteral) {
    // Any arguments, out of range and extreme ones too.
    std::mt19937 gen(7);
    for (int i = 0; i < 2000; ++i) {
        int v[6];
        for (int& x : v) x = static_cast<int>(gen());
        if (i % 2) std::for_each(v, v + 6, [](int& x) { x %= 300; });
        EXPECT_EQ(hashSix(v[0], v[1], v[2], v[3], v[4], v[5]),
                  ref::hashSix(v[0], v[1], v[2], v[3], v[4], v[5]));
    }
}

TEST_F(MultiRandom, RandomDrawsAsLiteral) {
    for (std::uint32_t state : {1u, 2u, 12345u, 0xFFFFFFFFu}) {
        expectSameAsLiteral(state, randomNine6from9, ref::randomNine6from9);
        expectSameAsLiteral(state, randomTen7from10, ref::randomTen7from10);
    }
}

TEST_F(MultiRandom, TripleWhenOneOrNoTripleIsLeft) {
    // Three lines of all of 1..80 but one number of the triple: only that
    // triple stays absent, found after some 80 thousand draws. A line with two
    // of its numbers and numbers out of range covers nothing more.
    for (const std::vector<int>& triple : SetList{{1, 2, 3}, {40, 79, 80}}) {
        Draws draws = {joinLine({-1, triple[0], triple[1], 0, 81, 3000})};
        for (int left : triple) {
            std::vector<int> numbers;
            for (int n = 1; n <= 80; ++n)
                if (n != left) numbers.push_back(n);
            draws.push_back(joinLine(numbers));
        }
        expectTripleAsLiteral(draws, static_cast<std::uint32_t>(triple[0]));
        setRandomState(99);
        EXPECT_EQ(findNeverAppearedTripleInFlight(draws), triple);

        // With the triple in a line as well nothing is absent: no draw is made.
        draws.push_back(joinLine({triple[2], triple[1], triple[0]}));
        setRandomState(5);
        EXPECT_TRUE(findNeverAppearedTripleInFlight(draws).empty());
        EXPECT_EQ(randomState(), 5u);
    }
}

// A line that records a six-number set whose hash equals that of the drawn
// six at positions p[0..6) of `drawn`, but holds at most four drawn numbers:
// the first number lowered by 97 k and the second raised by k.
bool hashTwinLine(const std::vector<int>& drawn, const int* p, int k, std::string& line) {
    std::vector<int> six;
    for (int i = 0; i < 6; ++i) six.push_back(drawn[p[i]]);
    six[0] -= 97 * k;
    six[1] += k;
    if (six[1] >= six[2]) return false;
    std::rotate(six.begin(), six.begin() + 2, six.end());  // any written order
    line = joinLine(six);
    return true;
}

struct Rejecting {
    int sharePercent = 40;  // chance of a line with `share` numbers of the draw
    int twinPercent = 30;   // nine-number search: chance of a hash-twin line
    int share = 6;
};

// Draw lists whose lines reject many of the draws coming from `state`: for
// each of the next `count` draws, with some chance, a line with `share` of
// its numbers (written in any order, with repeats and numbers out of range),
// or for the nine-number search a line that holds only a hash twin of one of
// its six-number subsets. Some random lines of 1..80 come in between.
Draws rejectingLines(std::uint32_t seed, std::uint32_t state, int count, int k,
                     const Rejecting& how) {
    std::mt19937 gen(seed);
    const auto below = [&](int n) { return static_cast<int>(gen() % static_cast<unsigned>(n)); };
    Draws lines;
    for (const std::vector<int>& drawn : upcomingDraws(state, count, k)) {
        const int kind = below(100);
        if (kind < how.sharePercent) {  // the first `share` numbers of a shuffle of the draw
            std::vector<int> numbers = drawn;
            std::shuffle(numbers.begin(), numbers.end(), gen);
            numbers.resize(how.share);
            if (below(2)) numbers.push_back(numbers[0]);
            if (below(2)) numbers.insert(numbers.begin(), below(2) ? 0 : 81 + below(50));
            if (below(3) == 0) numbers.push_back(1 + below(80));
            lines.push_back(joinLine(numbers) + (below(2) ? "\r" : ""));
        } else if (kind < how.sharePercent + how.twinPercent && k == 9) {
            // Six positions of the nine at random, until they give a twin.
            std::string line;
            for (int tries = 0; tries < 20; ++tries) {
                int p[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
                std::shuffle(p, p + 9, gen);
                std::sort(p, p + 6);
                if (hashTwinLine(drawn, p, 1 + below(2), line)) {
                    lines.push_back(line);
                    break;
                }
            }
        } else if (kind < how.sharePercent + how.twinPercent + 10) {
            std::vector<int> numbers;
            for (int i = 0; i < 10; ++i) numbers.push_back(1 + below(80));
            lines.push_back(joinLine(numbers));
        }
    }
    std::shuffle(lines.begin(), lines.end(), gen);
    return lines;
}

TEST_F(MultiRandom, NineRejectsAHashTwinAndStopsAtTheBound) {
    // From this state the first draw holds 1, 4, 25, 44, 50, 61, whose hash
    // 28, 30, 40, 41, 50, 60 has: that line rejects the draw although it
    // shares only 41 and 50 with it.
    const std::uint32_t state = 392417;
    const std::vector<int> first = upcomingDraws(state, 1, 9).front();
    const int six[] = {1, 4, 25, 44, 50, 61};
    ASSERT_TRUE(std::includes(first.begin(), first.end(), six, six + 6));

    setRandomState(state);
    EXPECT_TRUE(findTenNeverAppearedNine6from9_Hash({"60,50,41,40,30,28"}, 1).empty());
    EXPECT_EQ(randomState(), advanced(state, 79));
    setRandomState(state);
    EXPECT_EQ(findTenNeverAppearedNine6from9_Hash({"28,30,40,41,50,59"}, 1), SetList{first});
    expectNineAsLiteral({"28,30,40,41,50,60"}, state, 50);

    // A line of everything rejects every draw: the bound ends the search after
    // exactly that many draws.
    setRandomState(state);
    EXPECT_TRUE(findTenNeverAppearedNine6from9_Hash({rangeLine(1, 80)}, 1000).empty());
    EXPECT_EQ(randomState(), advanced(state, 79 * 1000));
}

TEST_F(MultiRandom, NineOverNothingIsTheNextTenDraws) {
    setRandomState(77);
    EXPECT_EQ(findTenNeverAppearedNine6from9_Hash({}), upcomingDraws(77, 10, 9));
    EXPECT_EQ(randomState(), advanced(77, 79 * 10));
}

TEST_F(MultiRandom, NineGivesUpOnLinesTooLongToSearch) {
    // 2,001 numbers out of range: far too many six-number subsets to hash.
    std::vector<int> far;
    for (int n = 0; n <= 2000; ++n) far.push_back(100 + n);
    const Draws draws = {joinLine(far)};
    EXPECT_THROW(findTenNeverAppearedNine6from9_Hash(draws, 10), std::bad_alloc);
    // Nothing needs them while a line of everything rejects each draw at once.
    EXPECT_TRUE(findTenNeverAppearedNine6from9_Hash({draws[0], rangeLine(1, 80)}, 10).empty());
}

TEST_F(MultiRandom, NineHashBitsRejectWhatTheWalkRejects) {
    // Three lines of 66 numbers out of range record 272 million subsets, past
    // the sorted runs: the set keeps one bit per hash. Some 2% of all hashes
    // are set, so about one drawn nine in six passes.
    const six_hashes::RecordedLines lines(Draws(3, rangeLine(100, 165)));
    ASSERT_GT(lines.subsets(), six_hashes::SixHashSet::kMaxSortedSixes);
    std::vector<six_hashes::Nine> nines;
    setRandomState(5);
    for (int i = 0; i < 300; ++i) {
        const std::vector<int> nine = randomNine6from9();
        nines.emplace_back();
        std::copy(nine.begin(), nine.end(), nines.back().begin());
    }
    const std::vector<bool> walked = six_hashes::rejectedByWalk(lines, nines);
    const six_hashes::SixHashSet kept(lines);
    int passed = 0;
    for (std::size_t i = 0; i < nines.size(); ++i) {
        EXPECT_EQ(kept.rejects(nines[i]), walked[i]) << i;
        passed += !walked[i];
    }
    EXPECT_GT(passed, 0);
}

TEST_F(MultiRandom, TenSkipsADrawSharingSevenWithAnAcceptedOne) {
    // From this state the eighth draw shares seven numbers with the fifth.
    const std::uint32_t state = 4089;
    SetList coming = upcomingDraws(state, 11, 10);
    std::vector<int> common;
    std::set_intersection(coming[4].begin(), coming[4].end(), coming[7].begin(), coming[7].end(),
                          std::back_inserter(common));
    ASSERT_EQ(common.size(), 7u);

    setRandomState(state);
    const SetList found = findTenNeverAppearedTen7from10({});
    coming.erase(coming.begin() + 7);
    EXPECT_EQ(found, coming);
    EXPECT_EQ(randomState(), advanced(state, 79 * 11));
    expectTenAsLiteral({}, state);

    setRandomState(state);
    EXPECT_TRUE(findTenNeverAppearedTen7from10({rangeLine(1, 80)}, 1000).empty());
    EXPECT_EQ(randomState(), advanced(state, 79 * 1000));
}

// A line of everything rejects every draw, so that only a stop ends the
// search before its bound: each is asked every 4096 draws, and a no ends it
// with the sets found so far; a yes changes nothing.
TEST_F(MultiRandom, NinesAndTensStopWhenAskedAndOnlyThen) {
    const Draws everything = {rangeLine(1, 80)};
    for (const bool nines : {true, false}) {
        SCOPED_TRACE(nines);
        long long asked = 0;
        auto answer = [&](bool go) { return [&asked, go] { return ++asked, go; }; };
        setRandomState(5);
        const SetList stopped =
            nines ? findTenNeverAppearedNine6from9_Hash(everything, kMaxRandomDraws, answer(false))
                  : findTenNeverAppearedTen7from10(everything, kMaxRandomDraws, answer(false));
        EXPECT_TRUE(stopped.empty());
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(randomState(), 5u);  // asked before the first draw
        asked = 0;
        setRandomState(5);
        const SetList bounded =
            nines ? findTenNeverAppearedNine6from9_Hash(everything, 10000, answer(true))
                  : findTenNeverAppearedTen7from10(everything, 10000, answer(true));
        EXPECT_TRUE(bounded.empty());
        EXPECT_EQ(asked, 3);  // at draws 0, 4096 and 8192
        EXPECT_EQ(randomState(), advanced(5, 79 * 10000));
    }
}

// Each search from a state of its own as the literal one: over seeded lists
// of every kind of line; over lists whose lines reject many of the coming
// draws (by six or seven of their numbers, or only by a hash twin; when most
// are rejected by twins the nines end up keeping every recorded hash), with
// and without a low bound; and over the real history (from 1,000 draws on,
// every triple has been drawn).
TEST_F(MultiRandom, EachSearchAsLiteral) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        draw_lists::DrawListShape shape;
        shape.lines = seed % 10 == 0 ? 0 : 30 * (seed % 7);
        shape.oddPercent = seed % 3 == 0 ? 70 : 20;
        expectTripleAsLiteral(draw_lists::randomDrawList(seed, shape), seed * 7919u);
    }
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        draw_lists::DrawListShape shape;
        shape.lines = seed % 8 == 0 ? 0 : seed % 6;
        shape.oddPercent = seed % 2 ? 60 : 20;
        expectNineAsLiteral(draw_lists::randomDrawList(seed, shape), seed * 104729u);
        shape.drawSize = 12;
        shape.longExtra = 6;
        expectTenAsLiteral(draw_lists::randomDrawList(seed, shape), seed * 104729u);
    }
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        std::uint32_t state = seed * 2654435761u;
        const Rejecting how = seed % 3 == 0 ? Rejecting{0, 100, 6} : Rejecting{};
        Draws draws = rejectingLines(
            seed, state, seed % 3 == 0 ? 300 : 60 + 10 * static_cast<int>(seed), 9, how);
        expectNineAsLiteral(draws, state);
        expectNineAsLiteral(draws, state, 1 + seed * 3);
        state = seed * 2246822519u;
        draws = rejectingLines(seed, state, 40 + 10 * static_cast<int>(seed), 10, {60, 0, 7});
        expectTenAsLiteral(draws, state);
        expectTenAsLiteral(draws, state, 1 + seed * 3);
    }
    using draw_lists::Game;
    for (std::size_t n : {10, 100, 300, 1000})
        expectTripleAsLiteral(draw_lists::lastDraws(Game::MultiMulti, n),
                              static_cast<std::uint32_t>(n));
    for (std::size_t n : {10, 40})
        expectNineAsLiteral(draw_lists::lastDraws(Game::MultiMulti, n),
                            static_cast<std::uint32_t>(n));
    expectTenAsLiteral(draw_lists::lastDraws(Game::MultiMulti, 8), 8);
}

}  // namespace
}  // namespace zestawy
