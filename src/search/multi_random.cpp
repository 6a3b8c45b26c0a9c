#include "search/multi_random.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <new>
#include <optional>
#include <utility>

#include "combinatorics/parse.hpp"
#include "combinatorics/random.hpp"

namespace zestawy {

namespace {

constexpr int kTop = 80;     // Multi Multi numbers are 1..kTop
constexpr int kWanted = 10;  // sets the nine- and ten-number searches look for

// A set of numbers of 1..128; number v is bit v - 1 of the pair of words.
struct Mask {
    std::uint64_t lo = 0, hi = 0;

    void add(int v) {
        if (v <= 64)
            lo |= 1ull << (v - 1);
        else
            hi |= 1ull << (v - 65);
    }
    bool has(int v) const { return ((v <= 64 ? lo >> (v - 1) : hi >> (v - 65)) & 1) != 0; }
    bool operator<(const Mask& o) const { return hi != o.hi ? hi < o.hi : lo < o.lo; }
    bool operator==(const Mask& o) const { return lo == o.lo && hi == o.hi; }
};

// Bytes of x hold the numbers of set bits of its bytes (0..8).
inline std::uint64_t byteCounts(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    return (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
}

// Numbers that a and b have in common. The search loops run this for every
// recorded line and every draw; a portable bit count is used because the
// builtin one becomes a library call unless the target is known to have the
// instruction.
inline int common(const Mask& a, const Mask& b) {
    const std::uint64_t bytes = byteCounts(a.lo & b.lo) + byteCounts(a.hi & b.hi);
    return static_cast<int>((bytes * 0x0101010101010101ull) >> 56);
}

int count(const Mask& m) {
    return common(m, m);
}

// The numbers of the line that lie in 1..kTop; the others can never be part
// of a drawn set.
Mask inRange(const std::string& line) {
    Mask m;
    forEachNumber(line, [&](int v) {
        if (v >= 1 && v <= kTop) m.add(v);
    });
    return m;
}

// Writes the numbers of m ascending to out; returns how many.
int listNumbers(const Mask& m, int* out) {
    int k = 0;
    for (std::uint64_t w = m.lo; w; w &= w - 1) out[k++] = __builtin_ctzll(w) + 1;
    for (std::uint64_t w = m.hi; w; w &= w - 1) out[k++] = __builtin_ctzll(w) + 65;
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

Mask maskOf(const int* numbers, int k) {
    Mask m;
    for (int i = 0; i < k; ++i) m.add(numbers[i]);
    return m;
}

// True when some mask of `masks` shares at least `atLeast` numbers with d.
// `first` is the index of the mask that decided last time: one that covers
// much of 1..80 tends to reject draw after draw, so it is tried first.
bool anyShares(const std::vector<Mask>& masks, const Mask& d, int atLeast, std::size_t& first) {
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
std::vector<Mask> linesWithAtLeast(const std::vector<std::string>& draws, int atLeast) {
    std::vector<Mask> masks;
    for (const std::string& line : draws) {
        const Mask m = inRange(line);
        if (count(m) >= atLeast) masks.push_back(m);
    }
    std::sort(masks.begin(), masks.end());
    masks.erase(std::unique(masks.begin(), masks.end()), masks.end());
    return masks;
}

// ---- the six-number hashes of the nine-number search ----

constexpr std::uint32_t kHashFactor[6] = {
    1u, 97u, 97u * 97u, 97u * 97u * 97u, 97u * 97u * 97u * 97u, 97u * 97u * 97u * 97u * 97u};

// Calls visit(hash) with the hashSix of every six numbers of n[0..m), m >= 6,
// ascending, in lexicographic order of positions. The hash is linear in the
// six numbers, so each loop level adds its number's term to the sum of the
// levels above: one addition per subset. terms must have room for 6 m values.
template <class Visit>
void forEachSixHash(const int* n, int m, std::uint32_t* terms, Visit&& visit) {
    // terms[j * m + i]: number i times the factor of position j
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < m; ++i)
            terms[j * m + i] = kHashFactor[j] * static_cast<std::uint32_t>(n[i]);
    const std::uint32_t* t0 = terms;
    const std::uint32_t* t1 = t0 + m;
    const std::uint32_t* t2 = t1 + m;
    const std::uint32_t* t3 = t2 + m;
    const std::uint32_t* t4 = t3 + m;
    const std::uint32_t* t5 = t4 + m;
    for (int i0 = 0; i0 < m - 5; ++i0)
        for (int i1 = i0 + 1; i1 < m - 4; ++i1) {
            const std::uint32_t h1 = t0[i0] + t1[i1];
            for (int i2 = i1 + 1; i2 < m - 3; ++i2) {
                const std::uint32_t h2 = h1 + t2[i2];
                for (int i3 = i2 + 1; i3 < m - 2; ++i3) {
                    const std::uint32_t h3 = h2 + t3[i3];
                    for (int i4 = i3 + 1; i4 < m - 1; ++i4) {
                        const std::uint32_t h4 = h3 + t4[i4];
                        for (int i5 = i4 + 1; i5 < m; ++i5) visit(h4 + t5[i5]);
                    }
                }
            }
        }
}

// Recorded six-number subsets beyond this many are not searched: the
// nine-number search then gives up with std::bad_alloc. A real draw line of
// twenty numbers has 38,760 of them, so the 8,999 characters that the search
// command reads stay below 7 million; only lines of about a hundred numbers
// and more get near the limit, and those would need 512 MB to keep.
constexpr std::uint64_t kMaxRecordedSixes = std::uint64_t{1} << 28;

// C(m, 6), or more than kMaxRecordedSixes when that is larger.
std::uint64_t sixSubsets(std::uint64_t m) {
    if (m < 6) return 0;
    if (m > 2000) return kMaxRecordedSixes + 1;  // C(2000, 6) is far above it
    std::uint64_t c = 1;  // C(m - 6 + j, j) for j = 1..6 in turn, exact at every step
    for (std::uint64_t j = 1; j <= 6; ++j) c = c * (m - 6 + j) / j;
    return c;
}

// What the nine-number search records, kept as the lines themselves: their
// six-number subsets are only ever walked, never stored one by one, until
// many draws have needed them (SixHashSet).
class RecordedLines {
  public:
    explicit RecordedLines(const std::vector<std::string>& draws) {
        for (const std::string& line : draws) {
            const std::size_t begin = numbers_.size();
            Mask m;
            forEachNumber(line, [&](int v) {
                numbers_.push_back(v);
                if (v >= 1 && v <= kTop) m.add(v);
            });
            std::sort(numbers_.begin() + begin, numbers_.end());
            numbers_.erase(std::unique(numbers_.begin() + begin, numbers_.end()), numbers_.end());
            const std::size_t size = numbers_.size() - begin;
            if (size < 6) {
                numbers_.resize(begin);
                continue;
            }
            ends_.push_back(numbers_.size());
            longest_ = std::max(longest_, size);
            subsets_ = std::min(subsets_ + sixSubsets(size), kMaxRecordedSixes + 1);
            if (count(m) >= 6) sixInRange_.push_back(m);
        }
        std::sort(sixInRange_.begin(), sixInRange_.end());
        sixInRange_.erase(std::unique(sixInRange_.begin(), sixInRange_.end()), sixInRange_.end());
    }

    // The in-range parts of the lines that hold six numbers of 1..80, each once.
    const std::vector<Mask>& sixInRange() const { return sixInRange_; }

    // How many six-number subsets the lines record (counting repeats).
    // Throws std::bad_alloc when they are more than the search handles.
    std::uint64_t subsets() const {
        if (subsets_ > kMaxRecordedSixes) throw std::bad_alloc();
        return subsets_;
    }

    // Calls visit(hash) with the hash of every recorded six-number subset.
    template <class Visit>
    void forEachHash(Visit&& visit) const {
        std::vector<std::uint32_t> terms(6 * longest_);
        std::size_t begin = 0;
        for (const std::size_t end : ends_) {
            forEachSixHash(numbers_.data() + begin, static_cast<int>(end - begin), terms.data(),
                           visit);
            begin = end;
        }
    }

  private:
    std::vector<int> numbers_;       // each line's distinct numbers ascending, line after line
    std::vector<std::size_t> ends_;  // where each line ends in numbers_
    std::size_t longest_ = 0;
    std::uint64_t subsets_ = 0;  // saturates above kMaxRecordedSixes
    std::vector<Mask> sixInRange_;
};

using Nine = std::array<int, 9>;

// The 84 hashes of a drawn nine.
void nineHashes(const Nine& nine, std::uint32_t* out) {
    std::uint32_t terms[6 * 9];
    forEachSixHash(nine.data(), 9, terms, [&](std::uint32_t h) { *out++ = h; });
}

// Decides which of the pending draws have a subset hash that a line records,
// in one walk over the recorded subsets: their hashes are looked up in the
// few hundred hashes of the pending draws, which a bitmap of 32 KB screens.
std::vector<bool> rejectedByWalk(const RecordedLines& lines, const std::vector<Nine>& pending) {
    std::vector<std::uint32_t> queries(pending.size() * 84);
    for (std::size_t i = 0; i < pending.size(); ++i) nineHashes(pending[i], &queries[i * 84]);
    std::vector<std::uint32_t> sorted = queries;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());

    constexpr int kScreenBits = 18;
    // Multiplying spreads the hashes of neighbouring subsets over the screen.
    const auto slot = [](std::uint32_t h) { return (h * 0x9E3779B1u) >> (32 - kScreenBits); };
    std::vector<std::uint64_t> screen(std::size_t{1} << (kScreenBits - 6));
    for (const std::uint32_t q : sorted) screen[slot(q) >> 6] |= 1ull << (slot(q) & 63);

    std::vector<char> recorded(sorted.size());
    lines.forEachHash([&](std::uint32_t h) {
        const std::uint32_t s = slot(h);
        if (((screen[s >> 6] >> (s & 63)) & 1) == 0) return;
        const auto it = std::lower_bound(sorted.begin(), sorted.end(), h);
        if (it != sorted.end() && *it == h) recorded[it - sorted.begin()] = 1;
    });

    std::vector<bool> rejected(pending.size());
    for (std::size_t i = 0; i < queries.size(); ++i) {
        const auto it = std::lower_bound(sorted.begin(), sorted.end(), queries[i]);
        if (recorded[it - sorted.begin()]) rejected[i / 84] = true;
    }
    return rejected;
}

// The hashes of all recorded six-number subsets, as a set that only answers
// membership, for when walking the lines again for every few draws would cost
// more. They are bucketed by their high 16 bits: offsets_[b] .. offsets_[b + 1]
// is the sorted run of the low 16 bits of the hashes of bucket b. Two bytes
// per recorded subset; repeats are kept, as they cost less than removing them.
class SixHashSet {
  public:
    explicit SixHashSet(const RecordedLines& lines) {
        // Count per bucket, then place each low half at its bucket's cursor:
        // the hashes are made twice instead of being held in full.
        offsets_.assign(kBuckets + 1, 0);
        lines.forEachHash([&](std::uint32_t h) { ++offsets_[(h >> 16) + 1]; });
        for (std::size_t b = 0; b < kBuckets; ++b) offsets_[b + 1] += offsets_[b];
        lows_.resize(offsets_[kBuckets]);
        std::vector<std::uint32_t> cursor(offsets_.begin(), offsets_.end() - 1);
        lines.forEachHash(
            [&](std::uint32_t h) { lows_[cursor[h >> 16]++] = static_cast<std::uint16_t>(h); });
        for (std::size_t b = 0; b < kBuckets; ++b)
            std::sort(lows_.begin() + offsets_[b], lows_.begin() + offsets_[b + 1]);
    }

    bool rejects(const Nine& nine) const {
        std::uint32_t hashes[84];
        nineHashes(nine, hashes);
        for (const std::uint32_t h : hashes) {
            const auto first = lows_.begin() + offsets_[h >> 16];
            const auto last = lows_.begin() + offsets_[(h >> 16) + 1];
            if (std::binary_search(first, last, static_cast<std::uint16_t>(h))) return true;
        }
        return false;
    }

  private:
    static constexpr std::size_t kBuckets = std::size_t{1} << 16;
    std::vector<std::uint32_t> offsets_;  // fits: at most kMaxRecordedSixes entries
    std::vector<std::uint16_t> lows_;
};

// Walks over the lines that the nine-number search makes before it keeps
// every recorded hash in a SixHashSet. Over 150 real lines a walk takes about
// 8 ms and building the set about 20 times as long, while the ten sets are
// found within one to three walks. Only lines whose hashes reject most draws
// need walk after walk; once the walks have cost as much as the set, the set
// pays for itself, and the search never spends more than twice what the better
// of the two ways would have cost.
constexpr int kWalksBeforeKeeping = 20;

}  // namespace

std::vector<int> findNeverAppearedTripleInFlight(const std::vector<std::string>& draws) {
    // together[a * 81 + b], a < b: every number c that stood in one line with
    // a and b. A triple with a number outside 1..80 can never be drawn, so
    // only the in-range part of a line counts.
    std::vector<Mask> together(81 * 81);
    int n[kTop];
    for (const std::string& line : draws) {
        const Mask m = inRange(line);
        const int k = listNumbers(m, n);
        if (k < 3) continue;
        for (int a = 0; a < k - 1; ++a)
            for (int b = a + 1; b < k; ++b) {
                Mask& t = together[n[a] * 81 + n[b]];
                t.lo |= m.lo;
                t.hi |= m.hi;
            }
    }

    // Drawing only makes sense when some triple is absent; otherwise no draw
    // could ever end the search.
    bool anyAbsent = false;
    for (int a = 1; a <= kTop - 2 && !anyAbsent; ++a)
        for (int b = a + 1; b <= kTop - 1 && !anyAbsent; ++b)
            for (int c = b + 1; c <= kTop && !anyAbsent; ++c)
                anyAbsent = !together[a * 81 + b].has(c);
    if (!anyAbsent) return {};

    for (;;) {
        int t[3];
        randomDraw(3, t);
        if (!together[t[0] * 81 + t[1]].has(t[2])) return {t[0], t[1], t[2]};
    }
}

std::int32_t hashSix(int a, int b, int c, int d, int e, int f) {
    // In unsigned arithmetic the wrap-around is defined; the bit pattern is
    // then read as signed.
    const int v[6] = {a, b, c, d, e, f};
    std::uint32_t h = 0;
    for (int j = 0; j < 6; ++j) h += kHashFactor[j] * static_cast<std::uint32_t>(v[j]);
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
    const std::vector<std::string>& draws, long long maxDraws) {
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
        if (walks < kWalksBeforeKeeping) {
            ++walks;
            rejected = rejectedByWalk(lines, pending);
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

std::vector<std::vector<int>> findFiveNeverAppearedTen7from10(const std::vector<std::string>& draws,
                                                              long long maxDraws) {
    // A draw holds a recorded seven-number subset exactly when it shares seven
    // numbers with a line or an accepted set; numbers outside 1..80 cannot be
    // shared, so lines with fewer than seven in range never reject anything.
    std::vector<Mask> blockers = linesWithAtLeast(draws, 7);
    std::vector<std::vector<int>> result;
    std::size_t first = 0;
    int pool[kTop];
    for (long long made = 0; result.size() < kWanted && made < maxDraws; ++made) {
        shuffledPool(pool);
        const Mask d = maskOf(pool, 10);
        if (anyShares(blockers, d, 7, first)) continue;
        std::sort(pool, pool + 10);
        result.emplace_back(pool, pool + 10);
        blockers.push_back(d);
    }
    return result;
}

}  // namespace zestawy
