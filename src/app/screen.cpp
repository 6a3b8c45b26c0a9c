#include "app/screen.hpp"

#include <commctrl.h>

#include <algorithm>

#include "app/backtest_screen.hpp"
#include "app/controls.hpp"
#include "app/files.hpp"
#include "app/ranking_screen.hpp"
#include "app/ticket_screen.hpp"
#include "app/wheel_screen.hpp"
#include "app/window.hpp"
#include "commands/search_command.hpp"
#include "history/history.hpp"

using namespace zestawy;

const char kLastDrawsLabel[] = "Losowań (puste: wszystkie)";
const char kLastDrawsWrong[] = "Liczba losowań musi być dodatnia (puste pole: wszystkie).";

std::vector<ScreenRow> screenStart(int gameList, int width) {
    std::vector<ScreenRow> rows = {{"STATIC", "", 0, 0, 0, 1350, 750, 0, 0, 0, 1000, 0, 1000}};
    for (const ScreenRow& row : listRows("Gra", width, gameList, 20, 32, width, 200))
        rows.push_back(row);
    return rows;
}

std::vector<ScreenRow> listRows(const char* label, int labelWidth, int id, int x, int y, int w,
                                int listHeight) {
    return {
        {"STATIC", label, 0, x, y - 22, labelWidth, 20, 0, 0},
        {"COMBOBOX", "", id, x, y, w, listHeight, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0}};
}

std::vector<ScreenRow> editRows(const char* label, int labelWidth, int id, int x, int y, int w,
                                DWORD style, const char* text) {
    return {{"STATIC", label, 0, x, y - 22, labelWidth, 20, 0, 0},
            {"EDIT", text, id, x, y, w, 28, style | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE}};
}

std::vector<ScreenRow> rowsOf(std::initializer_list<std::vector<ScreenRow>> parts) {
    std::vector<ScreenRow> rows;
    for (const std::vector<ScreenRow>& part : parts)
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

std::vector<HWND> createScreen(WindowState& state, HINSTANCE instance,
                               const std::vector<ScreenRow>& rows) {
    std::vector<HWND> controls;
    for (const ScreenRow& row : rows) {
        // The texts, all but the sheet's (the first row), are drawn by the
        // window (drawScreenText).
        const bool text = std::string_view(row.cls) == "STATIC" && !controls.empty();
        const HWND hwnd = CreateWindowExW(
            row.exStyle, wide(row.cls).c_str(), wide(row.caption).c_str(),
            WS_CHILD | row.style | (text ? SS_OWNERDRAW : 0), 0, 0, 0, 0, state.main,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        const bool list = std::string_view(row.cls) == WC_LISTVIEWA;
        const HGDIOBJ font = state.controlFont ? state.controlFont : GetStockObject(SYSTEM_FONT);
        if (state.controlFont || list)
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        if (list)
            SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                         LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        if (std::string_view(row.cls) == "STATIC") state.screenStatics.push_back(hwnd);
        controls.push_back(hwnd);
    }
    layoutScreen(state, rows, controls);
    return controls;
}

void layoutScreen(const WindowState& state, const std::vector<ScreenRow>& rows,
                  const std::vector<HWND>& controls) {
    RECT client;
    GetClientRect(state.main, &client);
    // The room beyond the design size; the layout never shrinks below it.
    const int dx = std::max(0, static_cast<int>(client.right) - state.scaled(kClientWidth));
    const int dy = std::max(0, static_cast<int>(client.bottom) - state.scaled(kClientHeight));
    for (std::size_t i = 0; i < rows.size() && i < controls.size(); ++i) {
        const ScreenRow& row = rows[i];
        // Scaled by their edges, as the other controls are.
        const int x = state.scaled(row.x), y = state.scaled(row.y);
        const int w = state.scaled(row.x + row.w) - x, h = state.scaled(row.y + row.h) - y;
        MoveWindow(controls[i], x + dx * row.moveX / 1000, y + dy * row.moveY / 1000,
                   w + dx * row.growW / 1000, h + dy * row.growH / 1000, TRUE);
    }
}

RECT textArea(RECT client) {
    client.right -= client.right / 50 + 2;
    return client;
}

void drawScreenText(const WindowState& state, const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, state.greyBrush);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, kBlack);
    const std::wstring text = wide(windowText(item.hwndItem));
    RECT area = textArea(item.rcItem);
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
              DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
}

void addColumns(const WindowState& state, HWND table, const std::vector<ListColumn>& columns) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::wstring title = wide(columns[i].title);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = columns[i].format;
        column.pszText = &title[0];
        column.cx = state.scaled(columns[i].width);
        SendMessageW(table, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    fitColumns(state, table, columns);
}

namespace {

int stringWidth(HWND table, const std::wstring& text) {
    return static_cast<int>(
        SendMessageW(table, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

}  // namespace

void fitColumns(const WindowState& state, HWND table, const std::vector<ListColumn>& columns) {
    // Cells get a little more room than the captions' margins.
    const int pad = kCaptionMargin + state.scaled(6);
    RECT client;
    GetClientRect(table, &client);
    int room = client.right;
    if (!(GetWindowLongW(table, GWL_STYLE) & WS_VSCROLL)) room -= GetSystemMetrics(SM_CXVSCROLL);
    const int rows = std::min(500, static_cast<int>(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0)));
    std::vector<int> least(columns.size()), wanted(columns.size());
    int leastSum = 0, wantedSum = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        least[i] = stringWidth(table, wide(columns[i].title)) + kCaptionMargin;
        for (int row = 0; row < rows; ++row) {
            wchar_t cell[128] = L"";
            LVITEMW item = {};
            item.iSubItem = static_cast<int>(i);
            item.pszText = cell;
            item.cchTextMax = 128;
            SendMessageW(table, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&item));
            least[i] = std::max(least[i], stringWidth(table, cell) + pad);
        }
        wanted[i] = std::max(least[i], state.scaled(columns[i].width));
        leastSum += least[i];
        wantedSum += wanted[i];
    }
    // Squeezed from the design's widths toward what the captions and cells
    // need, as far as the room asks; never below that (the table then scrolls).
    const double share = wantedSum <= room ? 1
                         : leastSum >= room
                             ? 0
                             : static_cast<double>(room - leastSum) / (wantedSum - leastSum);
    for (std::size_t i = 0; i < columns.size(); ++i)
        SendMessageW(table, LVM_SETCOLUMNWIDTH, i,
                     least[i] + static_cast<int>((wanted[i] - least[i]) * share));
}

void AnalysisScreen::make(
    WindowState& state, HINSTANCE instance, const std::vector<ScreenRow>& rows,
    const std::vector<std::pair<int, const std::vector<ListColumn>*>>& tables) {
    rows_ = &rows;
    tables_ = tables;
    controls = createScreen(state, instance, rows);
    for (const auto& [id, columns] : tables_) addColumns(state, state.control(id), *columns);
    state.screens.push_back(this);
}

void AnalysisScreen::layout(const WindowState& state) const {
    if (rows_) layoutScreen(state, *rows_, controls);
    for (const auto& [id, columns] : tables_) fitColumns(state, state.control(id), *columns);
}

void AnalysisScreen::showRows(const WindowState& state, int table, const TextTable* shown) const {
    const HWND view = state.control(table);
    SendMessageW(view, LVM_SETITEMCOUNT, shown ? shown->rows.size() : 0, 0);
    for (const auto& [id, columns] : tables_)
        if (id == table) fitColumns(state, view, *columns);
    InvalidateRect(view, nullptr, TRUE);
}

bool AnalysisScreen::notify(WindowState&, const NMHDR& header, LRESULT& result) {
    for (const auto& table : tables_) {
        if (header.idFrom != static_cast<UINT_PTR>(table.first)) continue;
        result = 0;
        if (header.code == LVN_GETDISPINFOW) tableCellText(shownIn(table.first), header);
        return true;
    }
    return false;
}

bool AnalysisScreen::owns(int id) const {
    return id != 0 && std::any_of(controls.begin(), controls.end(),
                                  [id](HWND c) { return GetDlgCtrlID(c) == id; });
}

AnalysisScreen* screenOf(const WindowState& state, int menu) {
    for (AnalysisScreen* screen : state.screens)
        if (screen->menu == menu) return screen;
    return nullptr;
}

std::vector<HWND> screenControls(const WindowState& state, int menu) {
    const AnalysisScreen* screen = screenOf(state, menu);
    return screen ? screen->controls : std::vector<HWND>{};
}

void stopScreens(WindowState& state) {
    for (AnalysisScreen* screen : state.screens) screen->stop(state);
}

void fillGames(HWND games) {
    for (const GameRow& game : kGames)
        SendMessageW(games, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(game.name).c_str()));
    SendMessageW(games, CB_SETCURSEL, 0, 0);
}

const GameRow* chosenGame(HWND games) {
    const LRESULT game = SendMessageW(games, CB_GETCURSEL, 0, 0);
    return game >= 0 && game < 3 ? &kGames[game] : nullptr;
}

void fillRankingSearches(HWND games, HWND searches) {
    const GameRow* game = chosenGame(games);
    SendMessageW(searches, CB_RESETCONTENT, 0, 0);
    for (int i = 0; game && i < kControlCount; ++i) {
        const SearchCommand* command = findSearchCommand(kControls[i].id);
        if (kControls[i].kind != ControlKind::Button || !command || command->game != game->game ||
            rankingQuery(*command).setSize == 0)
            continue;
        const LRESULT at = SendMessageW(searches, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(wide(command->caption).c_str()));
        SendMessageW(searches, CB_SETITEMDATA, static_cast<WPARAM>(at), command->id);
    }
    SendMessageW(searches, CB_SETCURSEL, 0, 0);
}

const SearchCommand* chosenSearch(HWND searches) {
    const LRESULT at = SendMessageW(searches, CB_GETCURSEL, 0, 0);
    if (at < 0) return nullptr;
    return findSearchCommand(
        static_cast<int>(SendMessageW(searches, CB_GETITEMDATA, static_cast<WPARAM>(at), 0)));
}

void paintOffScreen(HWND window, HDC dc, const std::function<void(HDC, int, int)>& paint) {
    RECT client;
    GetClientRect(window, &client);
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    paint(memory, client.right, client.bottom);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

bool paintMessage(HWND window, UINT msg, WPARAM wParam,
                  const std::function<void(HDC, int, int)>& paint, LRESULT& result) {
    result = msg == WM_ERASEBKGND;  // nothing to erase: the paint covers it all
    if (msg == WM_PRINTCLIENT) paintOffScreen(window, reinterpret_cast<HDC>(wParam), paint);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(window, &ps);
        paintOffScreen(window, dc, paint);
        EndPaint(window, &ps);
    }
    return msg == WM_ERASEBKGND || msg == WM_PAINT || msg == WM_PRINTCLIENT;
}

void tableCellText(const TextTable* table, const NMHDR& header) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
    if (!table || !(item.mask & LVIF_TEXT) || item.iItem < 0 ||
        item.iItem >= static_cast<int>(table->rows.size()) || item.iSubItem < 0 ||
        item.iSubItem >= static_cast<int>(table->header.size()))
        return;
    const std::string& cell =
        table->rows[static_cast<std::size_t>(item.iItem)][static_cast<std::size_t>(item.iSubItem)];
    lstrcpynW(item.pszText, wide(cell).c_str(), item.cchTextMax);
}

long long lastDrawsField(HWND field) {
    const std::string last = windowText(field);
    if (last.empty()) return 0;
    const long long draws = parseCount(last);
    return draws > 0 ? draws : -1;
}

std::string readDraws(const GameRow& game, long long last, RankingDraws& taken) {
    std::vector<std::string> lines;
    const std::string path = findHistory(game);
    if (path.empty()) return historyMissing(game);
    if (readHistoryFile(path, lines, kMaxHistoryBytes) != HistoryRead::Ok)
        return "Nie udało się przeczytać pliku '" + shownPath(path) + "'.";
    taken = rankingDraws(lines, last, game.rules);
    if (taken.draws.empty()) return "W pliku '" + shownPath(path) + "' nie ma żadnego losowania.";
    return "";
}

namespace {

// Each screen's keys: its first field (shown while the screen is), its
// drop-down lists and typed fields, the command Enter runs and the one Esc
// runs (0: none).
struct ScreenKeys {
    int first;
    int lists[2], fields[2];
    int run, stop;
};
const ScreenKeys kScreenKeys[] = {
    {kRankGame, {kRankGame, kRankSearch}, {kRankLast, kRankTop}, kRankShow, kRankStop},
    {kTicketGame, {kTicketGame, 0}, {kTicketNumbers, kTicketLast}, kTicketCheck, 0},
    {kBackGame, {kBackGame, kBackSearch}, {kBackLast, 0}, kBackRun, kBackStop},
    {kWheelGame,
     {kWheelGame, kWheelGuarantee},
     {kWheelNumbers, kWheelPrice},
     kWheelMake,
     kWheelStop},
};

bool among(const int (&ids)[2], int id) {
    return id != 0 && (ids[0] == id || ids[1] == id);
}

}  // namespace

void switchRunStop(HWND run, HWND stop, bool running) {
    const HWND from = running ? run : stop, to = running ? stop : run;
    const HWND focus = GetFocus();
    EnableWindow(to, TRUE);
    if (focus == from || (!focus && GetActiveWindow() == GetParent(to))) SetFocus(to);
    EnableWindow(from, FALSE);
}

bool screenKey(WindowState& state, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != state.main && !IsChild(state.main, msg.hwnd)))
        return false;
    if (msg.wParam == VK_RETURN && isOfClass(msg.hwnd, "Button") &&
        (GetWindowLongW(msg.hwnd, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON) {
        SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    for (const ScreenKeys& keys : kScreenKeys) {
        if (!IsWindowVisible(state.control(keys.first))) continue;
        const int id = GetDlgCtrlID(msg.hwnd);
        auto press = [&](int command) {
            if (IsWindowEnabled(state.control(command)))
                SendMessageW(state.main, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                             reinterpret_cast<LPARAM>(state.control(command)));
        };
        switch (msg.wParam) {
            case VK_TAB:
                if (const HWND next =
                        GetNextDlgTabItem(state.main, msg.hwnd == state.main ? nullptr : msg.hwnd,
                                          GetKeyState(VK_SHIFT) < 0))
                    SetFocus(next);
                return true;
            case VK_RETURN:
                // An open list takes its own Enter.
                if (among(keys.lists, id) && SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0))
                    return false;
                if (!among(keys.lists, id) && !among(keys.fields, id)) return false;
                press(keys.run);
                return true;
            case VK_ESCAPE:
                if (!keys.stop || !IsWindowEnabled(state.control(keys.stop))) return false;
                press(keys.stop);
                return true;
            default:
                return false;
        }
    }
    return false;
}
