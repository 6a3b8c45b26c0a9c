// "Pobierz najnowsze wyniki" and the tool's --download: each game's results
// fetched from its source and merged into its history by the update's rules
// (commands/update.hpp), all or nothing per game.
#pragma once

#include <functional>
#include <string>

#include "commands/update.hpp"
#include "net/fetch.hpp"

namespace zestawy {

struct GameDownload {
    const GameRow* game = nullptr;
    bool fetched = false;
    bool stopped = false;  // stopped while fetching
    std::string failure;   // not fetched: why (Fetched::failure)
    UpdatePlan plan;       // fetched: what the update did
};

// Fetches the game's file from `url` and updates the history file at
// `history` with it. The fetch asks keepGoing (from other threads too), the
// update keepWriting (as updateHistoryFile asks it); once either says no,
// nothing more is done and the history is as it was.
GameDownload downloadInto(const std::string& history, const std::string& url, const GameRow& game,
                          const FetchLimits& limits,
                          const std::function<void(std::size_t, std::size_t)>& progress,
                          const std::function<bool()>& keepGoing,
                          const std::function<bool()>& keepWriting);

// What a download did, for the summary: one line ("Multi Multi: dopisano 212
// losowań, do 16978. 08.12.2026", "Lotto: nic nowego", "Mini Lotto: nie udało
// się pobrać (przekroczony czas: 30 s bez danych)"), followed by the update's
// own lines, indented, where it refused the file or has a warning.
std::string downloadSummary(const GameDownload& download);

// Whether the history changed.
inline bool changedHistory(const GameDownload& download) {
    return download.fetched && download.plan.kind == UpdateKind::Added;
}

}  // namespace zestawy
