// The ranking screen's worker, which never touches a control, and the odds
// line made from what it found.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/files.hpp"
#include "app/ranking_screen.hpp"
#include "app/ranking_state.hpp"
#include "history/history.hpp"
#include "history/polish.hpp"
#include "search/shared_walk.hpp"

using namespace zestawy;

std::string decimal(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", x);
    // 999.96 rounds to 1000.0: from there on, whole numbers in groups.
    if (std::strtod(text, nullptr) >= 1000)
        return grouped(static_cast<std::uint64_t>(std::llround(x)));
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

namespace {

// The ranking itself, into `result`.
void rank(HWND main, RankingScreen& screen, const RankingJob& job, RankingResult& found) {
    RankingResult* result = &found;
    const NeverDrawnQuery& query = job.command->sets;
    std::vector<std::string> lines;
    const std::string path = findHistory(*job.game);
    if (path.empty()) {
        result->error = historyMissing(*job.game);
    } else if (readHistoryFile(path, lines, kMaxHistoryBytes) != HistoryRead::Ok) {
        result->error = "Nie udało się przeczytać pliku '" + shownPath(path) + "'.";
    } else if ((result->taken = rankingDraws(lines, job.last, job.game->rules)).draws.empty()) {
        result->error = "W pliku '" + shownPath(path) + "' nie ma żadnego losowania.";
    } else {
        const std::vector<std::string>& draws = result->taken.draws;
        int percent = -1;
        result->ranking = longestWaits(
            draws, query, job.top,
            [&](double done) {
                const int now = static_cast<int>(done * 100);
                if (now != percent)
                    PostMessageA(main, kRankingMessage, 0,
                                 progressOf(job.generation, percent = now));
                return !screen.stop;
            },
            machineThreads());
        result->rows = rankingRows(result->ranking, result->taken.labels);
        result->odds = waitOdds(job.game->rules.numbersPerDraw, query, draws.size());
        if (!result->ranking.empty() && result->ranking.front().lastSeen < 0)
            forEachNeverDrawnGroup(draws, query, [&](const int*, const NumberMask& last) {
                result->neverSeen += static_cast<std::uint64_t>(last.count());
                return !screen.stop;
            });
        result->numberWaits = waitsOfNumbers(draws, query.maxNumber);
        result->stopped = screen.stop;
    }
}

}  // namespace

void rankInBackground(HWND main, RankingScreen& screen, RankingJob job) {
    // Nothing may leave the thread: a ranking that runs out of memory, or
    // fails otherwise, ends with a sentence in place of its table (made
    // first, so that saying so needs no memory).
    auto failed = std::make_unique<RankingResult>();
    failed->game = job.game;
    failed->command = job.command;
    std::unique_ptr<RankingResult> result;
    try {
        result = std::make_unique<RankingResult>(*failed);
        rank(main, screen, job, *result);
    } catch (const std::bad_alloc&) {
        failed->error = "Za mało pamięci, by policzyć ten ranking.";
        result = std::move(failed);
    } catch (const std::exception& e) {
        failed->error = std::string("Nie udało się policzyć rankingu: ") + e.what();
        result = std::move(failed);
    }
    {
        const std::lock_guard<std::mutex> lock(screen.mutex);
        screen.finished = std::move(result);
    }
    PostMessageA(main, kRankingMessage, 1, 0);
}

std::string oddsLine(const RankingResult& r) {
    if (!r.error.empty()) return r.error;
    if (r.stopped) return "Przerwano.";
    const std::size_t draws = r.taken.draws.size();
    std::string text = std::string("„") + r.command->caption + "” (" + r.game->name + "), " +
                       grouped(draws) + " " + nounForm(draws, "losowanie", "losowania", "losowań") +
                       ": taki zestaw pojawia się średnio co " + decimal(1 / r.odds.perDraw) +
                       " losowania.";
    if (!r.ranking.empty())
        text += " Najdłużej czeka " + grouped(r.ranking.front().wait) +
                "; sam przypadek daje zwykle " + grouped(r.odds.low) + "–" + grouped(r.odds.high) +
                " (mediana " + grouped(r.odds.median) + ") wśród " +
                grouped(static_cast<std::uint64_t>(r.odds.sets)) + " zestawów.";
    if (r.neverSeen > 0)
        text += " " + grouped(r.neverSeen) + " " +
                nounForm(r.neverSeen, "zestaw nie pojawił", "zestawy nie pojawiły",
                         "zestawów nie pojawiło") +
                " się ani razu: ich oczekiwanie to długość historii, a nie przerwa.";
    return text + "\nLosowania są niezależne: długie oczekiwanie nie zwiększa szansy zestawu.";
}
