#include "cli/ranking_report.hpp"

#include <algorithm>

#include "history/history.hpp"
#include "search/ranking.hpp"

namespace zestawy::cli {

namespace {

std::string setText(const std::vector<int>& numbers) {
    std::string text;
    for (int v : numbers) text += (text.empty() ? "" : ", ") + std::to_string(v);
    return text;
}

}  // namespace

int rankSets(const Options& o, const std::vector<std::string>& lines, Output& out, std::FILE* err) {
    // The draws as loading them gives, but those with no numbers, which the
    // numbers box shows as empty lines and the searches leave out.
    std::vector<std::string> labels, draws;
    for (const LoadedLine& line :
         loadedLines(lines, o.last ? o.last : static_cast<long long>(lines.size()) + 1)) {
        if (line.numbers.empty()) continue;
        labels.emplace_back(line.dates);
        draws.emplace_back(line.numbers);
    }
    std::vector<RankedSet> ranking;
    {
        Progress progress(err);
        ranking = longestWaits(draws, o.commands[0]->sets, o.top ? o.top : 10, [&](double done) {
            progress.done(std::min(1.0, done));
            return true;
        });
    }
    struct Row {
        std::string wait, seen, set;
    };
    std::vector<Row> rows;
    for (const RankedSet& set : ranking)
        rows.push_back({std::to_string(set.wait),
                        set.lastSeen < 0 ? "-" : labels[static_cast<std::size_t>(set.lastSeen)],
                        setText(set.numbers)});
    std::string text;
    if (out.isTerminal()) {
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
        for (const Row& row : rows) text += row.wait + "\t" + row.seen + "\t" + row.set + "\n";
    }
    out.write(text);
    return finishOutput(out, err);
}

}  // namespace zestawy::cli
