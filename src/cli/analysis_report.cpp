#include "cli/analysis_report.hpp"

#include <algorithm>

#include "commands/analysis_text.hpp"
#include "commands/ranking_text.hpp"

namespace zestawy::cli {

namespace {

// The draws the report is made over, or nothing (with the message said).
RankingDraws drawsOf(const Options& o, const std::vector<std::string>& lines, std::FILE* err) {
    RankingDraws taken = rankingDraws(lines, o.last, o.game->rules);
    if (taken.skipped > 0)
        say(err, "zestawy-cli: pominięto wiersze, które nie są losowaniami (jak mówi --check): " +
                     std::to_string(taken.skipped) + "\n");
    if (taken.draws.empty()) say(err, "zestawy-cli: w pliku nie ma żadnego losowania\n");
    return taken;
}

// The table as the output asks: csv, aligned with a header (and a closing
// sentence) on a terminal, tab-separated lines otherwise.
int writeTable(const Options& o, const TextTable& tsv, const TextTable& polish,
               const std::string& sentence, Output& out, std::FILE* err) {
    if (o.csv)
        out.writeBytes(csv(polish));
    else if (out.isTerminal())
        out.write(aligned(polish, "\n") + "\n" + sentence + "\n");
    else
        out.write(tabbed(tsv, "\n"));
    return finishOutput(out, err);
}

}  // namespace

int ticketReport(const Options& o, const std::vector<std::string>& lines, Output& out,
                 std::FILE* err) {
    const RankingDraws taken = drawsOf(o, lines, err);
    if (taken.draws.empty()) return kExitUsage;
    const TicketCheck check = checkTicket(taken.draws, o.ticket, o.game->rules);
    return writeTable(o, ticketTable(check, taken.labels, '.'),
                      ticketTable(check, taken.labels, ','), wholeTicketLine(check, taken.labels),
                      out, err);
}

int backtestReport(const Options& o, const std::vector<std::string>& lines, Output& out,
                   std::FILE* err) {
    const RankingDraws taken = drawsOf(o, lines, err);
    if (taken.draws.empty()) return kExitUsage;
    const NeverDrawnQuery query = rankingQuery(*o.commands[0]);
    const int drawn = o.game->rules.numbersPerDraw;
    // Only a terminal reads the sentence, and only it needs chance's
    // simulation (half of the progress shown).
    const bool sentence = !o.csv && out.isTerminal();
    Backtest result;
    ChanceOutside chance;
    {
        Progress progress(err);
        const double share = sentence ? 0.5 : 1;
        result = backtest(
            taken.draws, query, drawn,
            [&](double done) {
                progress.done(std::min(1.0, done * share));
                return !stopRequested.stopped();
            },
            threadsOf(o));
        if (sentence && !result.stopped)
            chance = chanceOutside(
                result, taken.draws.size(), query, drawn,
                [&](double done) {
                    progress.done(std::min(1.0, 0.5 + done / 2));
                    return !stopRequested.stopped();
                },
                threadsOf(o));
        result.stopped = result.stopped || chance.stopped;
    }
    if (result.stopped) return finishOutput(out, err);
    // A terminal reads it in the sentence; a pipe or a sheet hears it here.
    if (result.sampled && (o.csv || !out.isTerminal()))
        say(err, "zestawy-cli: zbadano losową próbę " + std::to_string(result.followed) + " z " +
                     std::to_string(result.sets) + " zestawów\n");
    return writeTable(o, backtestTable(result, '.'), backtestTable(result, ','),
                      backtestSentence(result, chance), out, err);
}

}  // namespace zestawy::cli
