// How a Polish noun agrees with a count.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace zestawy {

// The form of the noun after the count n: one for 1 ("1 losowanie"), few for
// 2-4 except 12-14 ("3 losowania", "22 losowania"), many otherwise ("5 losowań",
// "12 losowań", "0 losowań").
inline const char* nounForm(std::uint64_t n, const char* one, const char* few, const char* many) {
    const std::uint64_t tens = n % 100, ones = n % 10;
    return n == 1 ? one : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? few : many;
}

// "16 962", "3 160": a whole number with no-break spaces (Windows-1250)
// between thousands, so that it stays whole where a line breaks.
inline std::string grouped(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, "\xA0");
    return digits;
}

// "3,53 mld", "52,4 mln", "45,2 tys.": a large count in three figures; below
// ten thousand the whole number ("9 999").
inline std::string compactCount(double n) {
    const struct {
        double unit;
        const char* name;
    } units[] = {{1e9, " mld"}, {1e6, " mln"}, {1e4, " tys."}};
    for (const auto& u : units) {
        if (n < u.unit) continue;
        const double v = n / (u.unit == 1e4 ? 1e3 : u.unit);
        char text[32];
        std::snprintf(text, sizeof text, v >= 100 ? "%.0f" : v >= 10 ? "%.1f" : "%.2f", v);
        std::string s = text;
        for (char& c : s)
            if (c == '.') c = ',';
        return s + u.name;
    }
    return grouped(static_cast<std::uint64_t>(std::llround(std::max(0.0, n))));
}

}  // namespace zestawy
