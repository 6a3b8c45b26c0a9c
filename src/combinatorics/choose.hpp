// The number of ways to choose k of n.
#pragma once

namespace zestawy {

// C(n, k); 0 where k < 0, n < 0 or k > n. As a double by default; as an
// integer type T it is exact while C(n - 1, k - 1) x n fits in T (each step
// multiplies C(n - k + i - 1, i - 1) by n - k + i and divides by i exactly).
template <typename T = double>
constexpr T choose(int n, int k) {
    if (k < 0 || n < 0 || k > n) return 0;
    T c = 1;
    for (int i = 1; i <= k; ++i) c = c * static_cast<T>(n - k + i) / static_cast<T>(i);
    return c;
}

}  // namespace zestawy
