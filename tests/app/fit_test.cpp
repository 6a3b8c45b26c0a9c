// The window on smaller screens and at 150 % (tests/app/fit_screen.sh): it lies
// in the work area, as large as the DPI and the work area let it be, and every
// shown control of every screen lies in the client area with its text whole.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/app_fixture.hpp"
#include "app/backtest_chart.hpp"
#include "app/backtest_screen.hpp"
#include "app/ranking_screen.hpp"
#include "app/screen.hpp"
#include "app/ticket_screen.hpp"
#include "history/encoding.hpp"
#include "net/results_server.hpp"

namespace {

using namespace apptest;
using K = ControlKind;

// The controls of each screen of the "Analiza" menu, its sheet first.
std::vector<std::vector<HWND>> analysisScreens() {
    return {screenControls(state(), kCmdRanking), screenControls(state(), kCmdTicket),
            screenControls(state(), kCmdBacktest), screenControls(state(), kCmdWheel)};
}

// Whether a text in the control's font, wrapped (or on one line) at the
// width given, takes no more room than the width and height given.
std::string overflow(HWND c, const std::wstring& text, int width, int height, UINT format) {
    const HDC dc = GetDC(c);
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(c, WM_GETFONT, 0, 0));
    SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT need = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_NOPREFIX | format);
    ReleaseDC(c, dc);
    if (need.right <= width && need.bottom <= height) return "";
    return narrow(text) + ": " + std::to_string(need.right) + "x" + std::to_string(need.bottom) +
           " in " + std::to_string(width) + "x" + std::to_string(height);
}

TEST(Fit, EveryScreenShowsItsControlsWholeInsideTheWorkArea) {
    const HWND main = mainWindow();
    RECT work, window, client, inside;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    GetWindowRect(main, &window);
    GetClientRect(main, &client);
    IntersectRect(&inside, &window, &work);
    EXPECT_TRUE(EqualRect(&inside, &window));
    // As large as it fits, unless its size at the DPI is smaller still.
    const HDC screen = GetDC(nullptr);
    const long fullWidth = std::lround(kClientWidth * GetDeviceCaps(screen, LOGPIXELSY) / 96.0);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(client.right == fullWidth ||
                window.right - window.left >= work.right - work.left - 1 ||
                window.bottom - window.top >= work.bottom - work.top - 1);

    resetToStartState();
    // The about box at start (0), the search screen, each game's panel, the
    // help, and the screens of the "Analiza" menu.
    const int screens[] = {0,           kCmdPrepareSearch, kMultiGame,   kMultiOtherGames,
                           kMiniGame,   kMiniOtherGames,   kLottoGame,   kCmdOpenHelp,
                           kCmdRanking, kCmdTicket,        kCmdBacktest, kCmdWheel};
    for (int screenCommand : screens) {
        if (screenCommand) command(screenCommand);
        std::vector<std::pair<HWND, K>> controls;
        for (int i = 0; i < kControlCount; ++i)
            controls.push_back({handleOf(kControls[i]), kControls[i].kind});
        // A screen's sheet covers the client area like the help box; its
        // lists, edits and pictures are checked for place only.
        for (const std::vector<HWND>& screen : analysisScreens())
            for (HWND c : screen) {
                const std::string cls = classOf(c);
                controls.push_back({c, c == screen.front() ? K::HelpBox
                                       : cls == "Button"   ? K::Button
                                       : cls == "Static"   ? K::Label
                                                           : K::WorkBox});
            }
        for (const auto& [c, kind] : controls) {
            if (!IsWindowVisible(c)) continue;
            SCOPED_TRACE(std::to_string(screenCommand) + ": " + textOf(c));
            RECT r, shown;
            GetWindowRect(c, &r);
            MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&r), 2);
            IntersectRect(&shown, &r, &client);
            // The help and about boxes reach below the client area by the menu bar.
            const bool covers = kind == K::HelpBox || kind == K::AboutBox;
            EXPECT_TRUE(EqualRect(&shown, covers ? &client : &r))
                << classOf(c) << " " << GetDlgCtrlID(c) << " at " << r.left << "," << r.top << "-"
                << r.right << "," << r.bottom << " in " << client.right << "x" << client.bottom;
            // A button's caption on one line within its edges, other texts
            // word-wrapped; the work boxes start empty and the help box scrolls.
            if (kind == K::WorkBox || kind == K::HelpBox) continue;
            EXPECT_EQ(
                overflow(c, wideTextOf(c), shown.right - shown.left - (kind == K::Button ? 6 : 0),
                         shown.bottom - shown.top,
                         kind == K::Button ? DT_SINGLELINE : DT_WORDBREAK),
                "");
        }
    }
}

// A maximised window gives its room to the ranking's table and coupon,
// keeping every control of every screen inside.
TEST(Fit, TheRankingScreenGrowsWithTheWindow) {
    resetToStartState();
    command(kCmdRanking);
    const HWND table = control(kRankTable);
    auto bottomRight = [](HWND c) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(HWND_DESKTOP, mainWindow(), reinterpret_cast<POINT*>(&r), 2);
        return POINT{r.right, r.bottom};
    };
    const POINT before = bottomRight(control(kRankCoupon));
    ShowWindow(mainWindow(), SW_MAXIMIZE);
    RECT client;
    GetClientRect(mainWindow(), &client);
    const POINT after = bottomRight(control(kRankCoupon));
    // Wherever the screen has more room than the design, the coupon takes it.
    EXPECT_EQ(after.x > before.x, client.right > state().scaled(kClientWidth));
    EXPECT_EQ(after.y > before.y, client.bottom > state().scaled(kClientHeight));
    for (const std::vector<HWND>& screen : analysisScreens())
        for (HWND c : screen) {
            const POINT corner = bottomRight(c);
            EXPECT_TRUE(corner.x <= std::max(client.right,
                                             static_cast<LONG>(state().scaled(kClientWidth))) &&
                        corner.y <= std::max(client.bottom,
                                             static_cast<LONG>(state().scaled(kClientHeight))))
                << GetDlgCtrlID(c);
        }
    EXPECT_EQ(bottomRight(table).y, after.y);
    ShowWindow(mainWindow(), SW_RESTORE);
    EXPECT_EQ(bottomRight(control(kRankCoupon)).x, before.x);
}

// The pixels of text in the last two columns of the control as it is shown:
// where a text runs past its control's right edge, some are dark.
int inkAtTheRightEdge(HWND c) {
    RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(c, &r);
    const HDC dc = GetDC(c);
    int dark = 0;
    for (int x = r.right - 2; x < r.right; ++x)
        for (int y = 0; y < r.bottom; ++y) {
            const COLORREF p = GetPixel(dc, x, y);
            dark += p != CLR_INVALID && GetRValue(p) + GetGValue(p) + GetBValue(p) < 3 * 100;
        }
    ReleaseDC(c, dc);
    return dark;
}

// Each screen of the "Analiza" menu with a long result shown: its texts
// wrap inside their areas, its table's captions are whole and the table
// needs no horizontal scrolling where its captions fit the room, and the
// chart's labels fit their places, so that none touches another.
TEST(Fit, EveryAnalysisScreenShowsItsResultWhole) {
    ASSERT_TRUE(SetCurrentDirectoryA(folderWithHistories("fit").c_str()));
    resetToStartState();
    const struct {
        int menu, games, run, field;
        const char *search, *typed;
        std::vector<int> tables;
    } screens[] = {
        {kCmdRanking, kRankGame, kRankShow, kRankLast, "Wyszukaj 2", "100", {kRankTable}},
        {kCmdTicket,
         kTicketGame,
         kTicketCheck,
         kTicketNumbers,
         nullptr,
         "3, 17, 22, 41, 56, 60, 61, 62, 70, 80",
         {kTicketTable}},
        {kCmdBacktest, kBackGame, kBackRun, kBackLast, "Wyszukaj 2", "", {kBackTable}},
        {kCmdWheel,
         kWheelGame,
         kWheelMake,
         kWheelNumbers,
         nullptr,
         "3, 17, 22, 41, 56, 60, 61, 62, 70, 80",
         {kWheelTickets, kWheelSure}},
    };
    for (std::size_t i = 0; i < std::size(screens); ++i) {
        const auto& s = screens[i];
        SCOPED_TRACE(s.menu);
        command(s.menu);
        SendMessageW(control(s.games), CB_SETCURSEL, 0, 0);  // Multi Multi
        SendMessageW(mainWindow(), WM_COMMAND, MAKEWPARAM(s.games, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control(s.games)));
        if (s.search) {
            const HWND searches = control(s.games + 1);
            SendMessageW(searches, CB_SETCURSEL,
                         static_cast<WPARAM>(SendMessageA(searches, CB_FINDSTRINGEXACT,
                                                          static_cast<WPARAM>(-1),
                                                          reinterpret_cast<LPARAM>(s.search))),
                         0);
        }
        SetWindowTextA(control(s.field), s.typed);
        command(s.run);
        waitUntilEnabled(s.run);
        pump();
        const std::vector<std::vector<HWND>> all = analysisScreens();
        for (HWND c : all[i]) {
            if (!IsWindowVisible(c) || classOf(c) != "Static" || textOf(c).empty()) continue;
            RECT r;
            GetClientRect(c, &r);
            const RECT area = textArea(r);
            EXPECT_EQ(overflow(c, wideTextOf(c), area.right, area.bottom, DT_WORDBREAK), "");
            EXPECT_EQ(inkAtTheRightEdge(c), 0) << utf8FromCp1250(textOf(c));
        }
        // Every caption and cell whole in its column; a scroll bar only
        // where the columns cannot fit.
        for (int id : s.tables) {
            const HWND table = control(id);
            const HWND header = reinterpret_cast<HWND>(SendMessageW(table, LVM_GETHEADER, 0, 0));
            const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
            const int rows = static_cast<int>(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0));
            auto width = [&](const wchar_t* text) {
                return static_cast<int>(
                    SendMessageW(table, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
            };
            int total = 0;
            for (int column = 0; column < columns; ++column) {
                const int has = static_cast<int>(
                    SendMessageW(table, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
                total += has;
                for (int row = -1; row < rows; ++row) {
                    wchar_t text[128] = L"";
                    if (row < 0) {
                        LVCOLUMNW lv = {};
                        lv.mask = LVCF_TEXT;
                        lv.pszText = text;
                        lv.cchTextMax = 128;
                        SendMessageW(table, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                                     reinterpret_cast<LPARAM>(&lv));
                    } else {
                        LVITEMW item = {};
                        item.iSubItem = column;
                        item.pszText = text;
                        item.cchTextMax = 128;
                        SendMessageW(table, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
                    }
                    EXPECT_GE(has, width(text) + kCaptionMargin) << narrow(text);
                }
            }
            RECT client;
            GetClientRect(table, &client);
            const bool scrolls = (GetWindowLongW(table, GWL_STYLE) & WS_HSCROLL) != 0;
            const int room = client.right;
            EXPECT_EQ(scrolls, total > room) << total << " in " << room;
        }
    }
    // A text's height free beside each label of the chart.
    for (const ChartText& t : chartTexts(control(kBackChart)))
        EXPECT_TRUE(t.size.cx + t.size.cy <= t.box.right - t.box.left &&
                    t.size.cy <= t.box.bottom - t.box.top)
            << t.text << ": " << t.size.cx << "x" << t.size.cy << " in " << t.box.right - t.box.left
            << "x" << t.box.bottom - t.box.top;
}

// The small window of "Pobierz najnowsze wyniki" while a download runs:
// its status line and its button show their texts whole.
TEST(Fit, TheDownloadWindowShowsItsTextsWhole) {
    ASSERT_TRUE(SetCurrentDirectoryA(folderWithHistories("fit-download").c_str()));
    resetToStartState();
    const std::string body(2'000'000, '\n');
    const nettest::ResultsServer server({{"/wolny.csv", {nettest::Answer::Trickle, body}}});
    std::ofstream("zrodla.txt") << "multi = " << server.url("/wolny.csv") << "\n";
    std::vector<std::string> overflows;
    const std::string said = runDownload([&] {
        HWND window = nullptr;
        for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(20)) {
            window = FindWindowA("ZestawyPobieranie", nullptr);
            if (window && textOf(GetDlgItem(window, 1)).find(" z ") != std::string::npos) break;
        }
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            GetClientRect(c, &r);
            const bool button = classOf(c) == "Button";
            overflows.push_back(overflow(c, wideTextOf(c), r.right - (button ? 6 : 0), r.bottom,
                                         button ? DT_SINGLELINE : DT_WORDBREAK));
        }
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(said.find("Pobierz najnowsze wyniki: Multi Multi: przerwano"), 0u) << said;
    EXPECT_EQ(overflows, std::vector<std::string>(3, ""));
    DeleteFileA("zrodla.txt");
}

}  // namespace
