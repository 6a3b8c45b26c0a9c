// The ranking screen on the real window: rankings saved through "Zapisz
// ranking..." are the lines of zestawy-cli --ranking, the window answers while
// its worker ranks, and "Przerwij" and leaving the screen stop the worker.
#include "app/ranking_screen.hpp"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/app_fixture.hpp"
#include "app/large_answer.hpp"
#include "app/ranking_state.hpp"

namespace {

using namespace apptest;

class RankingScreen : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(mainWindow(), nullptr);
        folder = folderWithHistories("ranking");
    }
    void SetUp() override {
        SetCurrentDirectoryA(folder.c_str());
        resetToStartState();
        command(kCmdRanking);
    }

    // Chooses the game, the search and the counts, and presses "Pokaż".
    static void start(int game, const char* caption, const char* last, const char* top) {
        choose(game, caption, last, top);
        command(kRankShow);
    }
    static void choose(int game, const char* caption, const char* last, const char* top) {
        const HWND games = control(kRankGame), searches = control(kRankSearch);
        SendMessageA(games, CB_SETCURSEL, static_cast<WPARAM>(game), 0);
        SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(kRankGame, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(games));
        const LRESULT at = SendMessageA(searches, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(caption));
        ASSERT_GE(at, 0) << caption;
        SendMessageA(searches, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        SetWindowTextA(control(kRankLast), last);
        SetWindowTextA(control(kRankTop), top);
    }
    // Handles the window's messages until the ranking has ended.
    static void waitForTheEnd(DWORD limitMs = 60000) {
        for (const DWORD begin = GetTickCount();
             !enabled(kRankShow) && GetTickCount() - begin < limitMs;)
            pump();
    }
    // What zestawy-cli.exe --ranking writes to a file (its lines end in CR LF on Windows).
    static std::string toolRanking(int game, const char* caption, const char* last,
                                   const char* top) {
        std::string arguments = std::string("--game ") + kGames[game].option + " --history \"" +
                                kGames[game].historyFile + "\" --search \"" + caption +
                                "\" --ranking --top " + top;
        if (*last) arguments += std::string(" --last ") + last;
        return toolOutput(arguments, folder);
    }
    static std::string folder;
};
std::string RankingScreen::folder;

TEST_F(RankingScreen, SavesTheToolsLinesAndAnswersWhileItRanks) {
    const struct {
        int game;
        const char *caption, *last, *top;
    } cases[] = {
        {0, "Wyszukaj 2", "", "50"},
        {2, "Wyszukaj 3", "3000", "20"},
        {0, "Wyszukaj 5 z 8", "", "10"},
        {0, "Wyszukaj 3", "", "20"},  // a random search's triples
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        start(c.game, c.caption, c.last, c.top);
        EXPECT_FALSE(enabled(kRankShow) || enabled(kRankSave));
        // Another thread asks the window for answers while it ranks. A window
        // that ranked on its own thread would answer only after the ranking;
        // this one answers while the ranking still runs ("Pokaż" still off).
        std::atomic<bool> done{false}, asked{false};
        std::atomic<int> answered{0}, whileRanking{0}, unanswered{0};
        std::thread asker([&] {
            while (!done) {
                DWORD_PTR result = 0;
                if (SendMessageTimeoutA(mainWindow(), WM_NULL, 0, 0, SMTO_BLOCK, kWaitMs,
                                        &result)) {
                    ++answered;
                    if (!IsWindowEnabled(control(kRankShow))) ++whileRanking;
                } else {
                    ++unanswered;
                }
                Sleep(20);
            }
            asked = true;
        });
        waitForTheEnd();
        done = true;
        // The asker may be waiting for an answer: the window goes on answering.
        while (!asked) pump();
        asker.join();
        EXPECT_EQ(unanswered, 0);
        std::printf("%s: %d answers, %d of them while it ranked\n", c.caption, answered.load(),
                    whileRanking.load());
        if (c.game == 0 && c.top[0] == '1') {
            EXPECT_GT(whileRanking, 0);
        }
        EXPECT_TRUE(enabled(kRankShow) && enabled(kRankSave));
        const std::string saved = folder + "\\" + c.caption + " " + c.top + ".txt";
        DeleteFileA(saved.c_str());  // left by an earlier run with the same process id
        EXPECT_EQ(runCommand(kRankSave, chooseFile(saved)), "");
        const std::string expected = toolRanking(c.game, c.caption, c.last, c.top);
        EXPECT_GT(expected.size(), 100u);
        EXPECT_EQ(fileBytes(saved), expected);
        if (c.game != 2) continue;
        // For a spreadsheet: what the tool writes with --format csv.
        const std::string csv = folder + "\\" + c.caption + ".csv";
        DeleteFileA(csv.c_str());
        EXPECT_EQ(runCommand(kRankSave, chooseFile(csv)), "");
        EXPECT_EQ(fileBytes(csv),
                  toolRanking(c.game, c.caption, c.last,
                              (c.top + std::string(" --format csv --encoding cp1250")).c_str()));
    }
    // A file that another program holds open is not overwritten, and the
    // message says so in Polish and names the file.
    const std::string held = folder + "\\held.txt";
    DeleteFileA(held.c_str());
    EXPECT_EQ(runCommand(kRankSave, chooseFile(held)), "");
    const HANDLE holder =
        CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::string failed = runCommand(kRankSave, overwrite(held, IDYES));
    CloseHandle(holder);
    EXPECT_NE(failed.find("Nie udało się zapisać pliku '" + held + "': "), std::string::npos)
        << failed;
    EXPECT_NE(textOf(control(kRankOdds)).find("Losowania są niezależne"), std::string::npos);
}

std::string cell(int item, int column) {
    char text[64] = "";
    LVITEMA lv = {};
    lv.iSubItem = column;
    lv.pszText = text;
    lv.cchTextMax = sizeof text;
    SendMessageA(control(kRankTable), LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&lv));
    return text;
}

// A click on a column header sorts by it, a second one the other way; Ctrl+C
// copies the selected rows as the file holds them.
TEST_F(RankingScreen, SortsByAColumnAndCopiesTheSelection) {
    start(0, "Wyszukaj 2", "", "10");  // 154 (51, 60), 116, ..., 91 (7, 41), 90, 90, 90
    waitForTheEnd();
    NMLISTVIEW click = {};
    click.hdr = {control(kRankTable), static_cast<UINT_PTR>(kRankTable), LVN_COLUMNCLICK};
    const struct {
        int column;
        const char* first;
    } clicks[] = {{0, "90"}, {0, "154"}, {2, "91"}};
    for (const auto& c : clicks) {
        click.iSubItem = c.column;
        SendMessageA(mainWindow(), WM_NOTIFY, kRankTable, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(cell(0, 0), c.first) << c.column;
    }
    LVITEMA all = {};
    all.stateMask = all.state = LVIS_SELECTED;
    SendMessageA(control(kRankTable), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&all));
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    NMLVKEYDOWN key = {
        {control(kRankTable), static_cast<UINT_PTR>(kRankTable), LVN_KEYDOWN}, 'C', 0};
    SendMessageA(mainWindow(), WM_NOTIFY, kRankTable, reinterpret_cast<LPARAM>(&key));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ASSERT_TRUE(OpenClipboard(mainWindow()));
    const HANDLE data = GetClipboardData(CF_TEXT);
    const char* copied = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    const std::string text = copied ? copied : "";
    if (copied) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_EQ(text.substr(0, text.find('\r')), "91\t16871. 29.06.2026\t7, 41");
}

// A click on a number of the coupon shows its pairs; any second click the
// single numbers again. (Multi Multi's coupon is 10 numbers wide and 8 high,
// under its title; a point in the middle of a row's band falls in that row.)
TEST_F(RankingScreen, ACouponClickShowsThatNumbersPairs) {
    command(kCmdRanking);
    start(0, "Wyszukaj 2", "", "10");
    waitForTheEnd();
    const HWND coupon = control(kRankCoupon);
    RECT client;
    GetClientRect(coupon, &client);
    auto click = [&](int row, int column) {
        const int x = client.right * (2 * column + 1) / 20, y = client.bottom * (2 * row + 1) / 16;
        SendMessageA(coupon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    };
    click(2, 6);
    EXPECT_EQ(state().ranking->pairsOf, 27);
    EXPECT_EQ(state().ranking->pairWaits.size(), 81u);
    click(4, 1);
    EXPECT_EQ(state().ranking->pairsOf, 0);
    click(4, 1);
    EXPECT_EQ(state().ranking->pairsOf, 42);
    click(1, 0);
    EXPECT_EQ(state().ranking->pairsOf, 0);
}

TEST_F(RankingScreen, PrzerwijAndLeavingTheScreenStopAtOnce) {
    for (const int leave : {int{kRankStop}, int{kCmdPrepareSearch}, int{kCmdOpenHelp}}) {
        SCOPED_TRACE(leave);
        command(kCmdRanking);
        // The top 10,000 of every eight-number set takes a good second at least.
        start(0, "Wyszukaj 5 z 8", "", "10000");
        pump();
        ASSERT_FALSE(enabled(kRankShow));
        command(leave);
        waitForTheEnd();
        // Stopped, not done: a ranking that ran on to its end would show its table.
        EXPECT_EQ(textOf(control(kRankOdds)), "Przerwano.");
        // Its progress still on the way moves the bar no more.
        PostMessageA(mainWindow(), kRankingMessage, 0,
                     progressOf(state().ranking->worker.generation() - 1, 50));
        pump();
        EXPECT_EQ(SendMessageA(control(kRankProgress), PBM_GETPOS, 0, 0), 0);
        EXPECT_EQ(IsWindowVisible(control(kRankTable)) != 0, leave == kRankStop);
    }
}

// Where the top sets never appeared, the table is followed by their count,
// made on every core within a budget (past it, estimated from a sample);
// "Przerwij" while it counts keeps the table and says the count was stopped.
TEST_F(RankingScreen, TheNeverSeenCountFollowsTheTableAndStopsAlone) {
    for (const bool stop : {false, true}) {
        start(0, "Wyszukaj 5 z 8", "100", "20");
        while (stop && !enabled(kRankShow) && textOf(control(kRankOdds)).rfind("Ranking gotowy", 0))
            pump();
        if (stop) command(kRankStop);
        waitForTheEnd();
        const std::string line = textOf(control(kRankOdds));
        EXPECT_EQ(SendMessageA(control(kRankTable), LVM_GETITEMCOUNT, 0, 0), 20) << line;
        EXPECT_NE(line.find("Najdłużej czeka 100 losowań, całą wybraną historię."),
                  std::string::npos)
            << line;
        EXPECT_NE(line.find(stop ? "Liczenie zestawów, które nie pojawiły się ani razu, przerwano."
                                 : "nie pojawiło się ani razu (95%: "),
                  std::string::npos)
            << line;
        // Too many to count in their second: estimated from a sample, never a
        // bound set against chance's mean.
        EXPECT_EQ(line.find("Około ") != std::string::npos, !stop) << line;
        EXPECT_EQ(line.find("Ponad"), std::string::npos) << line;
        std::printf("%s\n", line.c_str());
    }
}

// Lines of the history that are no draws are named in the odds line, as
// "Wczytaj" names them: how many, and the first.
TEST_F(RankingScreen, TheOddsLineNamesTheSkippedLines) {
    const std::string mini = folder + "\\" + kGames[1].historyFile;
    const std::string whole = fileBytes(mini);
    std::string broken = whole;
    for (int i = 0; i < 3; ++i)
        broken.insert(broken.rfind('\n', broken.size() - 500 * (i + 1)) + 1, "zepsuty\r\n");
    {
        std::FILE* f = std::fopen(mini.c_str(), "wb");
        std::fwrite(broken.data(), 1, broken.size(), f);
        std::fclose(f);
    }
    start(1, "Wyszukaj 2", "200", "10");
    waitForTheEnd();
    const std::string line = textOf(control(kRankOdds));
    std::FILE* f = std::fopen(mini.c_str(), "wb");
    std::fwrite(whole.data(), 1, whole.size(), f);
    std::fclose(f);
    EXPECT_NE(line.find(", 197 losowań:"), std::string::npos) << line;
    EXPECT_NE(line.find(" Pominięto 3 wiersze, które nie są losowaniami (pierwszy: wiersz "),
              std::string::npos)
        << line;
}

// A mean gap is shown to one decimal place, and from 1000 on as a whole
// number in groups, also where the rounding reaches 1000.
TEST(RankingText, DecimalsRoundOverIntoWholeNumbers) {
    EXPECT_EQ(decimal(12.34), "12,3");
    EXPECT_EQ(decimal(999.94), "999,9");
    EXPECT_EQ(decimal(999.96), grouped(1000));
    EXPECT_EQ(decimal(123456.7), grouped(123457));
}

}  // namespace
