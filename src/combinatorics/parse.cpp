#include "combinatorics/parse.hpp"

#include <climits>

namespace zestawy {

std::string_view trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

namespace detail {

bool readToken(const char* p, const char* end, int& value) {
    // White space as the C locale's isspace sees it.
    while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p == end || *p < '0' || *p > '9') return false;
    // Accumulate as a negative number so that INT_MIN itself fits.
    long long acc = 0;
    bool overflow = false;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        if (!overflow) {
            acc = acc * 10 - (*p - '0');
            if (acc < -static_cast<long long>(INT_MAX) - 1) overflow = true;
        }
    }
    if (overflow) return false;
    if (!negative) {
        if (acc < -static_cast<long long>(INT_MAX)) return false;
        acc = -acc;
    }
    value = static_cast<int>(acc);
    return true;
}

}  // namespace detail

std::set<int> parseLine(const std::string& line) {
    std::set<int> numbers;
    forEachNumber(line, [&](int v) { numbers.insert(v); });
    return numbers;
}

std::vector<int> parseLineForPairs(const std::string& line) {
    std::vector<int> numbers;
    forEachNumber(line, [&](int v) { numbers.push_back(v); });
    return numbers;
}

}  // namespace zestawy
