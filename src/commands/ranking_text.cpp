#include "commands/ranking_text.hpp"

#include "history/history.hpp"

namespace zestawy {

RankingDraws rankingDraws(const std::vector<std::string>& historyLines, long long last) {
    RankingDraws taken;
    const long long every = static_cast<long long>(historyLines.size()) + 1;
    for (const LoadedLine& line : loadedLines(historyLines, last > 0 ? last : every)) {
        // Lines with no numbers show as empty lines, which the searches leave out.
        if (line.numbers.empty()) continue;
        taken.labels.emplace_back(line.dates);
        taken.draws.emplace_back(line.numbers);
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

}  // namespace zestawy
