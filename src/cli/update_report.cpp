#include "cli/update_report.hpp"

#include <optional>

#include "cli/check_report.hpp"
#include "cli/output.hpp"
#include "commands/update.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"
#include "net/download.hpp"
#include "net/sources.hpp"

namespace zestawy::cli {

int update(const Options& o, const std::string& historyPath, bool givenHistory,
           const std::string& programDir, std::FILE* err) {
    std::string download;
    // An address is fetched, whatever it gives: never read as a path (a
    // folder "http:" may well be there).
    if (isWebAddress(o.updatePath)) {
        // Ctrl-C ends the tool at once while it fetches: nothing is written yet.
        const Sources sources = findSources(programDir);
        if (!sources.error.empty()) {
            say(err, "zestawy-cli: " + sources.error + "\n");
            return kExitUsage;
        }
        Fetched fetched = fetch(o.updatePath, sources.limits);
        if (!fetched.ok) {
            say(err, "zestawy-cli: " + fetchFailedSentence(o.updatePath, fetched.failure) + "\n");
            return kExitUsage;
        }
        download = std::move(fetched.body);
    } else if (const HistoryRead read = readWholeFile(o.updatePath, download, kMaxHistoryBytes);
               read != HistoryRead::Ok) {
        sayPath(err, "zestawy-cli: nie można przeczytać pliku '", o.updatePath,
                read == HistoryRead::TooLarge ? "': ma ponad " + historyLimitText() + "\n"
                                              : std::string("'\n"));
        return kExitUsage;
    }
    // Until the update makes its temporary file, Ctrl-C ends the tool at
    // once; from then on it stops the update between the pieces it writes,
    // so that the temporary file goes with it. Once the history is replaced,
    // the update is done.
    std::optional<StopsByItself> stops;
    const UpdatePlan plan = updateHistoryFile(historyPath, download, *o.game, [&stops] {
        if (!stops) stops.emplace();
        return !stopRequested.stopped();
    });
    sayPath(err, "zestawy-cli: ", historyPath, ":\n");
    for (const std::string& line : plan.message) say(err, line + "\n");
    if (plan.kind == UpdateKind::CannotWrite && !givenHistory)
        say(err, "Wskaż plik wyników, który można zapisać: --history PLIK.\n");
    switch (plan.kind) {
        case UpdateKind::Added:
        case UpdateKind::NothingNew:
            return 0;
        case UpdateKind::NoDraws:
        case UpdateKind::CannotRead:
            return kExitUsage;
        case UpdateKind::Stopped:
            return kExitStopped;
        default:
            return kExitFailed;
    }
}

int downloadAll(const std::string& programDir, std::FILE* err) {
    const Sources sources = findSources(programDir);
    if (!sources.error.empty()) {
        say(err, "zestawy-cli: " + sources.error + "\n");
        return kExitUsage;
    }
    int code = 0;
    for (const GameRow& game : kGames) {
        // As --update: Ctrl-C ends the tool at once until the update makes
        // its temporary file, and then stops the update.
        std::optional<StopsByItself> stops;
        const GameDownload done =
            downloadInto(samplePath(game, programDir), sources.urls[static_cast<int>(game.game)],
                         game, sources.limits, {}, {}, [&stops] {
                             if (!stops) stops.emplace();
                             return !stopRequested.stopped();
                         });
        say(err, "zestawy-cli: " + downloadSummary(done) + "\n");
        if (done.fetched && done.plan.kind == UpdateKind::Stopped) return kExitStopped;
        if (!done.fetched ||
            (done.plan.kind != UpdateKind::Added && done.plan.kind != UpdateKind::NothingNew))
            code = kExitFailed;
    }
    return code;
}

}  // namespace zestawy::cli
