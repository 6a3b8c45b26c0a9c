#include "app/ranking_screen.hpp"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "app/controls.hpp"
#include "app/files.hpp"
#include "app/large_answer.hpp"
#include "app/ranking_state.hpp"
#include "app/screen.hpp"
#include "app/window.hpp"
#include "commands/ranking_text.hpp"
#include "commands/search_command.hpp"
#include "history/history.hpp"
#include "history/polish.hpp"
#include "history/replacing_file.hpp"
#include "search/odds.hpp"

using namespace zestawy;

namespace {

const char kCaption[] = "Ranking oczekiwania";
constexpr long long kDefaultTop = 20, kMostTop = 10000;
const std::string kDefaultTopText = std::to_string(kDefaultTop);
const std::string kTopLabel = "Zestawów (do " + grouped(kMostTop) + ")";
const std::string kTopWrong = "Liczba zestawów musi wynosić od 1 do " + grouped(kMostTop) + ".";

// In the same design units as the other controls. The sheet, first, covers the
// labels of the other screens.
const std::vector<ScreenRow> kRankingRows = rowsOf(
    {screenStart(kRankGame, 160),
     listRows("Wyszukiwanie", 180, kRankSearch, 200, 32, 180, 400),
     editRows(kLastDrawsLabel, 200, kRankLast, 400, 32, 150, ES_NUMBER),
     editRows(kTopLabel.c_str(), 170, kRankTop, 620, 32, 100, ES_NUMBER, kDefaultTopText.c_str()),
     {
         {"BUTTON", "Pokaż", kRankShow, 800, 30, 110, 32, WS_TABSTOP, 0},
         {"BUTTON", "Przerwij", kRankStop, 920, 30, 110, 32, WS_DISABLED | WS_TABSTOP, 0},
         {"BUTTON", "Zapisz ranking...", kRankSave, 1040, 30, 150, 32, WS_TABSTOP, 0},
         {PROGRESS_CLASSA, "", kRankProgress, 1200, 34, 130, 24, 0, 0},
         {"STATIC", "Wybierz grę i wyszukiwanie, a potem kliknij „Pokaż”.", kRankOdds, 20, 72, 1310,
          52, 0, 0, 0, 1000},
         {WC_LISTVIEWA, "", kRankTable, 20, 130, 560, 590,
          LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE,
          0, 333, 0, 1000},
         {kCouponClassName, "", kRankCoupon, 600, 130, 730, 590, 0, 0, 333, 667, 0, 1000},
     }});

const std::vector<ListColumn> kColumns = {
    {"Czeka (losowań)", 120}, {"Ostatnio", 160}, {"Zestaw", 250}};

RankingScreen& screenOf(const WindowState& state) {
    return *state.ranking;
}

// ---- The table ----

void fillSearches(const WindowState& state) {
    fillRankingSearches(state.control(kRankGame), state.control(kRankSearch));
}

void sortTable(RankingScreen& screen, int column) {
    if (!screen.shown) return;
    screen.descending = column == screen.sortColumn && !screen.descending;
    screen.sortColumn = column;
    const RankingResult& r = *screen.shown;
    auto key = [&](std::size_t i) {
        const RankedSet& set = r.ranking[i];
        return column == 0   ? std::vector<long long>{static_cast<long long>(set.wait)}
               : column == 1 ? std::vector<long long>{set.lastSeen}
                             : std::vector<long long>(set.numbers.begin(), set.numbers.end());
    };
    std::stable_sort(screen.order.begin(), screen.order.end(), [&](std::size_t a, std::size_t b) {
        return screen.descending ? key(b) < key(a) : key(a) < key(b);
    });
    InvalidateRect(screen.table, nullptr, TRUE);
}

// The selected rows as text, as the file holds them, onto the clipboard.
void copySelection(const WindowState& state) {
    const RankingScreen& screen = screenOf(state);
    if (!screen.shown) return;
    std::string text;
    for (int i = -1; (i = static_cast<int>(
                          SendMessageW(screen.table, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
        text += rankingLine(screen.shown->rows[screen.order[static_cast<std::size_t>(i)]], "\r\n");
    if (text.empty() || !OpenClipboard(state.main)) return;
    EmptyClipboard();
    const std::wstring unicode = wide(text);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (unicode.size() + 1) * sizeof(wchar_t))) {
        auto* to = static_cast<wchar_t*>(GlobalLock(memory));
        if (to) {
            std::copy(unicode.c_str(), unicode.c_str() + unicode.size() + 1, to);
            GlobalUnlock(memory);
        }
        if (!to || !SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

// ---- Commands ----

void enableWhileRunning(const WindowState& state, bool running) {
    EnableWindow(state.control(kRankSave), !running);
    switchRunStop(state.control(kRankShow), state.control(kRankStop), running);
}

void show(WindowState& state) {
    RankingScreen& screen = screenOf(state);
    const int game = static_cast<int>(SendMessageW(state.control(kRankGame), CB_GETCURSEL, 0, 0));
    const HWND searches = state.control(kRankSearch);
    const LRESULT search = SendMessageW(searches, CB_GETCURSEL, 0, 0);
    const std::string last = windowText(state.control(kRankLast)),
                      top = windowText(state.control(kRankTop));
    const long long draws = last.empty() ? 0 : parseCount(last);
    const long long sets = top.empty() ? kDefaultTop : parseCount(top);
    const char* wrong = game < 0 || search < 0 ? "Wybierz grę i wyszukiwanie."
                        : !last.empty() && draws <= 0
                            ? "Liczba losowań musi być dodatnia (puste pole: wszystkie)."
                        : sets < 1 || sets > kMostTop ? kTopWrong.c_str()
                                                      : nullptr;
    if (wrong) {
        messageBox(state.main, wrong, kCaption, MB_ICONEXCLAMATION);
        return;
    }
    RankingJob job{&kGames[game],
                   findSearchCommand(static_cast<int>(
                       SendMessageW(searches, CB_GETITEMDATA, static_cast<WPARAM>(search), 0))),
                   draws, static_cast<std::size_t>(sets)};
    screen.stop(state);
    // The earlier ranking goes as the new one starts.
    screen.shown.reset();
    screen.order.clear();
    screen.pairsOf = 0;
    SendMessageW(screen.table, LVM_SETITEMCOUNT, 0, 0);
    InvalidateRect(screen.coupon, nullptr, FALSE);
    enableWhileRunning(state, true);
    SendMessageW(screen.progress, PBM_SETPOS, 0, 0);
    setWindowText(screen.odds, "Liczę...");
    screen.worker.start(state.main,
                        [job](ProgressPoster& post) { return rankInBackground(job, post); });
}

void save(const WindowState& state) {
    const RankingScreen& screen = screenOf(state);
    if (!screen.shown || screen.shown->rows.empty()) {
        messageBox(state.main, "Najpierw pokaż ranking („Pokaż”).", kCaption, MB_ICONEXCLAMATION);
        return;
    }
    saveTextOrCsv(state.main, kCaption, [&](bool csv) {
        if (csv) return rankingCsv(screen.shown->rows);
        std::string text;
        for (const RankingRow& row : screen.shown->rows) text += rankingLine(row, "\r\n");
        return text;
    });
}

}  // namespace

CouponPicture RankingScreen::picture() const {
    CouponPicture picture;
    picture.hint = "Tu pojawi się kupon: ile losowań czeka każda liczba.";
    const RankingResult* r = shown.get();
    if (!r || r->numberWaits.empty()) return picture;
    picture.game = r->game;
    const int n = r->game->rules.maxNumber, drawn = r->game->rules.numbersPerDraw;
    const bool pairs = pairsOf > 0;
    picture.waits = pairs ? pairWaits : r->numberWaits;
    picture.gap = 1 / waitOdds(drawn, {pairs ? 2 : 1, pairs ? 2 : 1, n}, 1).perDraw;
    picture.chosen.assign(static_cast<std::size_t>(n) + 1, false);
    if (pairs) picture.chosen[static_cast<std::size_t>(pairsOf)] = true;
    picture.heading = pairs ? "Pary z liczbą " + std::to_string(pairsOf) +
                                  ": ile losowań czeka każda para (średnio co " +
                                  decimal(picture.gap) + "). Kliknij, by wrócić do liczb."
                            : "Liczby: ile losowań czeka każda (średnio co " +
                                  decimal(picture.gap) + "). Kliknij liczbę, by zobaczyć jej pary.";
    return picture;
}

void RankingScreen::click(int number) {
    if (!shown || shown->numberWaits.empty()) return;
    if (pairsOf > 0) {
        pairsOf = 0;
    } else if (number > 0) {
        pairsOf = number;
        pairWaits = waitsOfPairsWith(shown->taken.draws, shown->game->rules.maxNumber, number);
    }
}

void createRankingScreen(WindowState& state, HINSTANCE instance) {
    state.ranking = std::make_shared<RankingScreen>();
    RankingScreen& screen = *state.ranking;
    screen.make(state, instance, kRankingRows, {{kRankTable, &kColumns}});
    screen.table = state.control(kRankTable);
    screen.coupon = state.control(kRankCoupon);
    screen.odds = state.control(kRankOdds);
    screen.progress = state.control(kRankProgress);
    setCouponSource(screen.coupon, &screen);
    fillGames(state.control(kRankGame));
    fillSearches(state);
}

bool RankingScreen::command(WindowState& state, int id, int code) {
    switch (id) {
        case kRankGame:
            if (code == CBN_SELCHANGE) fillSearches(state);
            return true;
        case kRankShow:
            show(state);
            return true;
        case kRankStop:
            screenOf(state).worker.stop = true;
            return true;
        case kRankSave:
            save(state);
            return true;
        default:
            return owns(id);  // its labels and fields
    }
}

bool RankingScreen::notify(WindowState& state, const NMHDR& header, LRESULT& result) {
    if (header.idFrom != static_cast<UINT_PTR>(kRankTable)) return false;
    RankingScreen& screen = *this;
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
            if (!(item.mask & LVIF_TEXT) || !screen.shown ||
                item.iItem >= static_cast<int>(screen.order.size()))
                return true;
            const std::size_t at = screen.order[static_cast<std::size_t>(item.iItem)];
            const RankingRow& row = screen.shown->rows[at];
            const std::string& text = item.iSubItem == 0   ? row.wait
                                      : item.iSubItem == 2 ? row.set
                                      : screen.shown->ranking[at].lastSeen < 0
                                          ? std::string("nigdy")
                                          : row.seen;
            lstrcpynW(item.pszText, wide(text).c_str(), item.cchTextMax);
            return true;
        }
        case LVN_COLUMNCLICK:
            sortTable(screen, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return true;
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == 'C' &&
                (GetKeyState(VK_CONTROL) & 0x8000))
                copySelection(state);
            return true;
        default:
            return false;
    }
}

void RankingScreen::onMessage(WindowState& state, WPARAM what, LPARAM percent) {
    RankingScreen& screen = *this;
    if (showProgress(what, percent, screen.progress)) return;
    if (what == 2) {  // the table is done; the sets that never appeared are counted
        if (screen.worker.current(percent)) {
            SendMessageW(screen.progress, PBM_SETPOS, 0, 0);
            setWindowText(screen.odds,
                          "Ranking gotowy; liczę zestawy, które nie pojawiły się ani razu...");
        }
        return;
    }
    std::unique_ptr<RankingResult> result =
        takeFinished(state.control(kRankShow), state.control(kRankStop), screen.progress);
    if (!result) return;  // taken already
    EnableWindow(state.control(kRankSave), TRUE);
    setWindowText(screen.odds, oddsLine(*result).c_str());
    screen.shown = std::move(result);
    screen.order.resize(screen.shown->rows.size());
    for (std::size_t i = 0; i < screen.order.size(); ++i) screen.order[i] = i;
    screen.sortColumn = -1;
    screen.pairsOf = 0;
    SendMessageW(screen.table, LVM_SETITEMCOUNT, screen.order.size(), 0);
    fitColumns(state, screen.table, kColumns);
    InvalidateRect(screen.table, nullptr, TRUE);
    InvalidateRect(screen.coupon, nullptr, FALSE);
}
