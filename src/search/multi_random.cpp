#include "search/multi_random.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "combinatorics/game_rules.hpp"
#include "combinatorics/number_mask.hpp"
#include "combinatorics/parse.hpp"
#include "combinatorics/random.hpp"
#include "search/six_hashes.hpp"

namespace zestawy {

namespace {

// Asked every 4096 draws: a draw takes well under a microsecond, so a stop
// is seen within milliseconds, and the question costs nothing beside them.
bool stopAsked(long long made, const std::function<bool()>& keepGoing) {
    return (made & 4095) == 0 && keepGoing && !keepGoing();
}

using six_hashes::Nine;
using six_hashes::RecordedLines;
using six_hashes::SixHashSet;

constexpr int kTop = kMultiRules.maxNumber;  // Multi Multi numbers are 1..kTop
constexpr int kWanted = 10;                  // sets the nine- and ten-number searches look for

// Numbers that a and b have in common. The search loops run this for every
// recorded line and every draw.
inline int common(const NumberMask& a, const NumberMask& b) {
    return (a & b).count();
}

// The numbers of the line that lie in 1..kTop; the others can never be part
// of a drawn set.
NumberMask inRange(const std::string& line) {
    NumberMask m;
    forEachNumber(line, [&](int v) {
        if (v >= 1 && v <= kTop) m.set(v);
    });
    return m;
}

// Writes the numbers of m ascending to out; returns how many.
int listNumbers(const NumberMask& m, int* out) {
    int k = 0;
    for (std::uint64_t w = m.word[0]; w; w &= w - 1) out[k++] = __builtin_ctzll(w) + 1;
    for (std::uint64_t w = m.word[1]; w; w &= w - 1) out[k++] = __builtin_ctzll(w) + 65;
    return k;
}

// The pool 1..kTop shuffled from the back with 79 values of rand(); a random
// draw of k numbers is its first k positions.
void shuffledPool(int* pool) {
    for (int i = 0; i < kTop; ++i) pool[i] = i + 1;
    for (int i = kTop - 1; i >= 1; --i) {
        const int r = zestawy::rand() % (i + 1);
        std::swap(pool[i], pool[r]);
    }
}

// One random draw of k numbers, ascending, into out.
void randomDraw(int k, int* out) {
    int pool[kTop];
    shuffledPool(pool);
    std::copy(pool, pool + k, out);
    std::sort(out, out + k);
}

NumberMask maskOf(const int* numbers, int k) {
    NumberMask m;
    for (int i = 0; i < k; ++i) m.set(numbers[i]);
    return m;
}

// True when some mask of `masks` shares at least `atLeast` numbers with d.
// `first` is the index of the mask that decided last time: one that covers
// much of 1..80 tends to reject draw after draw, so it is tried first. Runs
// for every draw: marked inline so that it is expanded into both search loops.
inline bool anyShares(const std::vector<NumberMask>& masks, const NumberMask& d, int atLeast,
                      std::size_t& first) {
    if (first < masks.size() && common(masks[first], d) >= atLeast) return true;
    for (std::size_t i = 0; i < masks.size(); ++i) {
        if (common(masks[i], d) >= atLeast) {
            first = i;
            return true;
        }
    }
    return false;
}

// The in-range masks of the lines with at least `atLeast` numbers in range,
// each once (the order does not matter to anyShares).
std::vector<NumberMask> linesWithAtLeast(const std::vector<std::string>& draws, int atLeast) {
    std::vector<NumberMask> masks;
    for (const std::string& line : draws) {
        const NumberMask m = inRange(line);
        if (m.count() >= atLeast) masks.push_back(m);
    }
    std::sort(masks.begin(), masks.end());
    masks.erase(std::unique(masks.begin(), masks.end()), masks.end());
    return masks;
}

// Walks over the lines that the nine-number search makes before it keeps
// every recorded hash in a SixHashSet. Building the set costs about as much as
// this many walks (bench/random_bench.cpp measures both over real lines),
// while over real lines the ten sets are found within one to three walks.
// Only lines whose hashes reject most draws need walk after walk; once the
// walks have cost as much as the set, the set pays for itself, and the search
// never spends more than twice what the better of the two ways would have
// cost.
constexpr int kWalksBeforeKeeping = 20;
// Where the set is one bit per possible hash (six_hashes::SixHashSet), it costs
// about as much as two walks; so the search keeps it after two.
constexpr int kWalksBeforeKeepingBits = 2;

}  // namespace

std::vector<int> findNeverAppearedTripleInFlight(const std::vector<std::string>& draws) {
    // together[a * 81 + b], a < b: every number c that stood in one line with
    // a and b. A triple with a number outside 1..80 can never be drawn, so
    // only the in-range part of a line counts.
    std::vector<NumberMask> together(81 * 81);
    int n[kTop];
    for (const std::string& line : draws) {
        const NumberMask m = inRange(line);
        const int k = listNumbers(m, n);
        if (k < 3) continue;
        for (int a = 0; a < k - 1; ++a)
            for (int b = a + 1; b < k; ++b) together[n[a] * 81 + n[b]] |= m;
    }

    // Drawing only makes sense when some triple is absent; otherwise no draw
    // could ever end the search.
    bool anyAbsent = false;
    for (int a = 1; a <= kTop - 2 && !anyAbsent; ++a)
        for (int b = a + 1; b <= kTop - 1 && !anyAbsent; ++b)
            for (int c = b + 1; c <= kTop && !anyAbsent; ++c)
                anyAbsent = !together[a * 81 + b].test(c);
    if (!anyAbsent) return {};

    for (;;) {
        int t[3];
        randomDraw(3, t);
        if (!together[t[0] * 81 + t[1]].test(t[2])) return {t[0], t[1], t[2]};
    }
}

std::int32_t hashSix(int a, int b, int c, int d, int e, int f) {
    // In unsigned arithmetic the wrap-around is defined; the bit pattern is
    // then read as signed.
    const int v[6] = {a, b, c, d, e, f};
    std::uint32_t h = 0;
    for (int j = 0; j < 6; ++j) h += six_hashes::kHashFactor[j] * static_cast<std::uint32_t>(v[j]);
    return static_cast<std::int32_t>(h);
}

std::vector<int> randomNine6from9() {
    std::vector<int> nine(9);
    randomDraw(9, nine.data());
    return nine;
}

std::vector<int> randomTen7from10() {
    std::vector<int> ten(10);
    randomDraw(10, ten.data());
    return ten;
}

std::vector<std::vector<int>> findTenNeverAppearedNine6from9_Hash(
    const std::vector<std::string>& draws, long long maxDraws,
    const std::function<bool()>& keepGoing) {
    // A draw is rejected when the hash of one of its six-number subsets is the
    // hash of a recorded subset. Two tests decide that:
    //   - a line holding six of the drawn numbers recorded that very subset,
    //     which a count of the common numbers finds at once;
    //   - otherwise only a recorded subset with the same hash but other
    //     numbers (possibly numbers outside 1..80) can reject the draw, which
    //     takes the hashes of all recorded subsets. The draws that get this far
    //     wait until as many have come as sets are still missing (no more, so
    //     that the search never draws beyond its last accepted set), and one
    //     walk over the lines then decides them all. If walks keep being
    //     needed, the recorded hashes are kept in a set instead.
    const RecordedLines lines(draws);
    std::optional<SixHashSet> kept;
    int walks = 0;

    std::vector<std::vector<int>> result;
    std::vector<Nine> pending;
    std::size_t first = 0;
    long long made = 0;
    int pool[kTop];
    for (;;) {
        while (result.size() + pending.size() < kWanted && made < maxDraws) {
            if (stopAsked(made, keepGoing)) return result;
            shuffledPool(pool);
            ++made;
            // Most draws end here when few pass, so they are sorted only after.
            if (anyShares(lines.sixInRange(), maskOf(pool, 9), 6, first)) continue;
            Nine nine;
            std::copy(pool, pool + 9, nine.begin());
            std::sort(nine.begin(), nine.end());
            if (!kept)
                pending.push_back(nine);
            else if (!kept->rejects(nine))
                result.emplace_back(nine.begin(), nine.end());
        }
        if (pending.empty()) break;
        lines.subsets();  // throws when they are too many to walk or keep
        std::vector<bool> rejected;
        const bool bits = lines.subsets() > SixHashSet::kMaxSortedSixes;
        if (walks < (bits ? kWalksBeforeKeepingBits : kWalksBeforeKeeping)) {
            ++walks;
            rejected = six_hashes::rejectedByWalk(lines, pending);
        } else {
            kept.emplace(lines);
            for (const Nine& nine : pending) rejected.push_back(kept->rejects(nine));
        }
        for (std::size_t i = 0; i < pending.size(); ++i)
            if (!rejected[i]) result.emplace_back(pending[i].begin(), pending[i].end());
        pending.clear();
    }
    return result;
}

std::vector<std::vector<int>> findTenNeverAppearedTen7from10(
    const std::vector<std::string>& draws, long long maxDraws,
    const std::function<bool()>& keepGoing) {
    // A draw holds a recorded seven-number subset exactly when it shares seven
    // numbers with a line or an accepted set; numbers outside 1..80 cannot be
    // shared, so lines with fewer than seven in range never reject anything.
    std::vector<NumberMask> blockers = linesWithAtLeast(draws, 7);
    std::vector<std::vector<int>> result;
    std::size_t first = 0;
    int pool[kTop];
    for (long long made = 0; result.size() < kWanted && made < maxDraws; ++made) {
        if (stopAsked(made, keepGoing)) break;
        shuffledPool(pool);
        const NumberMask d = maskOf(pool, 10);
        if (anyShares(blockers, d, 7, first)) continue;
        std::sort(pool, pool + 10);
        result.emplace_back(pool, pool + 10);
        blockers.push_back(d);
    }
    return result;
}

}  // namespace zestawy
