// The ranking as text: the draws it is made over, taken from a history as
// "Wczytaj" takes them, and its rows as the tool writes them and the window's
// "Zapisz ranking..." saves them.
#pragma once

#include <string>
#include <vector>

#include "commands/analysis_text.hpp"
#include "history/check.hpp"
#include "search/ranking.hpp"

namespace zestawy {

// The draws among the last `last` lines of a history (every line for 0),
// counted as "Wczytaj" counts them: the lines that the history check accepts
// for the game. Each draw's numbers and its "number. date", and how many of
// those lines were no draw.
struct RankingDraws {
    std::vector<std::string> draws, labels;
    std::size_t skipped = 0;
    std::string firstSkipped;  // "wiersz 12: <why>", or ""
};
RankingDraws rankingDraws(const std::vector<std::string>& historyLines, long long last,
                          const DrawRules& rules);

struct RankingRow {
    std::string wait;  // draws since the set last appeared
    std::string seen;  // the number and date of that draw, "-" when it never did
    std::string set;   // "1, 2, 21, 22"
};
std::vector<RankingRow> rankingRows(const std::vector<RankedSet>& ranking,
                                    const std::vector<std::string>& labels);

// "wait TAB seen TAB set" and the line end.
std::string rankingLine(const RankingRow& row, const char* lineEnd);

// The rows as a spreadsheet file (csv of commands/analysis_text.hpp), after
// a header row.
std::string rankingCsv(const std::vector<RankingRow>& rows);

}  // namespace zestawy
