#include "app/wheel_work.hpp"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "app/ranking_screen.hpp"
#include "app/ranking_state.hpp"
#include "app/screen.hpp"
#include "app/ticket_screen.hpp"
#include "combinatorics/parse.hpp"
#include "history/polish.hpp"
#include "search/shared_walk.hpp"

using namespace zestawy;

namespace {

// Runs `work` into a fresh result; nothing leaves it: a failure is said.
template <class Work>
std::unique_ptr<WheelResult> guardedWork(std::string WheelResult::*said, Work work) {
    auto result = std::make_unique<WheelResult>();
    try {
        work(*result);
    } catch (const std::bad_alloc&) {
        (*result).*said = "Za mało pamięci, by to policzyć.";
    } catch (const std::exception& e) {
        (*result).*said = std::string("Nie udało się policzyć: ") + e.what();
    }
    return result;
}

std::string joinedNumbers(const std::vector<int>& numbers) {
    std::string text;
    for (int n : numbers) text += (text.empty() ? "" : ", ") + std::to_string(n);
    return text;
}

}  // namespace

std::unique_ptr<WheelResult> makeInBackground(const GameRow& game, const std::vector<int>& numbers,
                                              const WheelShape& shape, ProgressPoster& post) {
    return guardedWork(&WheelResult::error, [&](WheelResult& r) {
        r.game = &game;
        r.numbers = numbers;
        r.shape = shape;
        r.made =
            makeSystem(shape, 0, machineThreads(), [&](double done) { return post(0.9 * done); });
        if (r.made.found.tickets.empty()) {
            r.error = "Przerwano.";
            return;
        }
        r.lines = wheelLines(r.made.found.tickets, numbers);
        r.tickets = wheelTable(r.lines);
        const int most = std::min(shape.v, game.rules.numbersPerDraw);
        const std::vector<SureHits> sure =
            sureHits(r.made.found.tickets, shape.v, shape.k, most, kMostHitsWalk, machineThreads());
        r.inexact = std::any_of(sure.begin(), sure.end(),
                                [](const SureHits& s) { return s.low != s.high; });
        r.sure = sureHitsTable(sure, game, shape.v, ',');
    });
}

std::unique_ptr<WheelResult> historyInBackground(const WheelResult& system, long long last,
                                                 ProgressPoster& post) {
    return guardedWork(&WheelResult::historyLine, [&](WheelResult& r) {
        r.historyOnly = true;
        RankingDraws taken;
        r.historyLine = readDraws(*system.game, last, taken);
        if (!r.historyLine.empty()) return;
        const WheelShape& shape = system.shape;
        const std::vector<WheelMask>& tickets = system.made.found.tickets;
        const std::vector<std::size_t> counts =
            bestHitsCounts(tickets, shape.k, drawMasks(taken.draws, system.numbers));
        const DrawRules& rules = system.game->rules;
        const HitsChance chance = bestHitsChance(
            tickets, shape.v, shape.k, rules.maxNumber, rules.numbersPerDraw,
            hitsWalk(tickets.size()), hitsSamples(tickets.size()), [&] { return post(0.5); });
        if (chance.chance.empty()) {
            r.historyLine = "Przerwano.";
            return;
        }
        r.history = wheelHistoryTable(counts, chance, ',');
        const std::size_t n = taken.draws.size();
        r.historyLine = "Najlepszy zakład w każdym z " + grouped(n) + " " +
                        nounForm(n, "losowania", "losowań", "losowań") +
                        "; „Przypadek”: średnio tyle losowań z samego przypadku" +
                        (chance.sampled ? " (z symulacji)" : "") +
                        ", w 90% historii od „Zwykle od” do „do”.";
    });
}

std::string systemSummary(const WheelResult& system, long long price) {
    const WheelShape& shape = system.shape;
    std::string text = "Twoje liczby (" + std::to_string(shape.v) +
                       "): " + joinedNumbers(system.numbers) + ". " +
                       ticketsCount(system.lines.size()) + " po " + std::to_string(shape.k) +
                       " liczb, gwarancja „" + guaranteeName(shape) + "” " +
                       (system.made.verified ? "sprawdzona" : "NIESPRAWDZONA") + "; " +
                       foundHow(system.made) + ". ";
    text += price >= 0 ? "Koszt: " + costLine(system.lines.size(), price) + "."
                       : "Koszt: wpisz cenę zakładu, np. 3,00.";
    if (system.inexact) text += " Przedział w tabeli gwarancji: tylu nie policzono dokładnie.";
    return text + "\n" + honestSentence(*system.game, shape);
}

TakenNumbers rankingNumbers(const WindowState& state) {
    TakenNumbers taken;
    const RankingScreen* screen = state.ranking.get();
    if (!screen || !screen->shown || screen->shown->rows.empty()) {
        taken.error = "Najpierw pokaż ranking (menu „Analiza”, „Ranking oczekiwania...”).";
        return taken;
    }
    const RankingResult& shown = *screen->shown;
    taken.game = shown.game;
    std::vector<std::size_t> rows;
    for (int i = -1;
         (i = static_cast<int>(SendMessageW(screen->table, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                            LVNI_SELECTED))) >= 0;)
        if (static_cast<std::size_t>(i) < screen->order.size())
            rows.push_back(screen->order[static_cast<std::size_t>(i)]);
    const bool selected = !rows.empty();
    if (!selected) rows = screen->order;
    const std::size_t most = static_cast<std::size_t>(mostWheelNumbers(*shown.game));
    std::set<int> numbers;
    for (std::size_t row : rows) {
        std::set<int> more = numbers;
        forEachNumber(shown.rows[row].set, [&](int n) { more.insert(n); });
        if (more.size() > most) {
            if (selected)
                taken.error =
                    "Zaznaczone zestawy mają razem więcej niż " + std::to_string(most) + " liczb.";
            break;
        }
        numbers = more;
    }
    taken.text = joinedNumbers({numbers.begin(), numbers.end()});
    return taken;
}

TakenNumbers ticketScreenNumbers(const WindowState& state) {
    TakenNumbers taken;
    taken.game = chosenGame(state.control(kTicketGame));
    taken.text = windowText(state.control(kTicketNumbers));
    if (!taken.game || taken.text.find_first_of("0123456789") == std::string::npos)
        taken.error = "Najpierw wpisz liczby w menu „Analiza”, „Sprawdź swoje liczby...”.";
    return taken;
}
