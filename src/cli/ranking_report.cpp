#include "cli/ranking_report.hpp"

#include <algorithm>

#include "search/ranking.hpp"

namespace zestawy::cli {

namespace {

// The draws of the lines as loading them gives: each line with two blanks
// split after the second into its number and date and its numbers, lines with
// no numbers left out.
struct Draws {
    std::vector<std::string> labels, numbers;
};

Draws drawsOf(const std::vector<std::string>& lines, long long last) {
    Draws draws;
    const std::size_t start = last > 0 && static_cast<std::size_t>(last) < lines.size()
                                  ? lines.size() - static_cast<std::size_t>(last)
                                  : 0;
    for (std::size_t i = start; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t first = line.find(' ');
        if (first == std::string::npos) continue;
        const std::size_t second = line.find(' ', first + 1);
        if (second == std::string::npos || second + 1 == line.size()) continue;
        draws.labels.push_back(line.substr(0, second));
        draws.numbers.push_back(line.substr(second + 1));
    }
    return draws;
}

std::string setText(const std::vector<int>& numbers) {
    std::string text;
    for (int v : numbers) text += (text.empty() ? "" : ", ") + std::to_string(v);
    return text;
}

}  // namespace

int rankSets(const Options& o, const std::vector<std::string>& lines, Output& out, std::FILE* err) {
    const Draws draws = drawsOf(lines, o.last);
    std::vector<RankedSet> ranking;
    {
        Progress progress(err);
        ranking = longestWaits(
            draws.numbers, o.commands[0]->sets, o.top ? o.top : 10, [&](int walks, int inAll) {
                progress.done(inAll > 0 ? std::min(1.0, 1.0 * walks / inAll) : 0.0);
            });
    }
    struct Row {
        std::string wait, seen, set;
    };
    std::vector<Row> rows;
    for (const RankedSet& set : ranking)
        rows.push_back(
            {std::to_string(set.wait),
             set.lastSeen < 0 ? "-" : draws.labels[static_cast<std::size_t>(set.lastSeen)],
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
