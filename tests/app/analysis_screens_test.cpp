// The screens "Sprawdź swoje liczby..." and "Czy czekanie pomaga?" on the real
// window: their tables are the lines of zestawy-cli --ticket and --backtest,
// the coupon adds and takes away numbers, the chart is painted, and
// "Przerwij" and leaving the screen stop a backtest.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_fixture.hpp"
#include "app/backtest_screen.hpp"
#include "app/ticket_screen.hpp"

namespace {

using namespace apptest;

class AnalysisScreens : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(mainWindow(), nullptr);
        folder = folderWithHistories("analysis");
    }
    void SetUp() override {
        SetCurrentDirectoryA(folder.c_str());
        resetToStartState();
    }
    static void chooseGame(int list, int game) {
        SendMessageA(control(list), CB_SETCURSEL, static_cast<WPARAM>(game), 0);
        SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control(list)));
    }
    // The table's rows as the tool writes them: cells joined by TAB, decimal
    // points for commas, lines ending in CR LF.
    static std::string tableLines(int table) {
        std::string lines;
        const int rows = static_cast<int>(SendMessageA(control(table), LVM_GETITEMCOUNT, 0, 0));
        const HWND header =
            reinterpret_cast<HWND>(SendMessageA(control(table), LVM_GETHEADER, 0, 0));
        const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                char text[128] = "";
                LVITEMA item = {};
                item.iSubItem = column;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                SendMessageA(control(table), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(&item));
                lines += (column ? "\t" : "") + std::string(text);
            }
            lines += "\r\n";
        }
        std::replace(lines.begin(), lines.end(), ',', '.');
        return lines;
    }
    static void waitForTheBacktest() {
        for (const DWORD begin = GetTickCount();
             !enabled(kBackRun) && GetTickCount() - begin < 120000;)
            pump();
    }
    // The pixels that `paint` draws into a bitmap of that size.
    static std::vector<DWORD> pixels(int width, int height, const std::function<void(HDC)>& paint) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const HDC dc = CreateCompatibleDC(nullptr);
        const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = SelectObject(dc, bitmap);
        paint(dc);
        GdiFlush();
        const auto* pixel = static_cast<const DWORD*>(bits);
        std::vector<DWORD> all(pixel, pixel + width * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return all;
    }
    // The chart's pixels in the bars' colour, painted into a bitmap of its size.
    static int barPixels() {
        const HWND chart = control(kBackChart);
        RECT client;
        GetClientRect(chart, &client);
        const std::vector<DWORD> all = pixels(client.right, client.bottom, [&](HDC dc) {
            SendMessageA(chart, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        });
        const DWORD bar = static_cast<DWORD>(GetRValue(kBarColour)) << 16 |
                          static_cast<DWORD>(GetGValue(kBarColour)) << 8 | GetBValue(kBarColour);
        return static_cast<int>(
            std::count_if(all.begin(), all.end(), [&](DWORD p) { return (p & 0xFFFFFF) == bar; }));
    }
    // What the main window's client area shows now, every paint it waits for done.
    static std::vector<DWORD> shownPixels() {
        pump();
        RedrawWindow(mainWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client;
        GetClientRect(mainWindow(), &client);
        return pixels(client.right, client.bottom, [&](HDC to) {
            const HDC from = GetDC(mainWindow());
            BitBlt(to, 0, 0, client.right, client.bottom, from, 0, 0, SRCCOPY);
            ReleaseDC(mainWindow(), from);
        });
    }
    static std::string folder;
};
std::string AnalysisScreens::folder;

TEST_F(AnalysisScreens, TicketTableIsTheToolsAndTheCouponAddsAndTakesAwayNumbers) {
    command(kCmdTicket);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), kTicketNumbers);
    chooseGame(kTicketGame, 2);  // Lotto
    SetWindowTextA(control(kTicketNumbers), "3, 17, 22, 41, 49, 8");
    SetWindowTextA(control(kTicketLast), "3000");
    SetFocus(control(kTicketNumbers));
    const MSG enter = {GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(preTranslate(enter));  // Enter in a field: "Sprawdź"
    const std::string history = std::string(" --history \"") + kGames[2].historyFile + "\"";
    EXPECT_EQ(
        tableLines(kTicketTable),
        toolOutput("--game lotto" + history + " --last 3000 --ticket \"3 8 17 22 41 49\"", folder));
    EXPECT_NE(textOf(control(kTicketSummary)).find("Wszystkie te liczby razem: "),
              std::string::npos);

    // Lotto's coupon is 7 numbers wide and 7 high: 49 is the last, 5 the fifth
    // of the first row. 49 goes, 5 comes, and the check follows at once.
    const HWND coupon = control(kTicketCoupon);
    RECT client;
    GetClientRect(coupon, &client);
    auto click = [&](int row, int column) {
        const int x = client.right * (2 * column + 1) / 14, y = client.bottom * (2 * row + 1) / 14;
        SendMessageA(coupon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    };
    click(6, 6);
    click(0, 4);
    EXPECT_EQ(textOf(control(kTicketNumbers)), "3, 5, 8, 17, 22, 41");
    EXPECT_EQ(
        tableLines(kTicketTable),
        toolOutput("--game lotto" + history + " --last 3000 --ticket \"3 5 8 17 22 41\"", folder));
    // What the message box of `act` says, and the rows the table shows meanwhile.
    auto refusal = [](const std::function<void()>& act) {
        commandDone = false;
        std::string said = "no message";
        std::thread player([&] {
            if (const HWND box = waitForDialog(mainWindow())) {
                said = messageText(box) + " / rows: " +
                       std::to_string(SendMessageW(control(kTicketTable), LVM_GETITEMCOUNT, 0, 0));
                press(box, IDOK);
            }
        });
        act();
        commandDone = true;
        player.join();
        return said;
    };
    // A seventh number is no Lotto ticket: the click is refused as a typed one
    // is, and the ticket's table stays.
    EXPECT_EQ(refusal([&] { click(6, 6); }),
              "Sprawdź swoje liczby: W tej grze typuje się najwyżej 6 liczb. / rows: 7");
    EXPECT_EQ(textOf(control(kTicketNumbers)), "3, 5, 8, 17, 22, 41");

    // Numbers outside the game are refused in a message box, and the table of
    // the earlier numbers is gone by then.
    SetWindowTextA(control(kTicketNumbers), "1, 50");
    EXPECT_EQ(refusal([] { command(kTicketCheck); }),
              "Sprawdź swoje liczby: Liczba 50 jest spoza gry (1–49). / rows: 0");
}

TEST_F(AnalysisScreens, BacktestTableIsTheToolsAndItsChartIsPainted) {
    command(kCmdBacktest);
    EXPECT_EQ(barPixels(), 0);
    chooseGame(kBackGame, 1);                                // Mini Lotto, "Wyszukaj 1" first
    SendMessageA(control(kBackSearch), CB_SETCURSEL, 1, 0);  // "Wyszukaj 2"
    command(kBackRun);
    waitForTheBacktest();
    EXPECT_EQ(tableLines(kBackTable),
              toolOutput(std::string("--game mini --history \"") + kGames[1].historyFile +
                             "\" --search \"Wyszukaj 2\" --backtest",
                         folder));
    const std::string sentence = textOf(control(kBackSentence));
    EXPECT_EQ(sentence.rfind("„Wyszukaj 2” (Mini Lotto): ", 0), 0u) << sentence;
    EXPECT_GT(barPixels(), 1000);
}

TEST_F(AnalysisScreens, PrzerwijAndLeavingTheScreenStopABacktest) {
    for (const int leave : {int{kBackStop}, int{kCmdRanking}}) {
        SCOPED_TRACE(leave);
        command(kCmdBacktest);
        chooseGame(kBackGame, 0);  // Multi Multi: a sample of its sets of eight
        const LRESULT at =
            SendMessageA(control(kBackSearch), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>("Wyszukaj 5 z 8"));
        SendMessageA(control(kBackSearch), CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        command(kBackRun);
        pump();
        ASSERT_FALSE(enabled(kBackRun));
        command(leave);
        waitForTheBacktest();
        EXPECT_EQ(textOf(control(kBackSentence)), "Przerwano.");
        EXPECT_EQ(SendMessageA(control(kBackTable), LVM_GETITEMCOUNT, 0, 0), 0);
        EXPECT_EQ(barPixels(), 0);
        EXPECT_EQ(IsWindowVisible(control(kBackChart)) != 0, leave == kBackStop);
    }
}

// After maximise and restore every screen shows what a fresh paint of it at
// that size shows: no trace of the earlier size.
TEST_F(AnalysisScreens, EveryScreenRepaintsWholeAfterMaximiseAndRestore) {
    const struct {
        int menu, game, gameList, field, run;
        const char* typed;
    } screens[] = {
        {kCmdRanking, 1, kRankGame, kRankLast, kRankShow, "300"},
        {kCmdTicket, 2, kTicketGame, kTicketNumbers, kTicketCheck, "3, 17, 22"},
        {kCmdBacktest, 1, kBackGame, kBackLast, kBackRun, "300"},
        {kCmdWheel, 2, kWheelGame, kWheelNumbers, kWheelMake,
         "3, 5, 8, 11, 13, 17, 22, 27, 30, 33"},
    };
    for (const auto& s : screens) {
        SCOPED_TRACE(s.menu);
        command(s.menu);
        chooseGame(s.gameList, s.game);
        SetWindowTextA(control(s.field), s.typed);
        command(s.run);
        waitUntilEnabled(s.run);
        SetFocus(mainWindow());  // no caret blinking in a field
        for (const int show : {SW_MAXIMIZE, SW_RESTORE}) {
            ShowWindow(mainWindow(), show);
            const std::vector<DWORD> shown = shownPixels();
            RedrawWindow(mainWindow(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
            const std::vector<DWORD> fresh = shownPixels();
            ASSERT_EQ(shown.size(), fresh.size());
            std::size_t differ = 0;
            for (std::size_t i = 0; i < shown.size(); ++i) differ += shown[i] != fresh[i];
            EXPECT_EQ(differ, 0u) << (show == SW_MAXIMIZE ? "maximised" : "restored");
        }
    }
}

}  // namespace
