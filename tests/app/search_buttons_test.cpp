// The search buttons on the real window: the results box ends up exactly as
// the command frame's text for the same numbers box, answers are appended
// after earlier ones, and the panel's buttons are locked and unlocked.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <set>

#include "app/app_fixture.hpp"
#include "app/panels.hpp"
#include "combinatorics/random.hpp"
#include "commands/search_command.hpp"
#include "history/history.hpp"

namespace {

using namespace apptest;

// The numbers box as "Wczytaj" fills it with the last `count` draws of a real history.
std::string latestNumbers(const char* game, long long count) {
    std::vector<std::string> lines;
    const std::string path = std::string(ZESTAWY_DATA_DIR) + "/" + game + " wyniki losowań.txt";
    EXPECT_TRUE(zestawy::readHistoryLines(path, lines)) << path;
    return zestawy::latestDraws(lines, count).numbers;
}

class SearchButtons : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(mainWindow(), nullptr);
        resetToStartState();
        command(1001);
    }
};

TEST_F(SearchButtons, AppendTheFramesAnswerAndLockThePanel) {
    struct Case {
        int id;
        const char* game;
        long long draws;
    };
    const Case cases[] = {{1, "Multi Multi", 100},  {2, "Multi Multi", 100}, {3, "Multi Multi", 300},
                          {4, "Multi Multi", 1000}, {7, "Multi Multi", 1000}, {8, "Multi Multi", 300},
                          {10, "Multi Multi", 300}, {11, "Multi Multi", 100}, {41, "Multi Multi", 100},
                          {42, "Multi Multi", 300}, {20, "Mini Lotto", 10},  {21, "Mini Lotto", 100},
                          {24, "Mini Lotto", 1000}, {31, "Lotto", 100},      {33, "Lotto", 1000},
                          {35, "Lotto", 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const zestawy::SearchCommand& cmd = *zestawy::findSearchCommand(c.id);
        const GamePanel& panel = panelOf(cmd.game);
        resetToStartState();
        const std::string numbers = latestNumbers(c.game, c.draws);
        SetWindowTextA(hPole1, numbers.c_str());
        SetWindowTextA(hPole2, "Wcze\x9cniejsza odpowied\x9f");
        for (int id : buttonIds()) EnableWindow(control(id), id % 3 != 0);
        std::map<int, bool> before;
        for (int id : buttonIds()) before[id] = enabled(id);

        const std::uint32_t state = zestawy::randomState();
        command(c.id);
        const std::uint32_t after = zestawy::randomState();
        zestawy::setRandomState(state);
        EXPECT_EQ(textOf(hPole2), zestawy::runSearchCommand(cmd, numbers, "Wcze\x9cniejsza odpowied\x9f"));
        EXPECT_EQ(zestawy::randomState(), after);

        std::set<int> locked(panel.searches.begin(), panel.searches.end());
        locked.erase(c.id);
        locked.insert(panel.otherGames);
        for (int id : buttonIds()) {
            const bool expected = id == panel.save || id == panel.open ? true
                                  : locked.count(id)                  ? false
                                                                      : before[id];
            EXPECT_EQ(enabled(id), expected) << "button " << id;
        }
    }
}

TEST_F(SearchButtons, AnswersFollowEachOtherAfterOneLineBreak) {
    SetWindowTextA(hPole1, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n");
    command(1);
    EXPECT_EQ(textOf(hPole2), "1, 21");
    command(1);
    EXPECT_EQ(textOf(hPole2), "1, 21\r\n1, 21");
    // After the terminated list of "Wyszukaj 4 z 6" an empty line precedes the next answer.
    SetWindowTextA(hPole1, std::string(latestNumbers("Multi Multi", 300)).c_str());
    SetWindowTextA(hPole2, "");
    command(8);
    const std::string sixes = textOf(hPole2);
    ASSERT_EQ(sixes.substr(sixes.size() - 2), "\r\n");
    command(8);
    EXPECT_EQ(textOf(hPole2), sixes + "\r\n" + sixes);
    // An empty numbers box runs the search all the same.
    SetWindowTextA(hPole1, "");
    SetWindowTextA(hPole2, "");
    command(30);
    EXPECT_EQ(textOf(hPole2), "1");
}

TEST_F(SearchButtons, TakeAnswersLargerThanTheEditControlsDefaultLimit) {
    // About 2.6 MB: every quadruple of Mini Lotto over three draws.
    SetWindowTextA(hPole1, "1,2,3,4,5\r\n6,7,8,9,10\r\n11,12,13,14,15");
    SetWindowTextA(hPole2, "x");
    command(23);
    const std::string expected =
        zestawy::runSearchCommand(*zestawy::findSearchCommand(23), textOf(hPole1), "x");
    ASSERT_GT(expected.size(), 1000000u);
    EXPECT_EQ(GetWindowTextLengthA(hPole2), static_cast<int>(expected.size()));
    EXPECT_EQ(textOf(hPole2), expected);
}

// Not a check: prints how long typical answers take to appear in the results
// box under the window system. Run with --gtest_also_run_disabled_tests.
// Wine's edit control takes in about a megabyte a second, so the answers of
// hundreds of megabytes ("4 z 5", "5 z 5" and "5 z 6" over 100 draws) are left
// out: they take many minutes.
TEST_F(SearchButtons, DISABLED_ReportHowLongAnswersTakeToAppear) {
    for (long long draws : {1000LL, 100LL}) {
        const std::string numbers = latestNumbers("Multi Multi", draws);
        for (int id : {1, 2, 3, 4, 5, 6, 7, 16, 8, 9, 10, 11, 41, 42}) {
            if (draws == 100 && (id == 7 || id == 9 || id == 16)) continue;
            resetToStartState();
            SetWindowTextA(hPole1, numbers.c_str());
            const auto start = std::chrono::steady_clock::now();
            command(id);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("N=%lld id %2d: %8.3f s, %10d characters\n", draws, id, seconds,
                        GetWindowTextLengthA(hPole2));
        }
    }
}

}  // namespace
