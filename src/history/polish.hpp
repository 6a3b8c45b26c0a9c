// How a Polish noun agrees with a count.
#pragma once

#include <cstdint>

namespace zestawy {

// The form of the noun after the count n: one for 1 ("1 losowanie"), few for
// 2-4 except 12-14 ("3 losowania", "22 losowania"), many otherwise ("5 losowań",
// "12 losowań", "0 losowań").
inline const char* nounForm(std::uint64_t n, const char* one, const char* few, const char* many) {
    const std::uint64_t tens = n % 100, ones = n % 10;
    return n == 1 ? one : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? few : many;
}

}  // namespace zestawy
