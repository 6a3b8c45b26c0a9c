// The program on a Windows of either ANSI code page: run once with Wine's
// code page 1250 (pl_PL.UTF-8, a Polish Windows) and once with 1252
// (C.UTF-8, an English, German or French Windows), it shows its Polish texts
// as they are, finds its history by its Polish name and saves and opens found
// sets under a Polish name.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>

#include "app/app_fixture.hpp"
#include "net/results_server.hpp"

namespace {

using namespace apptest;

class CodePage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(GetACP() == 1250u || GetACP() == 1252u) << GetACP();
        ASSERT_NE(mainWindow(), nullptr);
        folder_ = ownTempFolder("code-page");
    }
    void SetUp() override {
        ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
        resetToStartState();
    }
    // Copies the game's sample history here, under its Polish name.
    static void copyHistory(const std::wstring& name) {
        const std::string data = ZESTAWY_DATA_DIR;
        ASSERT_TRUE(CopyFileW((std::wstring(data.begin(), data.end()) + L"/" + name).c_str(),
                              name.c_str(), FALSE))
            << GetLastError() << " " << data;
    }
    static std::string folder_;
};
std::string CodePage::folder_;

const std::wstring kMiniHistory = L"Mini Lotto wyniki losowa\u0144.txt";

TEST_F(CodePage, PolishFileNamesAreFoundAndWritten) {
    // By its whole path: the dialog may open in the folder it was last used in.
    const std::wstring found =
        std::wstring(folder_.begin(), folder_.end()) + L"\\znalezione \u017c\u00f3\u0142\u0107.txt";
    DeleteFileW(found.c_str());  // left by an earlier run with the same process id
    copyHistory(kMiniHistory);

    command(kCmdPrepareSearch);
    SetWindowTextA(state().countBox, "3");
    EXPECT_EQ(runCommand(kMiniLoad, answerBox(IDOK)), "");
    const std::string numbers = textOf(state().numbersBox);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), '\n'), 2) << numbers;

    SetWindowTextA(state().resultsBox, "1, 2\r\n3, 4");
    EXPECT_EQ(runCommand(kMiniSave, chooseFile(found)), "");
    EXPECT_NE(GetFileAttributesW(found.c_str()), INVALID_FILE_ATTRIBUTES);
    SetWindowTextA(state().resultsBox, "");
    EXPECT_EQ(runCommand(kMiniOpen, chooseFile(found)), "");
    EXPECT_EQ(textOf(state().resultsBox), "1, 2\r\n3, 4");
    DeleteFileW(found.c_str());
}

// What Windows itself holds, read in UTF-16 and compared with the Polish
// written here in UTF-16: no conversion of the program's takes part.
TEST_F(CodePage, EveryPolishLetterReadsRight) {
    copyHistory(kMiniHistory);
    EXPECT_EQ(wideTextOf(mainWindow()),
              L"Program wyszukuj\u0105cy liczb kt\u00f3re najd\u0142u\u017cej nie wypad\u0142y.");
    command(kCmdPrepareSearch);
    EXPECT_EQ(wideTextOf(control(kMultiClear)), L"Wyczy\u015b\u0107");

    // The backtest's label has no id: it is the control made before its field.
    const struct {
        int menu;
        HWND control;
        const wchar_t* text;
    } screens[] = {
        {kCmdRanking, control(kRankShow), L"Poka\u017c"},
        {kCmdTicket, control(kTicketCheck), L"Sprawd\u017a"},
        {kCmdBacktest, GetWindow(control(kBackLast), GW_HWNDPREV),
         L"Losowa\u0144 (puste: wszystkie)"},
    };
    for (const auto& s : screens) {
        command(s.menu);
        EXPECT_TRUE(IsWindowVisible(s.control));
        EXPECT_EQ(wideTextOf(s.control), s.text);
    }
    wchar_t item[64] = L"";
    GetMenuStringW(GetSubMenu(GetMenu(mainWindow()), 1), kCmdTicket, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(item), L"&Sprawd\u017a swoje liczby...");

    // A message box: "Zapisz ranking..." before any ranking.
    command(kCmdRanking);
    std::wstring box;
    commandDone = false;
    std::thread player([&] {
        if (const HWND b = waitForDialog(mainWindow())) {
            box = wideTextOf(b) + L": " + wideTextOf(GetDlgItem(b, 0xFFFF));
            press(b, IDOK);
        }
    });
    command(kRankSave);
    commandDone = true;
    player.join();
    EXPECT_EQ(box, L"Ranking oczekiwania: Najpierw poka\u017c ranking (\u201ePoka\u017c\u201d).");

    // The odds line of a ranking of the Polish-named history.
    SendMessageW(control(kRankGame), CB_SETCURSEL, 1, 0);
    SendMessageW(mainWindow(), WM_COMMAND, MAKEWPARAM(kRankGame, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control(kRankGame)));
    SetWindowTextW(control(kRankLast), L"30");
    command(kRankShow);
    waitUntilEnabled(kRankShow);
    const std::wstring odds = wideTextOf(control(kRankOdds));
    const std::wstring last =
        L"\nLosowania s\u0105 niezale\u017cne: d\u0142ugie oczekiwanie nie zwi\u0119ksza szansy "
        L"zestawu.";
    ASSERT_GE(odds.size(), last.size());
    EXPECT_EQ(odds.substr(odds.size() - last.size()), last);
}

TEST_F(CodePage, TheDownloadSummaryReadsRight) {
    using zestawy::nettest::ResultsServer;
    const ResultsServer server({});
    std::ofstream("zrodla.txt") << "multi = " << server.url("/brak.csv")
                                << "\nmini = " << server.url("/brak.csv")
                                << "\nlotto = " << server.url("/brak.csv") << "\nczas = 5\n";
    const std::wstring said = runDownloadWide();
    const std::wstring failed =
        L": nie uda\u0142o si\u0119 pobra\u0107 (serwer odpowiedzia\u0142 HTTP 404, nie ma tam "
        L"takiego pliku)";
    EXPECT_EQ(said, L"Pobierz najnowsze wyniki: Multi Multi" + failed + L"\nMini Lotto" + failed +
                        L"\nLotto" + failed)
        << narrow(said);
    DeleteFileA("zrodla.txt");
}

}  // namespace
