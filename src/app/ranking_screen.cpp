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
#include "app/found_sets.hpp"
#include "commands/polish.hpp"
#include "commands/ranking_text.hpp"
#include "commands/search_command.hpp"
#include "history/history.hpp"
#include "history/replacing_file.hpp"
#include "search/odds.hpp"

using namespace zestawy;

// What one ranking found: made by the worker, then read by the UI thread.
struct RankingResult {
    const GameRow* game = nullptr;
    const SearchCommand* command = nullptr;
    std::string error;  // why there is no ranking, or ""
    bool stopped = false;
    RankingDraws taken;
    std::vector<RankedSet> ranking;
    std::vector<RankingRow> rows;
    WaitOdds odds{};
    std::uint64_t neverSeen = 0;  // sets that never appeared in the draws
    std::vector<std::size_t> numberWaits;
};

struct RankingScreen {
    std::vector<HWND> controls;
    HWND table = nullptr, coupon = nullptr, odds = nullptr, progress = nullptr;

    std::thread worker;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::unique_ptr<RankingResult> finished;  // left here by the worker

    std::unique_ptr<RankingResult> shown;
    std::vector<std::size_t> order;  // the table's rows: indexes into shown->rows
    int sortColumn = -1;
    bool descending = false;
    int pairsOf = 0;  // the coupon shows the pairs of this number; 0: single numbers
    std::vector<std::size_t> pairWaits;

    ~RankingScreen() {
        stop = true;
        if (worker.joinable()) worker.join();
    }
};

namespace {

const char kCouponClass[] = "ZestawyKupon";
constexpr std::size_t kMaxFileBytes = 256u << 20;
constexpr long long kDefaultTop = 20, kMostTop = 10000;

struct RankingControlRow {
    const char* cls;
    const char* caption;
    int id;
    int x, y, w, h;
    DWORD style, exStyle;
};

// In the same design units as the other controls. The sheet, first, covers the
// labels of the other screens.
const RankingControlRow kRankingRows[] = {
    {"STATIC", "", 0, 0, 0, 1350, 750, 0, 0},
    {"STATIC", "Gra", 0, 20, 10, 160, 20, 0, 0},
    {"COMBOBOX", "", kRankGame, 20, 32, 160, 200, CBS_DROPDOWNLIST | WS_VSCROLL, 0},
    {"STATIC", "Wyszukiwanie", 0, 200, 10, 180, 20, 0, 0},
    {"COMBOBOX", "", kRankSearch, 200, 32, 180, 400, CBS_DROPDOWNLIST | WS_VSCROLL, 0},
    {"STATIC", "Losowań (puste: wszystkie)", 0, 400, 10, 200, 20, 0, 0},
    {"EDIT", "", kRankLast, 400, 32, 150, 28, ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {"STATIC", "Zestawów (do 10 000)", 0, 620, 10, 170, 20, 0, 0},
    {"EDIT", "20", kRankTop, 620, 32, 100, 28, ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {"BUTTON", "Pokaż", kRankShow, 800, 30, 110, 32, 0, 0},
    {"BUTTON", "Przerwij", kRankStop, 920, 30, 110, 32, WS_DISABLED, 0},
    {"BUTTON", "Zapisz ranking...", kRankSave, 1040, 30, 150, 32, 0, 0},
    {PROGRESS_CLASSA, "", kRankProgress, 1200, 34, 130, 24, 0, 0},
    {"STATIC", "Wybierz grę i wyszukiwanie, a potem kliknij „Pokaż”.", kRankOdds, 20, 72, 1310, 52,
     0, 0},
    {WC_LISTVIEWA, "", kRankTable, 20, 130, 560, 590,
     LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER, WS_EX_CLIENTEDGE},
    {kCouponClass, "", kRankCoupon, 600, 130, 730, 590, 0, 0},
};

struct Column {
    const char* title;
    int width;
};
const Column kColumns[] = {{"Czeka (losowań)", 120}, {"Ostatnio", 160}, {"Zestaw", 250}};

RankingScreen& screenOf(const WindowState& state) {
    return *state.ranking;
}

// "16 962", "3 160": whole numbers with no-break spaces between thousands.
std::string grouped(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, "\xA0");
    return digits;
}

// "16,6" below a thousand, whole numbers above.
std::string decimal(double x) {
    if (x >= 1000) return grouped(static_cast<std::uint64_t>(std::llround(x)));
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", x);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string textOf(HWND hwnd) {
    char text[64] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// ---- The worker ----

struct Job {
    const GameRow* game;
    const SearchCommand* command;
    long long last;
    std::size_t top;
};

void rank(HWND main, RankingScreen& screen, const Job& job) {
    auto result = std::make_unique<RankingResult>();
    result->game = job.game;
    result->command = job.command;
    const NeverDrawnQuery& query = job.command->sets;
    std::vector<std::string> lines;
    if (readHistoryFile(job.game->historyFile, lines, kMaxFileBytes) != HistoryRead::Ok) {
        result->error =
            std::string("Nie udało się przeczytać pliku '") + job.game->historyFile + "'.";
    } else if ((result->taken = rankingDraws(lines, job.last)).draws.empty()) {
        result->error =
            std::string("W pliku '") + job.game->historyFile + "' nie ma żadnego losowania.";
    } else {
        const std::vector<std::string>& draws = result->taken.draws;
        int percent = -1;
        result->ranking = longestWaits(
            draws, query, job.top,
            [&](double done) {
                const int now = static_cast<int>(done * 100);
                if (now != percent) PostMessageA(main, kRankingMessage, 0, percent = now);
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
    {
        const std::lock_guard<std::mutex> lock(screen.mutex);
        screen.finished = std::move(result);
    }
    PostMessageA(main, kRankingMessage, 1, 0);
}

// ---- The odds line ----

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

// ---- The table ----

void fillSearches(const WindowState& state) {
    const HWND games = state.control(kRankGame), searches = state.control(kRankSearch);
    const int game = static_cast<int>(SendMessageA(games, CB_GETCURSEL, 0, 0));
    SendMessageA(searches, CB_RESETCONTENT, 0, 0);
    // The exhaustive searches in the order of the game's panel.
    for (int i = 0; i < kControlCount; ++i) {
        const SearchCommand* command = findSearchCommand(kControls[i].id);
        if (kControls[i].kind != ControlKind::Button || !command ||
            command->game != kGames[game].game || command->sets.setSize == 0)
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
        std::copy(text.c_str(), text.c_str() + text.size() + 1,
                  static_cast<char*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
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
    const char* wrong =
        game < 0 || search < 0        ? "Wybierz grę i wyszukiwanie."
        : !last.empty() && draws <= 0 ? "Liczba losowań musi być dodatnia (puste pole: wszystkie)."
        : sets < 1 || sets > kMostTop ? "Liczba zestawów musi wynosić od 1 do 10 000."
                                      : nullptr;
    if (wrong) {
        MessageBoxA(state.main, wrong, "Ranking oczekiwania", MB_ICONEXCLAMATION);
        return;
    }
    const Job job{&kGames[game],
                  findSearchCommand(static_cast<int>(
                      SendMessageA(searches, CB_GETITEMDATA, static_cast<WPARAM>(search), 0))),
                  draws, static_cast<std::size_t>(sets)};
    stopRanking(state);
    screen.stop = false;
    enableWhileRunning(state, true);
    SendMessageA(screen.progress, PBM_SETPOS, 0, 0);
    SetWindowTextA(screen.odds, "Liczę...");
    screen.worker = std::thread(rank, state.main, std::ref(screen), job);
}

void save(const WindowState& state) {
    const RankingScreen& screen = screenOf(state);
    if (!screen.shown || screen.shown->rows.empty()) {
        MessageBoxA(state.main, "Najpierw pokaż ranking („Pokaż”).", "Ranking oczekiwania",
                    MB_ICONEXCLAMATION);
        return;
    }
    char path[MAX_PATH];
    if (!chooseFoundSetsFile(state.main, true, path)) return;
    std::string text;
    for (const RankingRow& row : screen.shown->rows) text += rankingLine(row, "\r\n");
    if (!replaceFile(path, text)) MessageBoxA(state.main, kSaveFailed, "Error", MB_ICONEXCLAMATION);
}

// ---- The coupon ----

struct CouponShape {
    int rows, columns;
};

CouponShape shapeOf(const GameRow& game) {
    switch (game.game) {
        case Game::MultiMulti:
            return {8, 10};
        case Game::MiniLotto:
            return {6, 7};
        default:
            return {7, 7};
    }
}

struct Band {
    double below;  // wait / average gap
    COLORREF colour;
    const char* name;
};
const Band kBands[] = {
    {1, RGB(200, 230, 200), "krócej niż średnio"},
    {2, RGB(255, 240, 170), "1–2 razy średnio"},
    {3, RGB(255, 205, 150), "2–3 razy"},
    {1e300, RGB(240, 150, 140), "ponad 3 razy"},
};
const COLORREF kChosen = RGB(160, 190, 240);
constexpr int kTitle = 30, kLegend = 36;  // design units

// The cell of the number v in the picture of the given client size.
RECT cellOf(const CouponShape& shape, int v, int width, int height, int title, int legend) {
    const int column = (v - 1) % shape.columns, row = (v - 1) / shape.columns;
    const int w = width / shape.columns, h = (height - title - legend) / shape.rows;
    return {column * w, title + row * h, (column + 1) * w, title + (row + 1) * h};
}

HFONT fontOf(int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
}

void drawText(HDC dc, const std::string& text, RECT box, UINT format, HFONT font) {
    const HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
    SelectObject(dc, old);
}

void paintCoupon(const WindowState& state, HDC dc, int width, int height) {
    const RankingScreen& screen = screenOf(state);
    const HBRUSH background = CreateSolidBrush(RGB(169, 169, 169));
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);
    const int title = state.scaled(kTitle), legend = state.scaled(kLegend);
    const HFONT small = fontOf(state.scaled(15), FW_NORMAL);
    const RankingResult* r = screen.shown.get();
    if (!r || r->numberWaits.empty()) {
        drawText(dc, "Tu pojawi się kupon: ile losowań czeka każda liczba.", {8, 8, width, title},
                 DT_LEFT | DT_SINGLELINE, small);
        DeleteObject(small);
        return;
    }
    const CouponShape shape = shapeOf(*r->game);
    const int n = r->command->sets.maxNumber, drawn = r->game->rules.numbersPerDraw;
    const bool pairs = screen.pairsOf > 0;
    const std::vector<std::size_t>& waits = pairs ? screen.pairWaits : r->numberWaits;
    const double gap = 1 / waitOdds(drawn, {pairs ? 2 : 1, pairs ? 2 : 1, n}, 1).perDraw;
    const std::string heading = pairs
                                    ? "Pary z liczbą " + std::to_string(screen.pairsOf) +
                                          ": ile losowań czeka każda para (średnio co " +
                                          decimal(gap) + "). Kliknij, by wrócić do liczb."
                                    : "Liczby: ile losowań czeka każda (średnio co " +
                                          decimal(gap) + "). Kliknij liczbę, by zobaczyć jej pary.";
    drawText(dc, heading, {8, 0, width, title}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, small);

    const RECT first = cellOf(shape, 1, width, height, title, legend);
    const int cellHeight = first.bottom - first.top;
    const HFONT big = fontOf(cellHeight * 2 / 5, FW_BOLD), note = fontOf(cellHeight / 4, FW_NORMAL);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(90, 90, 90));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int v = 1; v <= n; ++v) {
        RECT cell = cellOf(shape, v, width, height, title, legend);
        const double ratio = static_cast<double>(waits[static_cast<std::size_t>(v)]) / gap;
        COLORREF colour = kChosen;
        if (v != screen.pairsOf)
            for (const Band& band : kBands)
                if (ratio < band.below) {
                    colour = band.colour;
                    break;
                }
        const HBRUSH fill = CreateSolidBrush(colour);
        const HGDIOBJ oldBrush = SelectObject(dc, fill);
        Rectangle(dc, cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1);
        SelectObject(dc, oldBrush);
        DeleteObject(fill);
        RECT top = cell, bottom = cell;
        top.bottom = cell.top + cellHeight * 3 / 5;
        bottom.top = top.bottom;
        drawText(dc, std::to_string(v), top, DT_CENTER | DT_BOTTOM | DT_SINGLELINE, big);
        if (v != screen.pairsOf)
            drawText(dc, grouped(waits[static_cast<std::size_t>(v)]), bottom,
                     DT_CENTER | DT_TOP | DT_SINGLELINE, note);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    // The legend: the bands of wait against the average gap.
    const int count = sizeof kBands / sizeof kBands[0];
    for (int i = 0; i < count; ++i) {
        const RECT swatch = {i * width / count + 8, height - legend + 8,
                             i * width / count + 8 + legend - 16, height - 8};
        const HBRUSH fill = CreateSolidBrush(kBands[i].colour);
        FillRect(dc, &swatch, fill);
        DeleteObject(fill);
        drawText(dc, kBands[i].name,
                 {swatch.right + 6, swatch.top, (i + 1) * width / count, swatch.bottom},
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE, small);
    }
    DeleteObject(big);
    DeleteObject(note);
    DeleteObject(small);
}

LRESULT CALLBACK couponProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WindowState* state = nullptr;
    if (const HWND main = GetParent(hwnd)) state = &stateOf(main);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            const HDC dc = BeginPaint(hwnd, &ps);
            RECT client;
            GetClientRect(hwnd, &client);
            // Painted off screen and copied at once: no flicker.
            const HDC memory = CreateCompatibleDC(dc);
            const HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
            const HGDIOBJ old = SelectObject(memory, bitmap);
            paintCoupon(*state, memory, client.right, client.bottom);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN: {
            RankingScreen& screen = *state->ranking;
            if (!screen.shown || screen.shown->numberWaits.empty()) return 0;
            RECT client;
            GetClientRect(hwnd, &client);
            const POINT at = {static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
            const RankingResult& r = *screen.shown;
            int hit = 0;
            for (int v = 1; v <= r.command->sets.maxNumber; ++v) {
                const RECT cell = cellOf(shapeOf(*r.game), v, client.right, client.bottom,
                                         state->scaled(kTitle), state->scaled(kLegend));
                if (PtInRect(&cell, at)) hit = v;
            }
            if (screen.pairsOf > 0) {
                screen.pairsOf = 0;
            } else if (hit > 0) {
                screen.pairsOf = hit;
                screen.pairWaits = waitsOfPairsWith(r.taken.draws, r.command->sets.maxNumber, hit);
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

void createRankingControls(WindowState& state, HINSTANCE instance) {
    INITCOMMONCONTROLSEX common = {sizeof common, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&common);
    WNDCLASSEXA coupon = {};
    coupon.cbSize = sizeof coupon;
    coupon.lpfnWndProc = couponProc;
    coupon.hInstance = instance;
    coupon.hCursor = LoadCursorA(nullptr, IDC_HAND);
    coupon.lpszClassName = kCouponClass;
    RegisterClassExA(&coupon);

    state.ranking = std::make_shared<RankingScreen>();
    RankingScreen& screen = *state.ranking;
    for (const RankingControlRow& row : kRankingRows) {
        // Scaled by their edges, as the other controls are.
        const int x = state.scaled(row.x), y = state.scaled(row.y);
        const HWND hwnd = CreateWindowExA(
            row.exStyle, row.cls, row.caption, WS_CHILD | row.style, x, y,
            state.scaled(row.x + row.w) - x, state.scaled(row.y + row.h) - y, state.main,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (state.controlFont)
            SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(state.controlFont), 0);
        screen.controls.push_back(hwnd);
    }
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
        column.cx = state.scaled(kColumns[i].width);
        SendMessageA(screen.table, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
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
    if (what == 0) {
        SendMessageA(screen.progress, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
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
    SetBkColor(dc, RGB(169, 169, 169));
    return state.greyBrush;
}
