// The search buttons on the real window: the results box ends up exactly as
// the command frame's text for the same numbers box, answers are appended
// after earlier ones, and the panel's buttons are locked and unlocked.
#include <windows.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <set>

#include "app/app_fixture.hpp"
#include "app/large_answer.hpp"
#include "app/panels.hpp"
#include "combinatorics/random.hpp"
#include "commands/search_command.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"
#include "results_box_text.hpp"

namespace {

using namespace apptest;

// The numbers box as "Wczytaj" fills it with the last `count` draws of a real history.
std::string latestNumbers(const char* game, long long count) {
    std::vector<std::string> lines;
    const std::string path = std::string(ZESTAWY_DATA_DIR) + "/" + game + " wyniki losowań.txt";
    // The program keeps paths in UTF-8; this source's texts are Windows-1250.
    EXPECT_TRUE(zestawy::readHistoryLines(zestawy::utf8FromCp1250(path), lines)) << path;
    return zestawy::latestDraws(lines, count).numbers;
}

class SearchButtons : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(mainWindow(), nullptr);
        resetToStartState();
        command(kCmdPrepareSearch);
    }
};

TEST_F(SearchButtons, AppendTheFramesAnswerAndLockThePanel) {
    struct Case {
        int id;
        const char* game;
        long long draws;
    };
    const Case cases[] = {
        {1, "Multi Multi", 100},  {2, "Multi Multi", 100},  {3, "Multi Multi", 300},
        {4, "Multi Multi", 1000}, {7, "Multi Multi", 1000}, {8, "Multi Multi", 300},
        {10, "Multi Multi", 300}, {11, "Multi Multi", 100}, {41, "Multi Multi", 100},
        {42, "Multi Multi", 300}, {20, "Mini Lotto", 10},   {21, "Mini Lotto", 100},
        {24, "Mini Lotto", 1000}, {31, "Lotto", 100},       {33, "Lotto", 1000},
        {35, "Lotto", 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const zestawy::SearchCommand& cmd = *zestawy::findSearchCommand(c.id);
        const GamePanel& panel = panelOf(cmd.game);
        const std::vector<int> searches = searchButtonsOf(cmd.game);
        resetToStartState();
        const std::string numbers = latestNumbers(c.game, c.draws);
        SetWindowTextA(state().numbersBox, numbers.c_str());
        SetWindowTextA(state().resultsBox, "Wcze\x9cniejsza odpowied\x9f");
        for (int id : buttonIds()) EnableWindow(control(id), id % 3 != 0);
        std::map<int, bool> before;
        for (int id : buttonIds()) before[id] = enabled(id);

        const std::uint32_t generator = zestawy::randomState();
        command(c.id);
        const std::uint32_t after = zestawy::randomState();
        zestawy::setRandomState(generator);
        EXPECT_EQ(textOf(state().resultsBox),
                  zestawy::runSearchCommand(cmd, numbers, "Wcze\x9cniejsza odpowied\x9f"));
        EXPECT_EQ(zestawy::randomState(), after);

        std::set<int> locked(searches.begin(), searches.end());
        locked.erase(c.id);
        locked.insert(panel.otherGames);
        for (int id : buttonIds()) {
            const bool expected = id == panel.save || id == panel.open ? true
                                  : locked.count(id)                   ? false
                                                                       : before[id];
            EXPECT_EQ(enabled(id), expected) << "button " << id;
        }
    }
}

TEST_F(SearchButtons, AnswersFollowEachOtherAfterOneLineBreak) {
    SetWindowTextA(state().numbersBox, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n");
    command(kMulti2);
    EXPECT_EQ(textOf(state().resultsBox), "1, 21");
    command(kMulti2);
    EXPECT_EQ(textOf(state().resultsBox), "1, 21\r\n1, 21");
    // After the terminated list of "Wyszukaj 4 z 6" an empty line precedes the next answer.
    SetWindowTextA(state().numbersBox, std::string(latestNumbers("Multi Multi", 300)).c_str());
    SetWindowTextA(state().resultsBox, "");
    command(kMulti4z6);
    const std::string sixes = textOf(state().resultsBox);
    ASSERT_EQ(sixes.substr(sixes.size() - 2), "\r\n");
    command(kMulti4z6);
    EXPECT_EQ(textOf(state().resultsBox), sixes + "\r\n" + sixes);
    // An empty numbers box runs the search all the same.
    SetWindowTextA(state().numbersBox, "");
    SetWindowTextA(state().resultsBox, "");
    command(kLotto1);
    EXPECT_EQ(textOf(state().resultsBox), "1");
}

// ---- Answers too long for the results box ----

std::string buttonText(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button) ? textOf(button) : "-";
}

// Answers the question about a long answer with `button`; in the save dialog
// that Tak opens, chooses `path`. Returns the question, its buttons, and what
// came after.
User answerQuestion(int button, const std::string& path = "") {
    return [button, path] {
        HWND box = waitForDialog(mainWindow());
        if (!box) return std::string("no question");
        const std::string seen = messageText(box) + " [" + buttonText(box, IDYES) +
                                 buttonText(box, IDOK) + "|" + buttonText(box, IDNO) + "|" +
                                 buttonText(box, IDCANCEL) + "]";
        press(box, button);
        if (path.empty()) return seen;
        HWND dialog = waitForDialog(mainWindow(), box);
        if (!dialog) return seen + " no file dialog";
        typeFileName(dialog, path);
        press(dialog, IDOK);
        // Until the command ends: the cursor while the file is written, or a message.
        bool hourglass = false;
        for (DWORD start = GetTickCount(); !commandDone && GetTickCount() - start < kLongWaitMs;
             Sleep(5)) {
            if (HWND message = findDialog(mainWindow(), dialog)) {
                const std::string text = messageText(message);
                press(message, IDOK);
                return seen + " " + text;
            }
            CURSORINFO cursor = {};
            cursor.cbSize = sizeof cursor;
            hourglass = hourglass || (GetCursorInfo(&cursor) &&
                                      cursor.hCursor == LoadCursorA(nullptr, IDC_WAIT));
        }
        return seen + (hourglass ? " (hourglass)" : " (no hourglass)");
    };
}

std::string questionOf(const zestawy::SearchCommand& cmd, const std::string& numbers,
                       bool boxTakesIt) {
    const zestawy::AnswerSize size = zestawy::measureAnswer(cmd, zestawy::splitDrawList(numbers));
    return std::string(zestawy::kLargeAnswerCaption) + ": " +
           zestawy::largeAnswerQuestion(cmd, size, boxTakesIt) +
           (boxTakesIt ? " [&Tak-|&Nie|Anuluj]" : " [-&Tak|-|Anuluj]");
}

// Whether the file holds exactly the answer that the command frame writes.
bool holdsAnswer(const std::string& path, const zestawy::SearchCommand& cmd,
                 const std::string& numbers) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::string read;
    const bool same =
        zestawy::streamAnswer(cmd, zestawy::splitDrawList(numbers), [&](std::string_view piece) {
            read.resize(piece.size());
            DWORD got = 0;
            return ReadFile(f, &read[0], static_cast<DWORD>(piece.size()), &got, nullptr) &&
                   got == piece.size() && read == piece;
        });
    char extra;
    DWORD got = 0;
    const bool atEnd = ReadFile(f, &extra, 1, &got, nullptr) && got == 0;
    CloseHandle(f);
    return same && atEnd;
}

double peakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / 1e6;
}

// Over the last 10 Multi Multi draws "5 z 5" finds 464 MB of sets and "4 z 6"
// 5.1 GB: more than the box may hold, so the question offers a file or nothing.
TEST_F(SearchButtons, AskBeforeAnAnswerTooLongForTheBox) {
    const std::string temp = ownTempFolder("long-answers") + "\\";
    const std::string numbers = latestNumbers("Multi Multi", 10);
    for (int id : {16, 8}) {
        SCOPED_TRACE(id);
        const zestawy::SearchCommand& cmd = *zestawy::findSearchCommand(id);
        const GamePanel& panel = panelOf(cmd.game);
        const std::vector<int> searches = searchButtonsOf(cmd.game);
        resetToStartState();
        SetWindowTextA(state().numbersBox, numbers.c_str());
        SetWindowTextA(state().resultsBox, "earlier");

        // Anuluj: nothing changes but the buttons, as after any search.
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(runCommand(id, answerQuestion(IDCANCEL)), questionOf(cmd, numbers, false));
        std::printf(
            "id %d: asked and answered in %.2f s\n", id,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        EXPECT_EQ(textOf(state().resultsBox), "earlier");
        for (int other : searches) EXPECT_EQ(enabled(other), other == id) << other;
        EXPECT_TRUE(enabled(panel.save) && enabled(panel.open));
        EXPECT_FALSE(enabled(panel.otherGames));

        // Tak: the whole answer, streamed into the chosen file.
        const std::string path = std::string(temp) + "zestawy-long-" + std::to_string(id) + ".txt";
        const auto saveStart = std::chrono::steady_clock::now();
        EXPECT_EQ(runCommand(id, answerQuestion(IDOK, path), kLongWaitMs),
                  questionOf(cmd, numbers, false) + " (hourglass)");
        EXPECT_NE(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - saveStart).count();
        const zestawy::AnswerSize size =
            zestawy::measureAnswer(cmd, zestawy::splitDrawList(numbers));
        std::printf("id %d: %.0f MB saved in %.1f s; peak memory of the process %.0f MB\n", id,
                    static_cast<double>(size.bytes) / 1e6, seconds, peakMegabytes());
        EXPECT_TRUE(holdsAnswer(path, cmd, numbers));
        EXPECT_EQ(textOf(state().resultsBox),
                  "earlier\r\n" + zestawy::savedAnswerNote(cmd, size, path));
        EXPECT_LT(peakMegabytes(), 1500);
        DeleteFileA(path.c_str());
    }
}

TEST_F(SearchButtons, AnAnswerTheBoxCanTakeGoesThereOnNie) {
    // "3 z 4" over the last 50 draws: 2.5 MB, over the edit control's default limit.
    const std::string numbers = latestNumbers("Multi Multi", 50);
    SetWindowTextA(state().numbersBox, numbers.c_str());
    SetWindowTextA(state().resultsBox, "x");
    const zestawy::SearchCommand& cmd = *zestawy::findSearchCommand(4);
    // (Wine's edit control takes in about a megabyte a second, far slower on a
    // busy machine: the wait is the long one.)
    EXPECT_EQ(runCommand(kMulti3z4, answerQuestion(IDNO), kLongWaitMs),
              questionOf(cmd, numbers, true));
    const std::string expected = zestawy::runSearchCommand(cmd, numbers, "x");
    ASSERT_GT(expected.size(), zestawy::kAskAbove);
    EXPECT_EQ(GetWindowTextLengthA(state().resultsBox), static_cast<int>(expected.size()));
    EXPECT_EQ(textOf(state().resultsBox), expected);
}

TEST_F(SearchButtons, ShortAndRandomAnswersNeverAsk) {
    // Over 10 draws "5 z 7" and "5 z 8" walk millions of sets but show 699
    // characters or one set; the random searches show at most ten.
    SetWindowTextA(state().numbersBox, latestNumbers("Multi Multi", 10).c_str());
    for (int id : {10, 11, 41, 42, 3}) {
        SetWindowTextA(state().resultsBox, "");
        EXPECT_EQ(runCommand(id, answerQuestion(IDCANCEL)), "no question") << id;
        EXPECT_GT(GetWindowTextLengthA(state().resultsBox), 0) << id;
    }
}

// Input that reaches the window while a command runs (here: queued before it
// starts) is dropped, not run afterwards: a second click would run the search
// again.
TEST_F(SearchButtons, DropInputGivenWhileTheyRun) {
    auto typeSeven = [] {
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = '7';
        }
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    };
    auto handleWaiting = [] {
        MSG msg;
        for (int i = 0; i < 20; ++i, Sleep(10))
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    };
    SetForegroundWindow(mainWindow());
    SetFocus(state().countBox);
    handleWaiting();
    SetWindowTextA(state().countBox, "");
    typeSeven();
    handleWaiting();
    ASSERT_EQ(textOf(state().countBox), "7");  // keys that come while nothing runs are typed
    typeSeven();
    command(kMulti2);
    handleWaiting();
    EXPECT_EQ(textOf(state().countBox), "7");
    // A box's notification (here: focus leaving the count box, as a click on
    // a button makes it) runs no command and must not drop that click.
    typeSeven();
    SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(kIdCountBox, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(state().countBox));
    handleWaiting();
    EXPECT_EQ(textOf(state().countBox), "77");
}

}  // namespace
