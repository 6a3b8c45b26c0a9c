#include "cli/update_report.hpp"

#include "cli/check_report.hpp"
#include "cli/encoding.hpp"
#include "cli/output.hpp"
#include "commands/update.hpp"
#include "history/history.hpp"

namespace zestawy::cli {

namespace {

void sayPath(std::FILE* err, const char* before, const std::string& path, const char* after) {
    say(err, before);
    std::fputs(printablePath(path).c_str(), err);
    say(err, after);
}

}  // namespace

int update(const Options& o, const std::string& historyPath, bool givenHistory, std::FILE* err) {
    std::string download;
    if (readWholeFile(o.updatePath, download, kMaxHistoryBytes) != HistoryRead::Ok) {
        sayPath(err, "zestawy-cli: nie można przeczytać pliku '", o.updatePath,
                "' (albo ma ponad 256 MB)\n");
        return 2;
    }
    const UpdatePlan plan = updateHistoryFile(historyPath, download, *o.game);
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
        default:
            return 1;
    }
}

}  // namespace zestawy::cli
