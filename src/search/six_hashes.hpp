// The six-number hashes of the nine-number Multi Multi search: a drawn nine is
// rejected when the hashSix of one of its 84 six-number subsets is the hash of
// a six-number subset of a draw line. The recorded subsets are walked from the
// lines themselves, or kept as a set of hashes once walks keep being needed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "combinatorics/number_mask.hpp"

namespace zestawy::six_hashes {

// hashSix(v[0], ..., v[5]) is the sum of kHashFactor[j] * v[j] modulo 2^32.
inline constexpr std::uint32_t kHashFactor[6] = {
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
// twenty numbers has 38,760 of them, so every Multi Multi draw up to 2026
// records 657 million, and the limit leaves room for as many again and more;
// only lines of about a hundred numbers and more reach it sooner. Walking the
// limit's worth of subsets takes a few seconds, keeping them 512 MB.
inline constexpr std::uint64_t kMaxRecordedSixes = std::uint64_t{1} << 30;

// What the nine-number search records, kept as the lines themselves: their
// six-number subsets are only ever walked, never stored one by one, until
// many draws have needed them (SixHashSet).
class RecordedLines {
  public:
    explicit RecordedLines(const std::vector<std::string>& draws);

    // The in-range parts of the lines that hold six numbers of 1..80, each once.
    const std::vector<NumberMask>& sixInRange() const { return sixInRange_; }

    // How many six-number subsets the lines record (counting repeats).
    // Throws std::bad_alloc when they are more than the search handles.
    std::uint64_t subsets() const;

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
    std::vector<NumberMask> sixInRange_;
};

// A drawn nine, ascending.
using Nine = std::array<int, 9>;

// Decides which of the pending draws have a subset hash that a line records,
// in one walk over the recorded subsets.
std::vector<bool> rejectedByWalk(const RecordedLines& lines, const std::vector<Nine>& pending);

// The hashes of all recorded six-number subsets, as a set that only answers
// membership, for when walking the lines again for every few draws would cost
// more. Up to kMaxSortedSixes subsets, the hashes are bucketed by their high
// 16 bits: offsets_[b] .. offsets_[b + 1] is the sorted run of the low 16 bits
// of the hashes of bucket b, two bytes per recorded subset (repeats are kept,
// as they cost less than removing them). Beyond that, one bit for every
// possible hash: 512 MB, whatever the number of subsets.
class SixHashSet {
  public:
    explicit SixHashSet(const RecordedLines& lines);

    // Whether a subset hash of the nine is one of the set.
    bool rejects(const Nine& nine) const;

    // Where the bit for every hash takes less memory than the sorted runs.
    static constexpr std::uint64_t kMaxSortedSixes = std::uint64_t{1} << 28;

  private:
    static constexpr std::size_t kBuckets = std::size_t{1} << 16;
    std::vector<std::uint32_t> offsets_;  // fits: at most kMaxSortedSixes entries
    std::vector<std::uint16_t> lows_;
    std::vector<std::uint64_t> bits_;  // every hash's bit, when the runs would be too large
};

}  // namespace zestawy::six_hashes
