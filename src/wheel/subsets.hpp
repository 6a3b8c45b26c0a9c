// The m-subsets of a player's v numbers as bit masks (bit i: the player's
// i-th number, ascending), and the two orders the wheel code counts them in:
// lexicographic (the order the verifier reports in) and colexicographic (the
// index of a subset in the generator's cover counts). Small and inline.
#pragma once

#include <array>
#include <cstdint>

namespace zestawy::subsets {

// The largest v of any wheel: masks are one 64-bit word.
constexpr int kMostNumbers = 40;

// Pascal's triangle up to C(64, r), every entry within 64 bits.
struct Binomials {
    std::array<std::array<std::uint64_t, 65>, 65> c{};
    constexpr Binomials() {
        for (int n = 0; n <= 64; ++n) {
            c[n][0] = 1;
            for (int r = 1; r <= n; ++r) c[n][r] = c[n - 1][r - 1] + (r < n ? c[n - 1][r] : 0);
        }
    }
};
inline constexpr Binomials kBinomials{};

// binomial(n, r) for n, r <= 64; 0 when r > n or either is negative (a
// ticket of every number leaves none to swap in: C(-1, r)).
inline std::uint64_t binomial(int n, int r) {
    if (n < 0 || r < 0 || r > n) return 0;
    return kBinomials.c[static_cast<std::size_t>(n)][static_cast<std::size_t>(r)];
}

inline int count(std::uint64_t mask) {
    return __builtin_popcountll(mask);
}

inline int lowest(std::uint64_t mask) {
    return __builtin_ctzll(mask);
}

// The colexicographic index of a subset: the sum of C(e_i, i + 1) over its
// elements e_0 < e_1 < ..., so the subsets of 0..v-1 of one size are numbered
// 0..C(v, m)-1.
inline std::uint64_t colexIndex(std::uint64_t mask) {
    std::uint64_t index = 0;
    for (int i = 1; mask; ++i, mask &= mask - 1) index += binomial(lowest(mask), i);
    return index;
}

// The m-subset of colexIndex `index`.
inline std::uint64_t colexSubset(std::uint64_t index, int m) {
    std::uint64_t mask = 0;
    int e = kMostNumbers;
    for (int i = m; i >= 1; --i) {
        while (binomial(e, i) > index) --e;
        index -= binomial(e, i);
        mask |= std::uint64_t{1} << e;
    }
    return mask;
}

// The m-subset of 0..v-1 at `rank` in lexicographic order (by the elements
// ascending), as positions: out[0] < out[1] < ... < out[m-1].
inline void lexSubset(std::uint64_t rank, int v, int m, int* out) {
    int x = 0;
    for (int i = 0; i < m; ++i, ++x) {
        for (std::uint64_t c; rank >= (c = binomial(v - 1 - x, m - 1 - i)); ++x) rank -= c;
        out[i] = x;
    }
}

// The next m-subset of 0..v-1 in lexicographic order; false after the last.
inline bool nextLex(int* c, int v, int m) {
    int i = m - 1;
    while (i >= 0 && c[i] == v - m + i) --i;
    if (i < 0) return false;
    ++c[i];
    for (int j = i + 1; j < m; ++j) c[j] = c[j - 1] + 1;
    return true;
}

inline std::uint64_t maskOf(const int* c, int m) {
    std::uint64_t mask = 0;
    for (int i = 0; i < m; ++i) mask |= std::uint64_t{1} << c[i];
    return mask;
}

}  // namespace zestawy::subsets
