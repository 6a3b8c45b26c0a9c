#include "cli/ranking_report.hpp"

#include <algorithm>

#include "commands/ranking_text.hpp"
#include "search/shared_walk.hpp"

namespace zestawy::cli {

int rankSets(const Options& o, const std::vector<std::string>& lines, Output& out, std::FILE* err) {
    const RankingDraws taken = rankingDraws(lines, o.last, o.game->rules);
    if (taken.skipped > 0)
        say(err, "zestawy-cli: pominięto wiersze, które nie są losowaniami (jak mówi --check): " +
                     std::to_string(taken.skipped) + "\n");
    if (taken.draws.empty()) {
        say(err, "zestawy-cli: w pliku nie ma żadnego losowania do rankingu\n");
        return kExitUsage;
    }
    std::vector<RankedSet> ranking;
    {
        Progress progress(err);
        ranking = longestWaits(
            taken.draws, rankingQuery(*o.commands[0]), o.top,
            [&](double done) {
                progress.done(std::min(1.0, done));
                return true;
            },
            threadsOf(o));
    }
    using Row = RankingRow;
    const std::vector<Row> rows = rankingRows(ranking, taken.labels);
    std::string text;
    if (o.csv) {
        text = rankingCsv(rows);
    } else if (out.isTerminal()) {
        // Columns aligned by bytes: the texts are Windows-1250, a byte a character.
        const Row header{"Czeka losowań", "Ostatnio w losowaniu", "Zestaw"};
        std::size_t waitWidth = header.wait.size(), seenWidth = header.seen.size();
        for (const Row& row : rows) {
            waitWidth = std::max(waitWidth, row.wait.size());
            seenWidth = std::max(seenWidth, row.seen.size());
        }
        auto line = [&](const Row& row) {
            return std::string(waitWidth - row.wait.size(), ' ') + row.wait + "  " + row.seen +
                   std::string(seenWidth - row.seen.size(), ' ') + "  " + row.set + "\n";
        };
        text += line(header);
        for (const Row& row : rows) text += line(row);
    } else {
        for (const Row& row : rows) text += rankingLine(row, "\n");
    }
    if (o.csv)
        out.writeBytes(text);
    else
        out.write(text);
    return finishOutput(out, err);
}

}  // namespace zestawy::cli
