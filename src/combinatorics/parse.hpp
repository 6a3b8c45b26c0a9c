// Reading the numbers of one draw line.
//
// A draw line holds numbers separated by commas ("3,17,22"), possibly with
// blanks or tabs around them and a carriage return at the end. Each token
// between commas is read as a C++ stream reads an int: leading white space is
// skipped, then an optional sign and decimal digits, and whatever follows the
// digits is ignored ("7abc" is 7, "3.9" is 3). A token with no number, or with
// a value outside the range of int, is skipped silently. Nothing checks the
// range of a lottery game: what the line holds is what the caller gets.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zestawy {

// White space as the C locale's isspace sees it.
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

// The text without the characters of `blanks` at either end.
std::string_view trimmed(std::string_view text, std::string_view blanks = kWhiteSpace);

// The distinct numbers of the line, ascending.
std::set<int> parseLine(const std::string& line);

// The numbers of the line in written order, repeats kept.
std::vector<int> parseLineForPairs(const std::string& line);

// Calls visit(int) for each number of the line in written order, repeats kept;
// the allocation-free core of both parsers above.
template <class Visit>
void forEachNumber(const std::string& line, Visit&& visit);

namespace detail {
// Reads the number at the start of token [begin, end) as `stream >> int` would.
// Returns false when there is none or it does not fit an int.
bool readToken(const char* begin, const char* end, int& value);
}  // namespace detail

template <class Visit>
void forEachNumber(const std::string& line, Visit&& visit) {
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p != end) {
        const char* comma = p;
        while (comma != end && *comma != ',') ++comma;
        int value;
        if (detail::readToken(p, comma, value)) visit(value);
        // A comma at the very end starts no further token.
        p = comma == end ? end : comma + 1;
    }
}

}  // namespace zestawy
