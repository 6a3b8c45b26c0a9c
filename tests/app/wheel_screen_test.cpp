// "System skrócony..." on the real window: from the numbers (typed, clicked,
// taken from the other screens) to saved tickets that are the tool's bytes,
// the cost following the price, the history check, and "Przerwij" or leaving
// the screen stopping a search.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <thread>

#include "app/app_fixture.hpp"

namespace {

using namespace apptest;

class WheelScreen : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(mainWindow(), nullptr);
        folder = folderWithHistories("wheel");
    }
    void SetUp() override {
        SetCurrentDirectoryA(folder.c_str());
        resetToStartState();
        command(kCmdWheel);
    }
    static void choose(int list, const char* item) {
        const HWND box = control(list);
        SendMessageA(
            box, CB_SETCURSEL,
            static_cast<WPARAM>(SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(item))),
            0);
        SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
    }
    static std::string chosen(int list) { return textOf(control(list)); }
    static void waitForTheWork() {
        for (const DWORD begin = GetTickCount();
             !enabled(kWheelMake) && GetTickCount() - begin < kLongWaitMs;)
            pump();
    }
    static std::string cell(int table, int row, int column) {
        char text[256] = "";
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(control(table), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }
    static int rows(int table) {
        return static_cast<int>(SendMessageA(control(table), LVM_GETITEMCOUNT, 0, 0));
    }
    // What the message box of `act` says, answered with OK.
    static std::string refusal(const std::function<void()>& act) {
        commandDone = false;
        std::string said = "no message";
        std::thread player([&] {
            if (const HWND box = waitForDialog(mainWindow())) {
                said = messageText(box);
                press(box, IDOK);
            }
        });
        act();
        commandDone = true;
        player.join();
        return said;
    }
    static std::string folder;
};
std::string WheelScreen::folder;

TEST_F(WheelScreen, FromTheNumbersToSavedTicketsThatAreTheTools) {
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), kWheelNumbers);
    choose(kWheelGame, "Lotto");
    EXPECT_FALSE(IsWindowEnabled(control(kWheelSize)));
    // Typed in any order; 25 clicked on the coupon (7 by 7, no legend) and
    // clicked away again.
    const char* const numbers = "3, 5, 8, 11, 13, 17, 22, 27, 30, 33, 41, 49";
    SetWindowTextA(control(kWheelNumbers), "49, 3, 5, 8, 11, 13, 17, 22, 27, 30, 33, 41");
    RECT client;
    GetClientRect(control(kWheelCoupon), &client);
    const LPARAM at25 = MAKELPARAM(client.right / 2, client.bottom / 2 + client.bottom / 28);
    SendMessageA(control(kWheelCoupon), WM_LBUTTONDOWN, MK_LBUTTON, at25);
    EXPECT_EQ(textOf(control(kWheelNumbers)), "3, 5, 8, 11, 13, 17, 22, 25, 27, 30, 33, 41, 49");
    SendMessageA(control(kWheelCoupon), WM_LBUTTONDOWN, MK_LBUTTON, at25);
    EXPECT_EQ(textOf(control(kWheelNumbers)), numbers);
    EXPECT_EQ(chosen(kWheelGuarantee), "3 z 3");

    // Enter in the field: "Ułóż". The table's system comes at once.
    SetFocus(control(kWheelNumbers));
    const MSG enter = {GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(preTranslate(enter));
    waitForTheWork();
    EXPECT_EQ(rows(kWheelTickets), 15);
    EXPECT_EQ(rows(kWheelSure), 7);          // 6 down to 0 of the player's numbers drawn
    EXPECT_EQ(cell(kWheelSure, 3, 1), "3");  // 3 drawn of 12: the guarantee
    const std::string summary = textOf(control(kWheelSummary));
    EXPECT_NE(summary.find("15 zakładów × 3,00 zł = 45,00 zł"), std::string::npos) << summary;
    EXPECT_NE(summary.find("Gwarancja „3 z 3” działa tylko wtedy"), std::string::npos) << summary;
    SetWindowTextA(control(kWheelPrice), "2,5");
    EXPECT_NE(textOf(control(kWheelSummary)).find("× 2,50 zł = 37,50 zł"), std::string::npos);

    // Saved as the tool prints the same system, as text and for a spreadsheet.
    const std::string tool =
        std::string("--game lotto --wheel \"") + numbers + "\" --guarantee \"3 z 3\"";
    for (const char* name : {"\\system.txt", "\\system.csv"}) {
        const std::string path = folder + name;
        DeleteFileA(path.c_str());
        EXPECT_EQ(runCommand(kWheelSave, chooseFile(path)), "");
        const bool csv = path.back() == 'v';
        EXPECT_EQ(fileBytes(path),
                  toolOutput(tool + (csv ? " --format csv --encoding cp1250" : ""), folder));
    }

    // The best ticket over the last 1000 draws: every draw in one row.
    SetWindowTextA(control(kWheelLast), "1000");
    command(kWheelHistory);
    waitForTheWork();
    ASSERT_EQ(rows(kWheelOnHistory), 7);
    int draws = 0;
    for (int row = 0; row < 7; ++row) draws += std::stoi(cell(kWheelOnHistory, row, 1));
    EXPECT_EQ(draws, 1000);
    EXPECT_EQ(textOf(control(kWheelHistoryLabel))
                  .find("Najlepszy zakład w każdym z 1\xA0"
                        "000 losowań"),
              0u);
}

TEST_F(WheelScreen, NumbersComeFromTheTicketScreenAndTheRanking) {
    EXPECT_EQ(
        refusal([] { command(kWheelFromRanking); }).find("System skrócony: Najpierw pokaż ranking"),
        0u);
    command(kCmdTicket);
    SendMessageA(control(kTicketGame), CB_SETCURSEL, 1, 0);  // Mini Lotto
    SetWindowTextA(control(kTicketNumbers), "1, 2, 3, 4, 5, 6");
    command(kCmdWheel);
    command(kWheelFromTicket);
    EXPECT_EQ(chosen(kWheelGame), "Mini Lotto");
    EXPECT_EQ(textOf(control(kWheelNumbers)), "1, 2, 3, 4, 5, 6");

    // The ranking's pairs of Lotto: the numbers of its sets from the top while
    // they fit in 30; of the rows chosen where some are.
    command(kCmdRanking);
    SendMessageA(control(kRankGame), CB_SETCURSEL, 2, 0);
    SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(kRankGame, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control(kRankGame)));
    choose(kRankSearch, "Wyszukaj 2");
    command(kRankShow);
    waitUntilEnabled(kRankShow);
    auto numbersOf = [](std::set<int> numbers, int row) {
        const std::string set = cell(kRankTable, row, 2);  // "3, 17"
        for (std::size_t at = 0; at != std::string::npos; at = set.find(' ', at + 1))
            numbers.insert(std::stoi(set.substr(at)));
        return numbers;
    };
    auto joined = [](const std::set<int>& numbers) {
        std::string text;
        for (int n : numbers) text += (text.empty() ? "" : ", ") + std::to_string(n);
        return text;
    };
    std::set<int> top;
    for (int row = 0; row < rows(kRankTable) && numbersOf(top, row).size() <= 30; ++row)
        top = numbersOf(top, row);
    command(kCmdWheel);
    command(kWheelFromRanking);
    EXPECT_EQ(chosen(kWheelGame), "Lotto");
    EXPECT_EQ(textOf(control(kWheelNumbers)), joined(top));
    ListView_SetItemState(control(kRankTable), 1, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(control(kRankTable), 3, LVIS_SELECTED, LVIS_SELECTED);
    command(kWheelFromRanking);
    EXPECT_EQ(textOf(control(kWheelNumbers)), joined(numbersOf(numbersOf({}, 1), 3)));
}

TEST_F(WheelScreen, PrzerwijAndLeavingTheScreenStopASearchWithItsBestSystem) {
    for (const int leave : {int{kWheelStop}, int{kCmdTicket}}) {
        SCOPED_TRACE(leave);
        command(kCmdWheel);
        choose(kWheelGame, "Multi Multi");
        SetWindowTextA(
            control(kWheelNumbers),
            "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22");
        choose(kWheelGuarantee, "3 z 4");
        command(kWheelMake);
        pump();
        ASSERT_FALSE(enabled(kWheelMake));
        command(leave);
        waitForTheWork();
        const std::string summary = textOf(control(kWheelSummary));
        EXPECT_TRUE(summary == "Przerwano." ||
                    summary.find("przerwano poszukiwanie") != std::string::npos)
            << summary;
        EXPECT_EQ(IsWindowVisible(control(kWheelSummary)) != 0, leave == kWheelStop);
    }
}

}  // namespace
