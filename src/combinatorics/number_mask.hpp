// A set of lottery numbers as a 128-bit mask: what the exhaustive searches
// walk over and what the random Multi Multi searches compare draws with.
#pragma once

#include <cstdint>

namespace zestawy {

namespace detail {
// Bytes of the result hold the numbers of set bits of the bytes of w (0..8).
inline std::uint64_t byteCounts(std::uint64_t w) {
    w = w - ((w >> 1) & 0x5555555555555555ull);
    w = (w & 0x3333333333333333ull) + ((w >> 2) & 0x3333333333333333ull);
    return (w + (w >> 4)) & 0x0F0F0F0F0F0F0F0Full;
}
}  // namespace detail

// A set of the numbers 1..128; number v is bit v - 1.
struct NumberMask {
    std::uint64_t word[2] = {0, 0};

    // Numbers 1..last (last in 0..128).
    static NumberMask upTo(int last) {
        NumberMask m;
        m.word[0] = last >= 64 ? ~0ull : (1ull << last) - 1;
        m.word[1] = last >= 128 ? ~0ull : last > 64 ? (1ull << (last - 64)) - 1 : 0;
        return m;
    }
    // Numbers above `number` (number in 0..128).
    static NumberMask above(int number) { return ~upTo(number); }

    // REQUIRES number in 1..128.
    void set(int number) {
        // Both words named, not word[index]: so a mask built number by number
        // stays in registers.
        const std::uint64_t bit = 1ull << ((number - 1) & 63);
        if (number <= 64)
            word[0] |= bit;
        else
            word[1] |= bit;
    }
    bool test(int number) const { return (word[(number - 1) >> 6] >> ((number - 1) & 63)) & 1; }

    bool empty() const { return (word[0] | word[1]) == 0; }
    // Without a popcnt instruction in the target the builtin becomes a library
    // call; the portable count adds the byte counts of both words before the
    // one multiplication that sums them (at most 128 fits in a byte).
    int count() const {
#ifdef __POPCNT__
        return __builtin_popcountll(word[0]) + __builtin_popcountll(word[1]);
#else
        const std::uint64_t bytes = detail::byteCounts(word[0]) + detail::byteCounts(word[1]);
        return static_cast<int>((bytes * 0x0101010101010101ull) >> 56);
#endif
    }
    // Whether the set holds at least m numbers, m >= 1; cheaper than count()
    // for small m.
    bool hasAtLeast(int m) const {
        unsigned __int128 v = static_cast<unsigned __int128>(word[1]) << 64 | word[0];
        for (; m > 1; --m) v &= v - 1;
        return v != 0;
    }
    // The smallest number in the set. REQUIRES !empty().
    int lowest() const {
        return word[0] ? __builtin_ctzll(word[0]) + 1 : __builtin_ctzll(word[1]) + 65;
    }
    void removeLowest() {
        if (word[0])
            word[0] &= word[0] - 1;
        else
            word[1] &= word[1] - 1;
    }

    NumberMask operator~() const {
        NumberMask m;
        m.word[0] = ~word[0];
        m.word[1] = ~word[1];
        return m;
    }
    NumberMask& operator|=(const NumberMask& o) {
        word[0] |= o.word[0];
        word[1] |= o.word[1];
        return *this;
    }
    // Set difference: removes the numbers of o.
    NumberMask& operator-=(const NumberMask& o) {
        word[0] &= ~o.word[0];
        word[1] &= ~o.word[1];
        return *this;
    }
    NumberMask& operator&=(const NumberMask& o) {
        word[0] &= o.word[0];
        word[1] &= o.word[1];
        return *this;
    }
    friend NumberMask operator&(NumberMask a, const NumberMask& b) {
        return a &= b;
    }

    friend bool operator==(const NumberMask& a, const NumberMask& b) {
        return a.word[0] == b.word[0] && a.word[1] == b.word[1];
    }
    // An order for sorting sets so that repeats come together: the masks
    // compared as 128-bit integers, not the sets' numbers lexicographically.
    friend bool operator<(const NumberMask& a, const NumberMask& b) {
        return a.word[1] != b.word[1] ? a.word[1] < b.word[1] : a.word[0] < b.word[0];
    }
};

}  // namespace zestawy
