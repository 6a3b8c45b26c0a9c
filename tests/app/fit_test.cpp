// The window on smaller screens and at 150 % (tests/app/fit_screen.sh): it lies
// in the work area, as large as the DPI and the work area let it be, and every
// shown control of every screen lies in the client area with its text whole.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "app/app_fixture.hpp"
#include "app/backtest_screen.hpp"
#include "app/ranking_screen.hpp"
#include "app/ticket_screen.hpp"

namespace {

using namespace apptest;
using K = ControlKind;

// The controls of each screen of the "Analiza" menu, its sheet first.
std::vector<std::vector<HWND>> analysisScreens() {
    return {rankingControls(state()), ticketControls(state()), backtestControls(state())};
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
    const int screens[] = {0,           kCmdPrepareSearch, kMultiGame,  kMultiOtherGames,
                           kMiniGame,   kMiniOtherGames,   kLottoGame,  kCmdOpenHelp,
                           kCmdRanking, kCmdTicket,        kCmdBacktest};
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
            EXPECT_TRUE(EqualRect(&shown, covers ? &client : &r));
            // A button's caption on one line within its edges, other texts
            // word-wrapped; the work boxes start empty and the help box scrolls.
            if (kind == K::WorkBox || kind == K::HelpBox) continue;
            const HDC dc = GetDC(c);
            const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(c, WM_GETFONT, 0, 0));
            SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
            RECT need = {0, 0, shown.right - shown.left, 0};
            DrawTextA(dc, textOf(c).c_str(), -1, &need,
                      DT_CALCRECT | (kind == K::Button ? DT_SINGLELINE : DT_WORDBREAK));
            ReleaseDC(c, dc);
            EXPECT_LE(need.right, shown.right - shown.left - (kind == K::Button ? 6 : 0));
            EXPECT_LE(need.bottom, shown.bottom - shown.top);
        }
    }
}

// The tables' column captions fit in their columns, and a maximised window
// gives its room to the ranking's table and coupon, keeping every control of
// every screen inside.
TEST(Fit, TheRankingScreenFitsItsCaptionsAndGrowsWithTheWindow) {
    resetToStartState();
    for (const int table : {int{kRankTable}, int{kTicketTable}, int{kBackTable}}) {
        const HWND header =
            reinterpret_cast<HWND>(SendMessageA(control(table), LVM_GETHEADER, 0, 0));
        const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        EXPECT_GE(columns, 3);
        for (int column = 0; column < columns; ++column) {
            char caption[64] = "";
            LVCOLUMNA lv = {};
            lv.mask = LVCF_TEXT;
            lv.pszText = caption;
            lv.cchTextMax = sizeof caption;
            SendMessageA(control(table), LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                         reinterpret_cast<LPARAM>(&lv));
            EXPECT_GE(
                SendMessageA(control(table), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0),
                SendMessageA(control(table), LVM_GETSTRINGWIDTHA, 0,
                             reinterpret_cast<LPARAM>(caption)) +
                    12)
                << caption;
        }
    }
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

}  // namespace
