// The show and hide commands of the menu, the game buttons and "Inne gry", and
// the clear commands, on the real window: each changes exactly the controls of
// its row and nothing else.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "app/app_fixture.hpp"

namespace {

using namespace apptest;

std::vector<int> range(int from, int to) {
    std::vector<int> ids;
    for (int i = from; i <= to; ++i) ids.push_back(i);
    return ids;
}
std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<int> kGameButtons = {kMultiGame, kMiniGame, kLottoGame};
const std::vector<int> kMultiPanel =
    range(kMulti2, kMulti5z8) + std::vector<int>{kMulti5z5,  kMulti6z9,       kMulti7z10,
                                                 kMultiLoad, kMultiClear,     kMultiSave,
                                                 kMultiOpen, kMultiOtherGames};
const std::vector<int> kMiniPanel =
    range(kMini1, kMiniClear) + std::vector<int>{kMiniSave, kMiniOpen, kMiniOtherGames};
const std::vector<int> kLottoPanel =
    range(kLotto1, kLottoClear) + std::vector<int>{kLottoSave, kLottoOpen, kLottoOtherGames};

std::vector<HWND> operator+(std::vector<HWND> a, const std::vector<HWND>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<HWND> handles(const std::vector<int>& ids) {
    std::vector<HWND> out;
    for (int id : ids) out.push_back(control(id));
    return out;
}

struct State {
    std::map<HWND, bool> visible, enabled;
    std::vector<std::string> texts;
};

State snapshot() {
    State s;
    for (int i = 0; i < kControlCount; ++i) {
        const HWND h = handleOf(kControls[i]);
        s.visible[h] = IsWindowVisible(h) != 0;
        s.enabled[h] = IsWindowEnabled(h) != 0;
    }
    for (HWND box : state().workBoxes()) s.texts.push_back(textOf(box));
    return s;
}

class Panels : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(mainWindow(), nullptr);
        resetToStartState();
    }
};

struct ViewRow {
    int id;
    std::vector<HWND> shows, hides;
};

TEST_F(Panels, EachViewCommandChangesExactlyItsRowFromEveryScreen) {
    const std::vector<HWND> allButtons =
        handles(kGameButtons + kMultiPanel + kMiniPanel + kLottoPanel);
    const std::vector<HWND> panels = handles(kMultiPanel + kMiniPanel + kLottoPanel);
    const std::vector<ViewRow> rows = {
        {1001, state().workBoxes(), std::vector<HWND>{state().aboutBox, state().helpBox} + panels},
        {1003, {state().helpBox}, state().workBoxes() + std::vector<HWND>{state().aboutBox}},
        {1004, state().workBoxes(), std::vector<HWND>{state().helpBox, state().aboutBox} + panels},
        {14, handles(kMultiPanel), handles(kGameButtons)},
        {15, handles(kGameButtons), handles(kMultiPanel)},
        {27, handles(kMiniPanel), handles(kGameButtons)},
        {28, handles(kGameButtons), handles(kMiniPanel)},
        {38, handles(kLottoPanel), handles(kGameButtons)},
        {39, handles(kGameButtons), handles(kLottoPanel)},
    };
    const std::vector<std::vector<int>> screens = {
        {}, {1001}, {1001, 14}, {1001, 27}, {1001, 38}, {1003}, {1001, 14, 1003}, {1001, 14, 1001}};
    for (const ViewRow& row0 : rows) {
        ViewRow row = row0;
        if (row.id == 1001 || row.id == 1004) row.shows = row.shows + handles(kGameButtons);
        if (row.id == 1003) row.hides = row.hides + allButtons;
        for (const auto& screen : screens) {
            resetToStartState();
            for (int id : screen) command(id);
            // Some flags and texts that no view command may touch.
            EnableWindow(control(kMultiSave), FALSE);
            EnableWindow(control(kMiniGame), FALSE);
            SetWindowTextA(state().resultsBox, "wynik");
            const State before = snapshot();
            EXPECT_EQ(command(row.id), 0);
            const State after = snapshot();
            for (const auto& [h, wasVisible] : before.visible) {
                bool expected = wasVisible;
                for (HWND s : row.hides)
                    if (s == h) expected = false;
                for (HWND s : row.shows)
                    if (s == h) expected = true;
                EXPECT_EQ(after.visible.at(h), expected)
                    << "command " << row.id << " control id " << GetDlgCtrlID(h) << " after "
                    << screen.size() << " commands";
            }
            EXPECT_EQ(after.enabled, before.enabled) << row.id;
            EXPECT_EQ(after.texts, before.texts) << row.id;
        }
    }
}

TEST_F(Panels, NormalFlowReachesEachScreen) {
    command(kCmdPrepareSearch);
    EXPECT_FALSE(IsWindowVisible(state().aboutBox));
    for (int id : kGameButtons) EXPECT_TRUE(shown(id));
    command(kMultiGame);
    for (int id : kMultiPanel) EXPECT_TRUE(shown(id));
    for (int id : kGameButtons) EXPECT_FALSE(shown(id));
    // "Przygotuj wyszukiwanie" from a panel leaves the panel: the game button
    // "Multi Multi" stands exactly where the panel's "Wyszukaj 2" is, and a
    // click would go to the button drawn under the other.
    command(kCmdPrepareSearch);
    EXPECT_TRUE(shown(kMultiGame));
    EXPECT_FALSE(shown(kMulti2));
    command(kMultiGame);
    // Help from a panel, then closed: the search screen, not the panel.
    command(kCmdOpenHelp);
    for (int id : kMultiPanel + kGameButtons) EXPECT_FALSE(shown(id));
    command(kCmdCloseHelp);
    for (int id : kGameButtons) EXPECT_TRUE(shown(id));
    for (int id : kMultiPanel) EXPECT_FALSE(shown(id));
    // Help opened and closed right after start: the about text is gone too.
    resetToStartState();
    command(kCmdOpenHelp);
    EXPECT_FALSE(IsWindowVisible(state().aboutBox));
    command(kCmdCloseHelp);
    EXPECT_FALSE(IsWindowVisible(state().aboutBox));
    EXPECT_TRUE(IsWindowVisible(state().numbersBox));
}

struct ClearRow {
    int id;
    std::vector<int> enables;
};

TEST_F(Panels, ClearEmptiesTheBoxesAndEnablesOnlyItsOwnRow) {
    const std::vector<ClearRow> rows = {
        {12, range(1, 11) + std::vector<int>{13, 15, 16, 41, 42}},
        {26, range(20, 25) + std::vector<int>{28}},
        {37, range(30, 35) + std::vector<int>{39}},
    };
    for (const ClearRow& row : rows) {
        resetToStartState();
        command(kCmdPrepareSearch);
        for (int id : buttonIds()) EnableWindow(control(id), FALSE);
        for (HWND box : state().workBoxes()) SetWindowTextA(box, "1,2,3");
        const State before = snapshot();
        command(row.id);
        const State after = snapshot();
        EXPECT_EQ(after.texts, std::vector<std::string>(4, ""));
        EXPECT_EQ(after.visible, before.visible);
        const std::set<int> enables(row.enables.begin(), row.enables.end());
        for (int id : buttonIds())
            EXPECT_EQ(enabled(id), enables.count(id) == 1) << row.id << " " << id;
    }
}

}  // namespace
