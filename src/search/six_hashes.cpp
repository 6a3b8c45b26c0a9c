#include "search/six_hashes.hpp"

#include <algorithm>
#include <new>

#include "combinatorics/game_rules.hpp"
#include "combinatorics/parse.hpp"

namespace zestawy::six_hashes {

namespace {

constexpr int kTop = kMultiRules.maxNumber;  // Multi Multi numbers are 1..kTop

// C(m, 6), or more than kMaxRecordedSixes when that is larger.
std::uint64_t sixSubsets(std::uint64_t m) {
    if (m < 6) return 0;
    if (m > 2000) return kMaxRecordedSixes + 1;  // C(2000, 6) is far above it
    std::uint64_t c = 1;  // C(m - 6 + j, j) for j = 1..6 in turn, exact at every step
    for (std::uint64_t j = 1; j <= 6; ++j) c = c * (m - 6 + j) / j;
    return c;
}

// The 84 hashes of a drawn nine.
void nineHashes(const Nine& nine, std::uint32_t* out) {
    std::uint32_t terms[6 * 9];
    forEachSixHash(nine.data(), 9, terms, [&](std::uint32_t h) { *out++ = h; });
}

}  // namespace

RecordedLines::RecordedLines(const std::vector<std::string>& draws) {
    for (const std::string& line : draws) {
        const std::size_t begin = numbers_.size();
        NumberMask m;
        forEachNumber(line, [&](int v) {
            numbers_.push_back(v);
            if (v >= 1 && v <= kTop) m.set(v);
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
        if (m.count() >= 6) sixInRange_.push_back(m);
    }
    std::sort(sixInRange_.begin(), sixInRange_.end());
    sixInRange_.erase(std::unique(sixInRange_.begin(), sixInRange_.end()), sixInRange_.end());
}

std::uint64_t RecordedLines::subsets() const {
    if (subsets_ > kMaxRecordedSixes) throw std::bad_alloc();
    return subsets_;
}

// The recorded hashes are looked up in the few hundred hashes of the pending
// draws, which a bitmap of 32 KB screens.
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

SixHashSet::SixHashSet(const RecordedLines& lines) {
    if (lines.subsets() > kMaxSortedSixes) {
        bits_.assign(std::size_t{1} << 26, 0);
        lines.forEachHash([&](std::uint32_t h) { bits_[h >> 6] |= std::uint64_t{1} << (h & 63); });
        return;
    }
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

bool SixHashSet::rejects(const Nine& nine) const {
    std::uint32_t hashes[84];
    nineHashes(nine, hashes);
    if (!bits_.empty()) {
        for (const std::uint32_t h : hashes)
            if ((bits_[h >> 6] >> (h & 63)) & 1) return true;
        return false;
    }
    for (const std::uint32_t h : hashes) {
        const auto first = lows_.begin() + offsets_[h >> 16];
        const auto last = lows_.begin() + offsets_[(h >> 16) + 1];
        if (std::binary_search(first, last, static_cast<std::uint16_t>(h))) return true;
    }
    return false;
}

}  // namespace zestawy::six_hashes
