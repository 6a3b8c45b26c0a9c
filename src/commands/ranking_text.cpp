#include "commands/ranking_text.hpp"

#include "history/history.hpp"

namespace zestawy {

RankingDraws rankingDraws(const std::vector<std::string>& historyLines, long long last,
                          const DrawRules& rules) {
    RankingDraws taken;
    const std::size_t total = historyLines.size();
    const std::size_t first = last > 0 && static_cast<std::size_t>(last) < total
                                  ? total - static_cast<std::size_t>(last)
                                  : 0;
    for (std::size_t i = first; i < total; ++i) {
        const std::string& line = historyLines[i];
        const std::string why = lineProblems(line, rules);
        if (!why.empty()) {
            if (taken.skipped++ == 0)
                taken.firstSkipped = "wiersz " + std::to_string(i + 1) + ": " + why;
            continue;
        }
        const std::size_t second = line.find(' ', line.find(' ') + 1);
        taken.labels.push_back(line.substr(0, second));
        taken.draws.push_back(line.substr(second + 1));
    }
    return taken;
}

std::vector<RankingRow> rankingRows(const std::vector<RankedSet>& ranking,
                                    const std::vector<std::string>& labels) {
    std::vector<RankingRow> rows;
    for (const RankedSet& ranked : ranking) {
        RankingRow row{std::to_string(ranked.wait), "-", ""};
        if (ranked.lastSeen >= 0) row.seen = labels[static_cast<std::size_t>(ranked.lastSeen)];
        for (int v : ranked.numbers) row.set += (row.set.empty() ? "" : ", ") + std::to_string(v);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string rankingLine(const RankingRow& row, const char* lineEnd) {
    return row.wait + "\t" + row.seen + "\t" + row.set + lineEnd;
}

std::string rankingCsv(const std::vector<RankingRow>& rows) {
    TextTable table{{"Czeka (losowań)", "Ostatnio w losowaniu", "Zestaw"}, {}};
    for (const RankingRow& row : rows) table.rows.push_back({row.wait, row.seen, row.set});
    return csv(table);
}

}  // namespace zestawy
