// The screens of the "Analiza" menu from the keyboard, as on any Windows
// dialog: Tab goes through the fields and buttons from left to right and top
// to bottom, Enter on a focused button presses it and in a field runs the
// screen, Esc stops a run however it was started, and the focus comes back
// after every dialog and message box.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_fixture.hpp"

namespace {

using namespace apptest;

class Keyboard : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_NE(mainWindow(), nullptr);
        folder_ = folderWithHistories("keyboard");
    }
    void SetUp() override {
        SetCurrentDirectoryA(folder_.c_str());
        resetToStartState();
    }
    // A key pressed where the focus is (the window itself where no control
    // has it), as the program's message loop takes it; whether the window
    // took it before dispatching.
    static bool key(WPARAM vk, bool shift = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        const HWND focus = GetFocus();
        const MSG msg = {focus ? focus : mainWindow(), WM_KEYDOWN, vk, 0, 0, {0, 0}};
        const bool taken = preTranslate(msg);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return taken;
    }
    static void choose(int list, const char* item) {
        const LRESULT at = SendMessageA(control(list), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(item));
        SendMessageA(control(list), CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        SendMessageA(mainWindow(), WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control(list)));
    }
    static RECT placeOf(HWND c) {
        RECT r;
        GetWindowRect(c, &r);
        return r;
    }
    static std::string folder_;
};
std::string Keyboard::folder_;

// Each screen: its menu item, the field focused when it opens, its game list,
// run and stop buttons (0: none), a slow run where it has "Przerwij", and a
// field that refuses `wrong`, then runs with `right`.
struct Screen {
    int menu, opens, games, run, stop;
    const char *game, *search;
    int field;
    const char *wrong, *right;
};

const Screen kScreens[] = {
    {kCmdRanking, kRankGame, kRankGame, kRankShow, kRankStop, "Multi Multi", "Wyszukaj 5 z 8",
     kRankTop, "0", "10000"},
    {kCmdTicket, kTicketNumbers, kTicketGame, kTicketCheck, 0, "Lotto", nullptr, kTicketNumbers,
     "1, 50", "1, 2, 3"},
    {kCmdBacktest, kBackGame, kBackGame, kBackRun, kBackStop, "Multi Multi", "Wyszukaj 5 z 8",
     kBackLast, "0", ""},
};

TEST_F(Keyboard, TabEnterEscAndTheFocusWorkOnEveryScreen) {
    for (const Screen& s : kScreens) {
        SCOPED_TRACE(s.menu);
        command(s.menu);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), s.opens);
        // Tab: round the screen in reading order from its top left control,
        // and back to where it began.
        SetFocus(control(s.games));
        std::vector<HWND> round = {GetFocus()};
        for (int i = 0; i < 20 && key(VK_TAB) && GetFocus() != round.front(); ++i)
            round.push_back(GetFocus());
        EXPECT_EQ(GetFocus(), round.front());
        EXPECT_GE(round.size(), 4u);
        for (std::size_t i = 1; i < round.size(); ++i) {
            const RECT a = placeOf(round[i - 1]), b = placeOf(round[i]);
            EXPECT_TRUE(b.top >= a.bottom || (b.top < a.bottom && b.left >= a.right))
                << GetDlgCtrlID(round[i - 1]) << " before " << GetDlgCtrlID(round[i]);
        }
        EXPECT_TRUE(key(VK_TAB, true));
        EXPECT_EQ(GetFocus(), round.back());

        // A refused run says why in a message box; the focus is back on the
        // button after it.
        choose(s.games, s.game);
        if (s.search) choose(s.games + 1, s.search);
        SetWindowTextA(control(s.field), s.wrong);
        SetFocus(control(s.run));
        EXPECT_NE(runCommand(s.run, answerBox(IDOK)), "");
        EXPECT_EQ(GetFocus(), control(s.run));
        SetWindowTextA(control(s.field), s.right);

        // Enter on the focused button presses it; Esc stops the run it started.
        SetFocus(control(s.run));
        EXPECT_TRUE(key(VK_RETURN));
        pump();
        if (s.stop) {
            EXPECT_FALSE(enabled(s.run));
            EXPECT_EQ(GetFocus(), control(s.stop));
            EXPECT_TRUE(key(VK_ESCAPE));
            waitUntilEnabled(s.run);
            EXPECT_EQ(textOf(control(s.menu == kCmdRanking ? int{kRankOdds} : int{kBackSentence})),
                      "Przerwano.");
            EXPECT_EQ(GetFocus(), control(s.run));
        } else {
            EXPECT_GT(SendMessageA(control(kTicketTable), LVM_GETITEMCOUNT, 0, 0), 0);
        }
        // Enter in a field runs the screen too.
        SetFocus(control(s.field));
        EXPECT_TRUE(key(VK_RETURN));
        if (s.stop) {
            EXPECT_FALSE(enabled(s.run));
            // Esc with the focus nowhere stops it as well.
            SetFocus(nullptr);
            EXPECT_TRUE(key(VK_ESCAPE));
            waitUntilEnabled(s.run);
        }
    }
    // The focus is back on "Zapisz ranking..." after its file dialog.
    command(kCmdRanking);
    SetFocus(control(kRankLast));
    SetWindowTextA(control(kRankLast), "10");
    EXPECT_TRUE(key(VK_RETURN));
    waitUntilEnabled(kRankShow);
    SetFocus(control(kRankSave));
    EXPECT_EQ(runCommand(kRankSave, cancel()), "");
    EXPECT_EQ(GetFocus(), control(kRankSave));

    // The main screen's keys stay its own.
    command(kCmdPrepareSearch);
    SetFocus(state().countBox);
    EXPECT_FALSE(key(VK_TAB));
}

}  // namespace
