#include "cli/update_report.hpp"

#include <optional>

#include "cli/check_report.hpp"
#include "cli/output.hpp"
#include "commands/update.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"

namespace zestawy::cli {

int update(const Options& o, const std::string& historyPath, bool givenHistory, std::FILE* err) {
    std::string download;
    const HistoryRead read = readWholeFile(o.updatePath, download, kMaxHistoryBytes);
    if (read != HistoryRead::Ok) {
        sayPath(err, "zestawy-cli: nie można przeczytać pliku '", o.updatePath,
                read == HistoryRead::TooLarge ? "': ma ponad " + historyLimitText() + "\n"
                                              : std::string("'\n"));
        return 2;
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
            return 2;
        case UpdateKind::Stopped:
            return 130;
        default:
            return 1;
    }
}

}  // namespace zestawy::cli
