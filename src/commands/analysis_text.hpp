// The two questions of the "Analiza" menu as text: a player's ticket checked
// against the history, and the backtest of waiting. The window's tables, the
// tool's lines and the saved spreadsheets are all made here from one table of
// cells each.
#pragma once

#include <string>
#include <vector>

#include "combinatorics/game_rules.hpp"
#include "search/backtest.hpp"
#include "search/backtest_chance.hpp"
#include "search/ticket.hpp"

namespace zestawy {

// A table of text cells: its Polish column captions and its rows.
struct TextTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};
// The rows, one line each, the cells separated by TAB; no header.
std::string tabbed(const TextTable& table, const char* lineEnd);
// The header and the rows as a spreadsheet file that opens in columns on a
// Windows of any language: UTF-8 bytes after its byte-order mark, the cells
// separated by ';', every line ended in CR LF. The window saves and the tool
// writes these very bytes.
std::string csv(const TextTable& table);
// The header and the rows in columns aligned by bytes (the texts are
// Windows-1250, a byte a character), numbers to the right.
std::string aligned(const TextTable& table, const char* lineEnd);

// A number with `digits` significant digits, at least one decimal ("4213.7",
// "7.16", "0.0601", "0.00192"; with 2 digits "0.00059"), with the given
// decimal point.
std::string fraction(double x, char point, int digits = 3);

// The most numbers a ticket may have: a draw's count, at most 10.
int mostTicketNumbers(const DrawRules& rules);

// The numbers as a player types them ("3, 17, 22", also with spaces or
// semicolons), ascending; or, in `error`, what is wrong with them in Polish.
// At most `most` of them; 0: as many as a ticket has (mostTicketNumbers).
struct TicketNumbers {
    std::vector<int> numbers;
    std::string error;
};
TicketNumbers parseTicket(const std::string& text, const DrawRules& rules, int most = 0);
// A click on a number of the coupon: the numbers of the text, as far as they
// read so, with `number` added, or taken away where it was there; ascending,
// ", " between them. Parse the result for one number too many.
std::string toggledNumber(const std::string& text, const DrawRules& rules, int most, int number);

// The ticket's table: per number of hits, the draws, what chance gives and its
// 90% range, the newest such draw ("number. date", "-" when none) and how
// many draws ago ("-" when none). `labels` name the draws of the check.
TextTable ticketTable(const TicketCheck& check, const std::vector<std::string>& labels, char point);

// The line for the whole ticket, its conclusion first: how often all its
// numbers were drawn together against chance's range, then the newest such
// draw and how long ago it was (or that there was none).
std::string wholeTicketLine(const TicketCheck& check, const std::vector<std::string>& labels);

// The backtest's table: a row per group of waits (its label, chances,
// appearances, what chance gives, the rate in per cent and its 95%
// interval), then the top sets' row ("top10", chances, appearances, what
// chance gives, their rate and chance's 95% range, in per cent too).
// Small counts of what chance gives ("Średnio") keep two significant digits.
TextTable backtestTable(const Backtest& result, char point);

// One plain Polish sentence on what the backtest found, whatever it is.
// `chance`, where simulated, says how often chance alone puts as many of the
// judged groups outside; without it a lone excursion is still no finding.
std::string backtestSentence(const Backtest& result, const ChanceOutside& chance = {});

}  // namespace zestawy
