#include "app/backtest_screen.hpp"

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/backtest_chart.hpp"
#include "app/ranking_state.hpp"
#include "app/screen.hpp"
#include "app/screen_worker.hpp"
#include "commands/analysis_text.hpp"
#include "search/backtest.hpp"
#include "search/shared_walk.hpp"

using namespace zestawy;

struct BacktestScreen : WorkingScreen<BacktestShown> {
    BacktestScreen() : WorkingScreen(kCmdBacktest, kBackGame, kBacktestMessage) {}
    HWND chart = nullptr, sentence = nullptr, progress = nullptr;
    std::unique_ptr<BacktestShown> shown;

    bool command(WindowState& state, int id, int code) override;
    const TextTable* shownIn(int) const override { return shown ? &shown->table : nullptr; }
    void onMessage(WindowState& state, WPARAM what, LPARAM progress) override;
};

namespace {

const char kCaption[] = "Czy czekanie pomaga?";
const char kHint[] =
    "Przed każdym losowaniem historii każdy zestaw czeka już jakiś czas. Zestawy dzielą się na "
    "grupy według tego, ile razy dłużej od średniej przerwy czekały, a losowanie pokazuje, które "
    "się pojawiły. Gdyby długie czekanie zwiększało szansę, grupy długo czekających pojawiałyby "
    "się częściej niż inne. Wybierz grę i zestawy, a potem kliknij „Policz”.";

const std::vector<ScreenRow> kBacktestRows = rowsOf(
    {screenStart(kBackGame, 160),
     listRows("Zestawy", 180, kBackSearch, 200, 32, 180, 400),
     editRows(kLastDrawsLabel, 200, kBackLast, 400, 32, 150, ES_NUMBER),
     {
         {"BUTTON", "Policz", kBackRun, 570, 30, 110, 32, WS_TABSTOP, 0},
         {"BUTTON", "Przerwij", kBackStop, 690, 30, 110, 32, WS_DISABLED | WS_TABSTOP, 0},
         {PROGRESS_CLASSA, "", kBackProgress, 820, 34, 200, 24, 0, 0},
         {WC_LISTVIEWA, "", kBackTable, 20, 80, 580, 180,
          LVS_REPORT | LVS_OWNERDATA | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE},
         {"STATIC", kHint, 0, 20, 275, 580, 445, 0, 0, 0, 0, 0, 1000},
         {kBacktestChartClass, "", kBackChart, 620, 80, 710, 500, 0, 0, 0, 1000, 0, 1000},
         {"STATIC", "", kBackSentence, 620, 590, 710, 130, 0, 0, 0, 1000, 1000},
     }});

const std::vector<ListColumn> kColumns = {
    {"Czeka (razy średnio)", 130}, {"Szans", 90, LVCFMT_RIGHT},     {"Pojawień", 80, LVCFMT_RIGHT},
    {"Średnio", 80, LVCFMT_RIGHT}, {"Odsetek %", 70, LVCFMT_RIGHT}, {"95% od", 60, LVCFMT_RIGHT},
    {"do", 50, LVCFMT_RIGHT},
};

BacktestScreen& screenOf(const WindowState& state) {
    return *state.backtest;
}

void enableWhileRunning(const WindowState& state, bool running) {
    switchRunStop(state.control(kBackRun), state.control(kBackStop), running);
}

struct Job {
    const GameRow* game;
    const SearchCommand* command;
    long long last;
};

// The backtest, then chance's simulation: half the bar each.
std::unique_ptr<BacktestShown> backtestInBackground(const Job& job, ProgressPoster& post) {
    // Nothing may leave the thread: a failure ends in a sentence.
    auto found = std::make_unique<BacktestShown>();
    found->game = job.game;
    found->command = job.command;
    try {
        found->error = readDraws(*job.game, job.last, found->taken);
        if (!found->error.empty()) return found;
        const NeverDrawnQuery query = rankingQuery(*job.command);
        const int drawn = job.game->rules.numbersPerDraw;
        found->result = backtest(
            found->taken.draws, query, drawn, [&](double done) { return post(done / 2); },
            machineThreads());
        if (!found->result.stopped)
            found->chance = chanceOutside(
                found->result, found->taken.draws.size(), query, drawn,
                [&](double done) { return post(0.5 + done / 2); }, machineThreads());
        found->result.stopped = found->result.stopped || found->chance.stopped;
        found->table = backtestTable(found->result, ',');
    } catch (const std::bad_alloc&) {
        found->error = "Za mało pamięci, by to policzyć.";
    } catch (const std::exception& e) {
        found->error = std::string("Nie udało się policzyć: ") + e.what();
    }
    return found;
}

void run(WindowState& state) {
    BacktestScreen& screen = screenOf(state);
    const GameRow* game = chosenGame(state.control(kBackGame));
    const SearchCommand* command = chosenSearch(state.control(kBackSearch));
    const long long last = lastDrawsField(state.control(kBackLast));
    const char* wrong = !game || !command ? "Wybierz grę i zestawy."
                        : last < 0        ? kLastDrawsWrong
                                          : nullptr;
    if (wrong) {
        messageBox(state.main, wrong, kCaption, MB_ICONEXCLAMATION);
        return;
    }
    // The earlier result goes as the new one starts.
    screen.shown.reset();
    screen.showRows(state, kBackTable, nullptr);
    InvalidateRect(screen.chart, nullptr, FALSE);
    enableWhileRunning(state, true);
    SendMessageW(screen.progress, PBM_SETPOS, 0, 0);
    setWindowText(screen.sentence, "Liczę...");
    const Job job{game, command, last};
    screen.worker.start(state.main,
                        [job](ProgressPoster& post) { return backtestInBackground(job, post); });
}

// The sentence under the chart: what was found, or why nothing was.
std::string sentenceOf(const BacktestShown& shown) {
    if (!shown.error.empty()) return shown.error;
    if (shown.result.stopped) return "Przerwano.";
    return "„" + std::string(shown.command->caption) + "” (" + shown.game->name +
           "): " + backtestSentence(shown.result, shown.chance);
}

}  // namespace

void createBacktestScreen(WindowState& state, HINSTANCE instance) {
    registerBacktestChartClass(instance);
    state.backtest = std::make_shared<BacktestScreen>();
    BacktestScreen& screen = *state.backtest;
    screen.make(state, instance, kBacktestRows, {{kBackTable, &kColumns}});
    screen.chart = state.control(kBackChart);
    screen.sentence = state.control(kBackSentence);
    screen.progress = state.control(kBackProgress);
    fillGames(state.control(kBackGame));
    fillRankingSearches(state.control(kBackGame), state.control(kBackSearch));
}

const BacktestShown* shownBacktest(const WindowState& state) {
    return state.backtest && state.backtest->shown ? state.backtest->shown.get() : nullptr;
}

bool BacktestScreen::command(WindowState& state, int id, int code) {
    switch (id) {
        case kBackGame:
            if (code == CBN_SELCHANGE)
                fillRankingSearches(state.control(kBackGame), state.control(kBackSearch));
            return true;
        case kBackRun:
            run(state);
            return true;
        case kBackStop:
            worker.stop = true;
            return true;
        default:
            return owns(id);  // its labels and fields
    }
}

void BacktestScreen::onMessage(WindowState& state, WPARAM what, LPARAM percent) {
    BacktestScreen& screen = *this;
    if (showProgress(what, percent, screen.progress)) return;
    std::unique_ptr<BacktestShown> found =
        takeFinished(state.control(kBackRun), state.control(kBackStop), screen.progress);
    if (!found) return;  // taken already
    setWindowText(screen.sentence, sentenceOf(*found).c_str());
    // A stopped backtest's partial counts are not shown.
    if (found->result.stopped) found->table.rows.clear();
    screen.shown = std::move(found);
    screen.showRows(state, kBackTable, &screen.shown->table);
    InvalidateRect(screen.chart, nullptr, FALSE);
}
