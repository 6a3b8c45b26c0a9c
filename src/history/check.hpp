// Checking a draw-history file line by line, for the users who keep the files
// up to date by hand: every line that is not a well-formed draw of its game,
// with why. Errors are values; the caller decides how to show them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "combinatorics/game_rules.hpp"
#include "history/history.hpp"

namespace zestawy {

// The day "dd.mm.yyyy" names, counted from 1 January of year 0; -1 when the
// text is not such a date or the calendar has no such day.
long dayNumber(std::string_view date);

struct LineProblem {
    std::size_t line;  // 1-based
    std::string why;   // Polish, Windows-1250; several reasons joined by "; "
};

// Why the line is not a well-formed draw, "" when it is. A well-formed line is
// "<number>. <dd.mm.yyyy> n1,n2,...": a decimal draw number with its period, a
// blank, a real calendar date, a blank, and exactly numbersPerDraw distinct
// decimal numbers of 1..maxNumber separated by single commas. Several reasons
// are joined by "; " and capped at a few.
std::string lineProblems(std::string_view line, const DrawRules& rules);

struct HistoryCheck {
    HistoryRead read = HistoryRead::Ok;  // as forEachLineOf tells it
    std::size_t lines = 0, bad = 0;
};

// Reads the file at `path` a piece at a time and calls report with each line
// that is not well-formed, in order, as soon as it is found; report returns
// false to stop, and so does keepGoing, asked every few thousand lines. Holds
// no more than a piece of the file, whatever its size.
HistoryCheck checkHistoryFile(const std::string& path, std::size_t maxBytes, const DrawRules& rules,
                              const std::function<bool(const LineProblem&)>& report,
                              const std::function<bool()>& keepGoing = {});

}  // namespace zestawy
