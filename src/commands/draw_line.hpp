// One line of a history or of a downloaded results file, read as a draw
// without allocating: what an update compares, checks and writes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "history/check.hpp"

namespace zestawy {

struct DrawLine {
    static constexpr int kMostNumbers = 32;  // more on a line are counted, not kept

    enum Kind {
        Blank,    // nothing but blanks
        Letters,  // a header or footer: a letter somewhere
        Stray,    // digits in no layout of a draw
        Draw,
    } kind = Blank;
    std::string_view text;        // without blanks around it
    std::string_view numberText;  // the draw number's digits as written
    std::uint64_t number = 0;     // 0 when it has more than 9 digits
    std::string_view date;        // as written
    long day = -1;                // dayNumber(date)
    int count = 0;                // numbers on the line, the Plus not among them
    std::array<std::string_view, kMostNumbers> tokens;  // as written, trimmed
    // Each token's value, -1 for one that is no number of at most 9 digits;
    // once valid() said yes, the numbers in ascending order.
    std::array<std::int32_t, kMostNumbers> values;
    std::string_view plus;  // the Plus number where the line has one
    bool commas = false;    // the comma-separated layout, whose numbers always rise

    // Reads the line; `text` must outlive the result.
    static DrawLine read(std::string_view text);

    // Whether it is a well-formed draw of the game with a Plus, where it has
    // one, of 0 to the highest number, and in the comma-separated layout its
    // numbers rising (a line cut in a number breaks that: "...,23,2"); when
    // it is, values holds its numbers in ascending order. (The Plus is one of the draw's numbers,
    // but one real draw of October 2009 has another: it is not held against a line.)
    bool valid(const DrawRules& rules);
    // Why it is not, in Polish: as the history check says of its own layout,
    // plus what that layout cannot show (a long draw number, the Plus).
    std::string problems(const DrawRules& rules) const;
    // Whether the numbers rise as written.
    bool rising() const;

    // "NUMBER. DATE n1,n2,...": the numbers without zero padding, in written
    // order, or in ascending order once valid() said yes.
    std::string ownLine(bool ascending) const;
    // The size of ownLine(true), without making it.
    std::size_t ownLineSize() const;
    // "NUMBER. DATE" with the number as a number.
    std::string label() const;
    // The same date and set of numbers; both must be valid.
    bool sameDraw(const DrawLine& other) const;
    // A hash of the date and the numbers; valid() must have said yes.
    std::uint64_t contentKey() const;
};

}  // namespace zestawy
