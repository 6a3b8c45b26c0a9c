// "Wczytaj" on the real window: the count box, the history file of each game
// in the working folder, the date and numbers boxes, the button changes and
// the message for a missing file. The tests run in order: each game's lines
// are read again only when its file changed, as in the program.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_fixture.hpp"

namespace {

using namespace apptest;

const char kMulti[] = "Multi Multi wyniki losowań.txt";
const char kMini[] = "Mini Lotto wyniki losowań.txt";
const char kLotto[] = "Lotto wyniki losowań.txt";

void writeFile(const char* name, const std::string& text) {
    const HANDLE f = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

std::string numberedLines(int from, int to, const char* numbers) {
    std::string text;
    for (int i = from; i <= to; ++i)
        text += std::to_string(i) + ". 0" + std::to_string(i % 9 + 1) + ".01.2020 " + numbers +
                std::to_string(i) + "\r\n";
    return text;
}

const std::string kLongNumbers = [] {
    std::string s;
    while (s.size() < 5000) s += std::to_string(s.size() % 80 + 1) + ",";
    return s + "1";
}();

class Load : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = ownTempFolder("load");
        SetCurrentDirectoryA(folder_.c_str());
        DeleteFileA(kLotto);  // left by an earlier run with the same process id
        writeFile(kMini, numberedLines(1, 10, "1,2,3,"));
        writeFile(kMulti, numberedLines(1, 5, "4,5,6,") + "1234 12.05.2020\r\n" +
                              "7000 2020-05-12  1,5,7\r\n" + "7001 13.05.2020 " + kLongNumbers +
                              "\n" + std::string("7003 15.05.2020 1,2\0,3,4\r\n", 26) +
                              "7002 14.05.2020 8,9\r\n\r\n\r\n");
    }
    void SetUp() override {
        ASSERT_NE(mainWindow(), nullptr);
        resetToStartState();
        command(kCmdPrepareSearch);
    }
    // What the load showed: "", or the caption and text of its message box.
    static std::string load(int id, const char* count) {
        SetWindowTextA(state().countBox, count);
        return runCommand(id, answerBox(IDOK));
    }
    // The message for a history that neither the working folder nor the
    // program's holds names both paths it tried.
    static void expectMissing(const std::string& shown, const char* name) {
        EXPECT_EQ(shown.rfind("Błąd: Nie udało się otworzyć pliku '" + std::string(name) + "'.", 0),
                  0u)
            << shown;
        char exe[MAX_PATH];
        std::string program(exe, GetModuleFileNameA(nullptr, exe, MAX_PATH));
        program.resize(program.find_last_of('\\'));
        for (const std::string& folder : {folder_, program})
            EXPECT_NE(shown.find(folder + "\\" + name), std::string::npos) << shown;
    }
    static std::string folder_;
};
std::string Load::folder_;

TEST_F(Load, MissingFileIsNamedAndTriedAgainOnTheNextPress) {
    SetWindowTextA(state().numbersBox, "stare");
    SetWindowTextA(state().countBox, "5");
    expectMissing(runCommand(kLottoLoad, answerBox(IDOK)), kLotto);
    EXPECT_EQ(textOf(state().numbersBox), "stare");
    writeFile(kLotto, numberedLines(1, 4, "10,20,30,"));
    load(kLottoLoad, "2");
    EXPECT_EQ(textOf(state().numbersBox), "10,20,30,3\r\n10,20,30,4");
    EXPECT_EQ(textOf(state().datesBox), "3. 04.01.2020\r\n4. 05.01.2020");
}

TEST_F(Load, CountsThatAreNotPositiveShowNothingButStillReadTheFile) {
    for (const char* count : {"0", "-5", "abc", "", "- 3"}) {
        SetWindowTextA(state().numbersBox, "stare");
        SetWindowTextA(state().datesBox, "daty");
        load(kMiniLoad, count);
        EXPECT_EQ(textOf(state().numbersBox), "stare") << count;
        EXPECT_EQ(textOf(state().datesBox), "daty") << count;
    }
    load(kMiniLoad, "3");
    EXPECT_EQ(textOf(state().numbersBox), "1,2,3,8\r\n1,2,3,9\r\n1,2,3,10");
    EXPECT_EQ(textOf(state().datesBox), "8. 09.01.2020\r\n9. 01.01.2020\r\n10. 02.01.2020");
    // Changed on disk since (a draw added by hand), the file is read again.
    writeFile(kMini, numberedLines(1, 11, "1,2,3,"));
    load(kMiniLoad, "2");
    EXPECT_EQ(textOf(state().numbersBox), "1,2,3,10\r\n1,2,3,11");
    // Gone, it is missed, and found again when it is back.
    ASSERT_TRUE(MoveFileA(kMini, "elsewhere.txt"));
    expectMissing(load(kMiniLoad, "2"), kMini);
    MoveFileA("elsewhere.txt", kMini);
    writeFile(kMini, numberedLines(1, 10, "1,2,3,"));
    load(kMiniLoad, " 12abc");
    EXPECT_EQ(textOf(state().numbersBox).substr(0, 16), "1,2,3,1\r\n1,2,3,2");
}

TEST_F(Load, EachGameShowsItsOwnFile) {
    load(kMultiLoad, "1");
    EXPECT_EQ(textOf(state().numbersBox), "");  // the last lines are empty
    load(kMultiLoad, "2");
    EXPECT_EQ(textOf(state().numbersBox), "");
    load(kMiniLoad, "1");
    EXPECT_EQ(textOf(state().numbersBox), "1,2,3,10");
    load(kMultiLoad, "3");
    EXPECT_EQ(textOf(state().numbersBox), "8,9");
}

TEST_F(Load, LinesAreSplitAtTheSecondBlankAndKeptWhole) {
    for (const char* huge : {"99999999999", "9999999999999999999999"}) {
        load(kMultiLoad, huge);
        const std::string numbers = textOf(state().numbersBox);
        const std::string dates = textOf(state().datesBox);
        // A zero byte ends its line, and only its line.
        EXPECT_EQ(numbers, "4,5,6,1\r\n4,5,6,2\r\n4,5,6,3\r\n4,5,6,4\r\n4,5,6,5\r\n 1,5,7\r\n" +
                               kLongNumbers + "\r\n1,2\r\n8,9");
        EXPECT_EQ(dates.substr(dates.size() - 66),
                  "7000 2020-05-12\r\n7001 13.05.2020\r\n7003 15.05.2020\r\n7002 14.05.2020");
    }
}

TEST_F(Load, ChangesTheButtonsOfItsPanelByItsRules) {
    for (int id : buttonIds()) EnableWindow(control(id), FALSE);
    load(kMultiLoad, "2");
    // Multi Multi: nothing is enabled, "Inne gry" stays disabled.
    for (int id : buttonIds()) EXPECT_FALSE(enabled(id)) << id;

    // Mini Lotto: its searches and load at once, save and open once shown.
    load(kMiniLoad, "0");
    for (int id : std::vector<int>{kMini1, kMini2, kMini2z3, kMini3z4, kMini3z5, kMiniLoad})
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled(kMiniSave));
    EXPECT_FALSE(enabled(kMiniOtherGames));
    load(kMiniLoad, "2");
    EXPECT_TRUE(enabled(kMiniSave) && enabled(kMiniOpen));

    // Lotto: nothing changes, "Inne gry" included.
    for (int id : buttonIds()) EnableWindow(control(id), id == 39);
    load(kLottoLoad, "2");
    for (int id : buttonIds()) EXPECT_EQ(enabled(id), id == 39) << id;
    load(kMultiLoad, "2");
    EXPECT_TRUE(enabled(kLottoOtherGames));
    EnableWindow(control(kMultiOtherGames), TRUE);
    load(kMultiLoad, "2");
    EXPECT_FALSE(enabled(kMultiOtherGames));
}

// Lines that --check would refuse are named, the first five of them, and
// loaded all the same.
TEST_F(Load, NamesTheLoadedLinesThatAreNoDraws) {
    const std::string head =
        "Błędne wiersze: Błędne wiersze wśród wczytanych z pliku 'Multi Multi wyniki losowań.txt' "
        "(nie są poprawnymi losowaniami gry Multi Multi): ";
    const std::string seen = load(kMultiLoad, "3");
    EXPECT_EQ(seen, head +
                        "3:\nwiersz 10: „7002” nie jest numerem losowania z kropką; 2 liczby "
                        "zamiast 20\nwiersz 11: pusty wiersz\nwiersz 12: pusty wiersz\n\nWczytano "
                        "je mimo to: wyszukiwania czytają ich liczby tak, jak są.");
    EXPECT_EQ(textOf(state().numbersBox), "8,9");
    const std::string all = load(kMultiLoad, "100");
    EXPECT_EQ(all.find(head + "12, pierwsze z nich:\nwiersz 1: 4 liczby zamiast 20\n"), 0u) << all;
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 7);
}

std::string fileBytes(const std::string& path) {
    std::string bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    for (int c; f && (c = std::fgetc(f)) != EOF;) bytes += static_cast<char>(c);
    if (f) std::fclose(f);
    return bytes;
}

// "Uzupełnij wyniki losowań...": the game is told by the file, its history in
// the working folder gains the new draws, and the next "Wczytaj" shows them.
TEST_F(Load, UpdatesAHistoryFromADownloadAndLoadsTheNewDraws) {
    std::string data = std::string(ZESTAWY_DATA_DIR) + "/";
    std::replace(data.begin(), data.end(), '/', '\\');
    const std::string whole = fileBytes(data + kLotto);
    writeFile(kLotto, whole.substr(0, whole.find("7391. ")));
    state().history(Game::Lotto).clear();
    load(kLottoLoad, "1");
    EXPECT_EQ(textOf(state().numbersBox), "11,22,25,28,31,33");

    EXPECT_EQ(runCommand(kCmdUpdateHistory, chooseFile(data + "downloads\\lotto.csv")),
              "Uzupełnij wyniki losowań: Lotto, plik 'Lotto wyniki losowań.txt':\n"
              "Dopisano 4 losowania: od 7391. 13.08.2026 do 7394. 20.08.2026.");
    EXPECT_EQ(fileBytes(kLotto), whole);
    load(kLottoLoad, "1");
    EXPECT_EQ(textOf(state().numbersBox), "6,12,19,21,23,26");

    // Multi Multi draws that disagree with the working folder's file: nothing written.
    const std::string multi = fileBytes(kMulti);
    const std::string refused =
        runCommand(kCmdUpdateHistory, chooseFile(data + "downloads\\multi_multi.csv"));
    EXPECT_EQ(refused.find("Uzupełnij wyniki losowań: Multi Multi, plik"), 0u) << refused;
    EXPECT_NE(refused.find("Nic nie zapisano."), std::string::npos) << refused;
    EXPECT_EQ(fileBytes(kMulti), multi);
}

// A search over the draws that another game's "Wczytaj" loaded is refused
// and changes nothing, also after the help screen; draws put into the box
// otherwise are searched as they are.
TEST_F(Load, SearchesOnlyTheDrawsOfTheirOwnGame) {
    load(kLottoLoad, "100");
    SetWindowTextA(state().resultsBox, "earlier");
    for (int id : buttonIds()) EnableWindow(control(id), TRUE);
    for (const int help : {int{kCmdOpenHelp}, int{kCmdCloseHelp}, 0}) {
        EXPECT_EQ(runCommand(kMulti2, answerBox(IDOK)),
                  "Losowania innej gry: W polu „Wylosowane liczby” są losowania gry Lotto, a "
                  "„Wyszukaj 2” jest wyszukiwaniem gry Multi Multi.\nWczytaj losowania gry Multi "
                  "Multi jej przyciskiem „Wczytaj”.");
        EXPECT_EQ(textOf(state().resultsBox), "earlier");
        for (int id : buttonIds()) EXPECT_TRUE(enabled(id)) << id;
        if (help) command(help);
    }
    EXPECT_EQ(runCommand(kLotto2, answerBox(IDOK)), "");
    SetWindowTextA(state().numbersBox, "1,2,3");
    EXPECT_EQ(runCommand(kMulti2, answerBox(IDOK)), "");
    const std::string results = textOf(state().resultsBox);
    EXPECT_EQ(results.substr(results.size() - 6), "\r\n1, 4");
}

}  // namespace
