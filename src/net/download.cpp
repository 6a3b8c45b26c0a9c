#include "net/download.hpp"

#include "history/polish.hpp"

namespace zestawy {

GameDownload downloadInto(const std::string& history, const std::string& url, const GameRow& game,
                          const FetchLimits& limits,
                          const std::function<void(std::size_t, std::size_t)>& progress,
                          const std::function<bool()>& keepGoing,
                          const std::function<bool()>& keepWriting) {
    GameDownload download;
    download.game = &game;
    Fetched fetched = fetch(url, limits, progress, keepGoing);
    if (!fetched.ok) {
        download.failure = fetched.failure;
        download.stopped = fetched.stopped;
        return download;
    }
    download.fetched = true;
    download.plan = updateHistoryFile(history, fetched.body, game, keepWriting);
    return download;
}

std::string downloadSummary(const GameDownload& download) {
    std::string line = std::string(download.game->name) + ": ";
    if (download.stopped) return line + "przerwano, nic nie zapisano";
    if (!download.fetched) return line + "nie udało się pobrać (" + download.failure + ")";
    const UpdatePlan& plan = download.plan;
    bool details = plan.warning;
    switch (plan.kind) {
        case UpdateKind::Added:
            line += (plan.created ? "utworzono plik „" + plan.file + "” (" : "dopisano ") +
                    std::to_string(plan.added) + " " +
                    nounForm(plan.added, "losowanie", "losowania", "losowań") + ", do " +
                    plan.newest + (plan.created ? ")" : "");
            break;
        case UpdateKind::NothingNew:
            line += "nic nowego";
            break;
        case UpdateKind::Stopped:
            line += "przerwano, nic nie zapisano";
            break;
        default:
            line += "nic nie zapisano";
            details = true;
    }
    if (details)
        for (const std::string& why : plan.message) line += "\n    " + why;
    return line;
}

}  // namespace zestawy
