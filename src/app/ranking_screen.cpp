#include "app/ranking_screen.hpp"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "app/controls.hpp"
#include "app/files.hpp"
#include "app/large_answer.hpp"
#include "app/ranking_state.hpp"
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
const char kTextFiles[] =
    "Pliki tekstowe (*.txt)\0*.txt\0CSV dla Excela (*.csv)\0*.csv\0Wszystkie pliki (*.*)\0*.*\0";

// Whether the name ends in ".csv", in any case: the ranking is then saved for
// a spreadsheet.
bool csvName(const std::string& path) {
    return path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".csv") == 0;
}
constexpr long long kDefaultTop = 20, kMostTop = 10000;
const std::string kDefaultTopText = std::to_string(kDefaultTop);
const std::string kTopLabel = "Zestawów (do " + grouped(kMostTop) + ")";
const std::string kTopWrong = "Liczba zestawów musi wynosić od 1 do " + grouped(kMostTop) + ".";

struct RankingControlRow {
    const char* cls;
    const char* caption;
    int id;
    int x, y, w, h;
    DWORD style, exStyle;
    // In a window larger than the design: the share, in thousandths, of the
    // extra width by which it moves right and grows, and of the extra height
    // by which it grows.
    int moveX = 0, growW = 0, growH = 0;
};

// In the same design units as the other controls. The sheet, first, covers the
// labels of the other screens.
const RankingControlRow kRankingRows[] = {
    {"STATIC", "", 0, 0, 0, 1350, 750, 0, 0, 0, 1000, 1000},
    {"STATIC", "Gra", 0, 20, 10, 160, 20, 0, 0},
    {"COMBOBOX", "", kRankGame, 20, 32, 160, 200, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {"STATIC", "Wyszukiwanie", 0, 200, 10, 180, 20, 0, 0},
    {"COMBOBOX", "", kRankSearch, 200, 32, 180, 400, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {"STATIC", "Losowań (puste: wszystkie)", 0, 400, 10, 200, 20, 0, 0},
    {"EDIT", "", kRankLast, 400, 32, 150, 28, ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE},
    {"STATIC", kTopLabel.c_str(), 0, 620, 10, 170, 20, 0, 0},
    {"EDIT", kDefaultTopText.c_str(), kRankTop, 620, 32, 100, 28,
     ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {"BUTTON", "Pokaż", kRankShow, 800, 30, 110, 32, WS_TABSTOP, 0},
    {"BUTTON", "Przerwij", kRankStop, 920, 30, 110, 32, WS_DISABLED | WS_TABSTOP, 0},
    {"BUTTON", "Zapisz ranking...", kRankSave, 1040, 30, 150, 32, WS_TABSTOP, 0},
    {PROGRESS_CLASSA, "", kRankProgress, 1200, 34, 130, 24, 0, 0},
    {"STATIC", "Wybierz grę i wyszukiwanie, a potem kliknij „Pokaż”.", kRankOdds, 20, 72, 1310, 52,
     0, 0, 0, 1000, 0},
    {WC_LISTVIEWA, "", kRankTable, 20, 130, 560, 590,
     LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE, 0,
     333, 1000},
    {kCouponClassName, "", kRankCoupon, 600, 130, 730, 590, 0, 0, 333, 667, 1000},
};

struct Column {
    const char* title;
    int width;
};
const Column kColumns[] = {{"Czeka (losowań)", 120}, {"Ostatnio", 160}, {"Zestaw", 250}};

RankingScreen& screenOf(const WindowState& state) {
    return *state.ranking;
}

std::string textOf(HWND hwnd) {
    char text[64] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// ---- The table ----

void fillSearches(const WindowState& state) {
    const HWND games = state.control(kRankGame), searches = state.control(kRankSearch);
    const int game = static_cast<int>(SendMessageA(games, CB_GETCURSEL, 0, 0));
    SendMessageA(searches, CB_RESETCONTENT, 0, 0);
    // The searches that a ranking can judge, in the order of the game's panel.
    for (int i = 0; i < kControlCount; ++i) {
        const SearchCommand* command = findSearchCommand(kControls[i].id);
        if (kControls[i].kind != ControlKind::Button || !command ||
            command->game != kGames[game].game || rankingQuery(*command).setSize == 0)
            continue;
        const LRESULT at =
            SendMessageA(searches, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(command->caption));
        SendMessageA(searches, CB_SETITEMDATA, static_cast<WPARAM>(at), command->id);
    }
    SendMessageA(searches, CB_SETCURSEL, 0, 0);
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
                          SendMessageA(screen.table, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
        text += rankingLine(screen.shown->rows[screen.order[static_cast<std::size_t>(i)]], "\r\n");
    if (text.empty() || !OpenClipboard(state.main)) return;
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        char* to = static_cast<char*>(GlobalLock(memory));
        if (to) {
            std::copy(text.c_str(), text.c_str() + text.size() + 1, to);
            GlobalUnlock(memory);
        }
        if (!to || !SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

// ---- Commands ----

void enableWhileRunning(const WindowState& state, bool running) {
    EnableWindow(state.control(kRankShow), !running);
    EnableWindow(state.control(kRankSave), !running);
    EnableWindow(state.control(kRankStop), running);
}

void show(WindowState& state) {
    RankingScreen& screen = screenOf(state);
    const int game = static_cast<int>(SendMessageA(state.control(kRankGame), CB_GETCURSEL, 0, 0));
    const HWND searches = state.control(kRankSearch);
    const LRESULT search = SendMessageA(searches, CB_GETCURSEL, 0, 0);
    const std::string last = textOf(state.control(kRankLast)),
                      top = textOf(state.control(kRankTop));
    const long long draws = last.empty() ? 0 : parseCount(last);
    const long long sets = top.empty() ? kDefaultTop : parseCount(top);
    const char* wrong = game < 0 || search < 0 ? "Wybierz grę i wyszukiwanie."
                        : !last.empty() && draws <= 0
                            ? "Liczba losowań musi być dodatnia (puste pole: wszystkie)."
                        : sets < 1 || sets > kMostTop ? kTopWrong.c_str()
                                                      : nullptr;
    if (wrong) {
        MessageBoxA(state.main, wrong, kCaption, MB_ICONEXCLAMATION);
        return;
    }
    RankingJob job{&kGames[game],
                   findSearchCommand(static_cast<int>(
                       SendMessageA(searches, CB_GETITEMDATA, static_cast<WPARAM>(search), 0))),
                   draws, static_cast<std::size_t>(sets), 0};
    stopRanking(state);
    job.generation = ++screen.generation;
    screen.stop = false;
    enableWhileRunning(state, true);
    SendMessageA(screen.progress, PBM_SETPOS, 0, 0);
    SetWindowTextA(screen.odds, "Liczę...");
    screen.worker = std::thread(rankInBackground, state.main, std::ref(screen), job);
}

void save(const WindowState& state) {
    const RankingScreen& screen = screenOf(state);
    if (!screen.shown || screen.shown->rows.empty()) {
        MessageBoxA(state.main, "Najpierw pokaż ranking („Pokaż”).", kCaption, MB_ICONEXCLAMATION);
        return;
    }
    std::string path;
    if (!chooseFile(state.main, {true, {kTextFiles, sizeof kTextFiles}, 0, nullptr, "txt", false},
                    path))
        return;
    std::string text;
    if (csvName(path))
        text = rankingCsv(screen.shown->rows);
    else
        for (const RankingRow& row : screen.shown->rows) text += rankingLine(row, "\r\n");
    if (!replaceFile(path, text)) {
        const std::string why =
            "Nie udało się zapisać pliku '" + shownPath(path) + "': " + lastErrorText();
        MessageBoxA(state.main, why.c_str(), kCaption, MB_ICONERROR);
    }
}

}  // namespace

void createRankingControls(WindowState& state, HINSTANCE instance) {
    INITCOMMONCONTROLSEX common = {sizeof common, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&common);
    registerCouponClass(instance);

    state.ranking = std::make_shared<RankingScreen>();
    RankingScreen& screen = *state.ranking;
    for (const RankingControlRow& row : kRankingRows) {
        const HWND hwnd = CreateWindowExA(
            row.exStyle, row.cls, row.caption, WS_CHILD | row.style, 0, 0, 0, 0, state.main,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        // The table too in the window's font: a list view's own is smaller.
        const HGDIOBJ font = state.controlFont ? state.controlFont : GetStockObject(SYSTEM_FONT);
        if (state.controlFont || row.id == kRankTable)
            SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        screen.controls.push_back(hwnd);
    }
    layoutRanking(state);
    screen.table = state.control(kRankTable);
    screen.coupon = state.control(kRankCoupon);
    screen.odds = state.control(kRankOdds);
    screen.progress = state.control(kRankProgress);
    for (const GameRow& game : kGames)
        SendMessageA(state.control(kRankGame), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(game.name));
    SendMessageA(state.control(kRankGame), CB_SETCURSEL, 0, 0);
    fillSearches(state);
    SendMessageA(screen.table, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(kColumns[i].title);
        // Wide enough for its caption in the table's font, whatever the scale.
        const int caption = static_cast<int>(SendMessageA(
            screen.table, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(kColumns[i].title)));
        column.cx = std::max(state.scaled(kColumns[i].width), caption + state.scaled(20));
        SendMessageA(screen.table, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void layoutRanking(const WindowState& state) {
    if (!state.ranking) return;  // not made yet
    RECT client;
    GetClientRect(state.main, &client);
    // The room beyond the design size; the layout never shrinks below it.
    const int dx = std::max(0, static_cast<int>(client.right) - state.scaled(kClientWidth));
    const int dy = std::max(0, static_cast<int>(client.bottom) - state.scaled(kClientHeight));
    for (std::size_t i = 0; i < std::size(kRankingRows); ++i) {
        const RankingControlRow& row = kRankingRows[i];
        // Scaled by their edges, as the other controls are.
        const int x = state.scaled(row.x), y = state.scaled(row.y);
        const int w = state.scaled(row.x + row.w) - x, h = state.scaled(row.y + row.h) - y;
        MoveWindow(state.ranking->controls[i], x + dx * row.moveX / 1000, y,
                   w + dx * row.growW / 1000, h + dy * row.growH / 1000, TRUE);
    }
}

std::vector<HWND> rankingControls(const WindowState& state) {
    return state.ranking ? state.ranking->controls : std::vector<HWND>{};
}

void stopRanking(WindowState& state) {
    if (!state.ranking) return;
    RankingScreen& screen = *state.ranking;
    if (!screen.worker.joinable()) return;
    screen.stop = true;
    ++screen.generation;
    screen.worker.join();
    // Its end message is still on the way: what it left is taken now.
    onRankingMessage(state, 1, 0);
}

bool handleRankingCommand(WindowState& state, int id, int code) {
    switch (id) {
        case kRankGame:
            if (code == CBN_SELCHANGE) fillSearches(state);
            return true;
        case kRankShow:
            show(state);
            return true;
        case kRankStop:
            screenOf(state).stop = true;
            return true;
        case kRankSave:
            save(state);
            return true;
        case kRankSearch:
        case kRankLast:
        case kRankTop:
            return true;
        default:
            return false;
    }
}

bool rankingKey(WindowState& state, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !state.ranking || !IsWindowVisible(state.control(kRankShow)) ||
        !IsChild(state.main, msg.hwnd))
        return false;
    const int id = GetDlgCtrlID(msg.hwnd);
    switch (msg.wParam) {
        case VK_TAB:
            if (const HWND next =
                    GetNextDlgTabItem(state.main, msg.hwnd, GetKeyState(VK_SHIFT) < 0))
                SetFocus(next);
            return true;
        case VK_RETURN: {
            // An open list takes its own Enter.
            const bool list = id == kRankGame || id == kRankSearch;
            if (list && SendMessageA(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0)) return false;
            if (!list && id != kRankLast && id != kRankTop) return false;
            if (IsWindowEnabled(state.control(kRankShow))) show(state);
            return true;
        }
        case VK_ESCAPE:
            if (!IsWindowEnabled(state.control(kRankStop))) return false;
            screenOf(state).stop = true;
            return true;
        default:
            return false;
    }
}

bool handleRankingNotify(WindowState& state, const NMHDR& header, LRESULT& result) {
    if (header.idFrom != static_cast<UINT_PTR>(kRankTable) || !state.ranking) return false;
    RankingScreen& screen = screenOf(state);
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header)).item;
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
            lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
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

void onRankingMessage(WindowState& state, WPARAM what, LPARAM percent) {
    if (!state.ranking) return;
    RankingScreen& screen = screenOf(state);
    const bool current = progressOf(screen.generation, 0) == (percent & ~LPARAM{0xFF});
    if (what == 0) {
        if (current)
            SendMessageA(screen.progress, PBM_SETPOS, static_cast<WPARAM>(percent & 0xFF), 0);
        return;
    }
    if (what == 2) {  // the table is done; the sets that never appeared are counted
        if (current) {
            SendMessageA(screen.progress, PBM_SETPOS, 0, 0);
            SetWindowTextA(screen.odds,
                           "Ranking gotowy; liczę zestawy, które nie pojawiły się ani razu...");
        }
        return;
    }
    std::unique_ptr<RankingResult> result;
    {
        const std::lock_guard<std::mutex> lock(screen.mutex);
        result = std::move(screen.finished);
    }
    if (!result) return;  // taken already
    if (screen.worker.joinable()) screen.worker.join();
    enableWhileRunning(state, false);
    SendMessageA(screen.progress, PBM_SETPOS, 0, 0);
    SetWindowTextA(screen.odds, oddsLine(*result).c_str());
    screen.shown = std::move(result);
    screen.order.resize(screen.shown->rows.size());
    for (std::size_t i = 0; i < screen.order.size(); ++i) screen.order[i] = i;
    screen.sortColumn = -1;
    screen.pairsOf = 0;
    SendMessageA(screen.table, LVM_SETITEMCOUNT, screen.order.size(), 0);
    InvalidateRect(screen.table, nullptr, TRUE);
    InvalidateRect(screen.coupon, nullptr, FALSE);
}

HBRUSH rankingColour(const WindowState& state, HDC dc, HWND control) {
    if (!state.ranking) return nullptr;
    const std::vector<HWND>& controls = state.ranking->controls;
    const char* cls = nullptr;
    char name[32] = "";
    GetClassNameA(control, name, sizeof name);
    cls = name;
    if (std::find(controls.begin(), controls.end(), control) == controls.end() ||
        lstrcmpiA(cls, "STATIC") != 0)
        return nullptr;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, kGrey);
    return state.greyBrush;
}
