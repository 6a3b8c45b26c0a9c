// What an update makes of a history, on small texts: where new draws go, the
// layouts and line ends it reads and keeps, and every merge it must refuse.
#include "commands/update.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "history/check.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"
#include "test_folder.hpp"

namespace zestawy {
namespace {

TEST(Update, MergesByDrawNumberAndRefusesWhatWouldCorruptTheHistory) {
    const GameRow& mini = gameRow(Game::MiniLotto);
    const std::string five = "1,2,3,4,5";
    auto own = [&](int n, const char* date, const std::string& numbers = "1,2,3,4,5") {
        return std::to_string(n) + ". " + date + " " + numbers;
    };
    const std::string h123 = own(1, "01.01.2020") + "\n" + own(2, "02.01.2020", "6,7,8,9,10") +
                             "\n" + own(3, "03.01.2020", "11,12,13,14,15") + "\n";
    struct Case {
        const char* name;
        std::string history, download;
        UpdateKind kind;
        std::string merged;  // Added: the whole new history
        std::string said;    // in the message
        bool warning;
    };
    const Case cases[] = {
        {"LF ends, the last one missing, a header skipped",
         own(1, "01.01.2020") + "\n" + own(2, "02.01.2020"),
         "nr,data,liczby\n3,03.01.2020,01,02,03,04,05\n", UpdateKind::Added,
         own(1, "01.01.2020") + "\n" + own(2, "02.01.2020") + "\n" + own(3, "03.01.2020") + "\n",
         "Pominięto 1 wiersz bez losowania (z literami): 1.", false},
        {"a header of letters outside ASCII skipped as a header", h123,
         "\xC5\x81\xC3\x93\xC5\xBB\n4,04.01.2020,01,02,03,04,05\n", UpdateKind::Added,
         h123 + own(4, "04.01.2020") + "\n", "Pominięto 1 wiersz bez losowania (z literami): 1.",
         false},
        {"lone CR ends, own layout padded, blanks after commas", own(1, "01.01.2020") + "\r",
         "0002. 02.01.2020 42, 07, 1 ,2,3\r\n", UpdateKind::Added,
         own(1, "01.01.2020") + "\r" + own(2, "02.01.2020", "1,2,3,7,42") + "\r",
         "Dopisano 1 losowanie: od 2. 02.01.2020 do 2. 02.01.2020.", false},
        {"an empty history takes CR LF; semicolons", "", "1;01.01.2020; 1;2; 3;4;5\n",
         UpdateKind::Added, own(1, "01.01.2020") + "\r\n", "Dopisano 1 losowanie", false},
        {"a draw the history lacks goes into its gap",
         own(1, "01.01.2020") + "\n" + own(3, "03.01.2020") + "\n\n\n",
         "1,01.01.2020," + five + "\n2,02.01.2020," + five + "\n4,04.01.2020," + five + "\n",
         UpdateKind::Added,
         own(1, "01.01.2020") + "\n" + own(2, "02.01.2020") + "\n" + own(3, "03.01.2020") + "\n" +
             own(4, "04.01.2020") + "\n",
         "W tym w luki w numeracji pliku wyników: 1 losowanie.", false},
        {"a download that shares no draw and does not go on from the last",
         own(1, "01.01.2020") + "\n", "5,05.01.2020," + five + "\n6,06.01.2020," + five + "\n",
         UpdateKind::Refused, "", "nie ma ani jednego wspólnego losowania z plikiem wyników",
         false},
        {"a gap the download leaves is named", own(1, "01.01.2020") + "\n",
         "1,01.01.2020," + five + "\n5,05.01.2020," + five + "\n", UpdateKind::Added,
         own(1, "01.01.2020") + "\n" + own(5, "05.01.2020") + "\n",
         "Brak w numeracji losowań, także w pobranym pliku: 2–4.", false},
        {"a cut last line is passed over, with a warning", h123,
         "3,03.01.2020,11,12,13,14,15\n4,04.01.2020,01,02,03,04,0", UpdateKind::NothingNew, "",
         "ostatni wiersz pobranego pliku (wiersz 2: „4,04.01.2020,01,02,03,04,0”) nie kończy się",
         true},
        {"a cut last line that the history holds", h123, "3,03.01.2020,11,12,13,14,15",
         UpdateKind::NothingNew, "", "Nic nowego", false},
        {"falling numbers of a comma-separated line", h123,
         "3,03.01.2020,11,12,13,14,15\n4,04.01.2020,05,04,03,02,01\n", UpdateKind::Refused, "",
         "wiersz 2 (nr 4): liczby nie rosną", false},
        {"two new draws dated back by days: the source's slip, with a warning", h123,
         "3,03.01.2020,11,12,13,14,15\n4,30.01.2020," + five + "\n5,24.01.2020," + five + "\n",
         UpdateKind::Added, h123 + own(4, "30.01.2020") + "\n" + own(5, "24.01.2020") + "\n",
         "„4,30.01.2020,1,2,3,4,5” i „5,24.01.2020,1,2,3,4,5” (o 6 dni)", true},
        {"two new draws dated back by more than a month", h123,
         "3,03.01.2020,11,12,13,14,15\n4,30.03.2020," + five + "\n5,24.01.2020," + five + "\n",
         UpdateKind::Refused, "",
         "nr 4 z 30.03.2020 a nr 5 z 24.01.2020 pobranego pliku: daty cofają się", false},
        {"a jump between two new draws", h123,
         "3,03.01.2020,11,12,13,14,15\n4,04.01.2020," + five + "\n1003,05.01.2020," + five + "\n",
         UpdateKind::Refused, "", "pobranego pliku: między nimi brakowałoby 998 losowań", false},
        {"a history draw with a note",
         own(1, "01.01.2020") + "\n" + own(2, "02.01.2020") + " # notatka\n",
         "1,01.01.2020," + five + "\n2,02.01.2020," + five + "\n3,03.01.2020," + five + "\n",
         UpdateKind::Refused, "", "wiersz 2: „2. 02.01.2020 1,2,3,4,5 # notatka”", false},
        {"a stale download adds nothing, with a warning", h123, "1,01.01.2020," + five + "\n",
         UpdateKind::NothingNew, "", "pobrany plik kończy się na losowaniu 1, starszym", true},
        {"the same new draw twice, once reversed", "",
         "6,06.01.2020," + five + "\n6. 06.01.2020 5,4,3,2,1\n", UpdateKind::Added,
         own(6, "06.01.2020") + "\r\n", "", false},
        {"two versions of a new draw", "", "6,06.01.2020," + five + "\n6,07.01.2020," + five + "\n",
         UpdateKind::Refused, "", "nr 6: wcześniej", false},
        {"the same date and other numbers", h123, "2,02.01.2020,6,7,8,9,11\n", UpdateKind::Refused,
         "", "nr 2: w pliku wyników „2. 02.01.2020 6,7,8,9,10”", false},
        {"another source's numbering", h123, "7,02.01.2020,06,07,08,09,10\n", UpdateKind::Refused,
         "", "nr 7 pobranego pliku to nr 2 pliku wyników (02.01.2020)", false},
        {"a new draw dated before the last", h123, "4,01.01.2020,1,2,3,4,6\n", UpdateKind::Refused,
         "", "daty cofają się, choć numery rosną", false},
        {"a draw dated after the draw above it",
         h123.substr(0, h123.find("\n3.") + 1) + own(5, "05.01.2020") + "\n",
         "3,06.01.2020,1,2,3,4,6\n", UpdateKind::Refused, "",
         "nr 3 z 06.01.2020 a nr 5 pliku wyników z 05.01.2020: daty cofają się", false},
        {"more draws missing than days allow", h123, "10,04.01.2020,1,2,3,4,6\n",
         UpdateKind::Refused, "", "brakowałoby 6 losowań, a w 2 dni gra ma najwyżej 2 losowania",
         false},
        {"a draw number of 10 digits", h123, "1234567890,04.01.2020," + five + "\n",
         UpdateKind::Refused, "", "numer losowania ma ponad 9 cyfr", false},
        {"a bad date", "", "6,31.06.2020," + five + "\n", UpdateKind::Refused, "",
         "„31.06.2020” nie jest datą", false},
        {"a time and nothing after it", "", "6,06.01.2020," + five + "\n7,07.01.2020,14:00\n",
         UpdateKind::Refused, "", "wiersz 2 (nr 7): brak liczb po dacie", false},
        {"a line of digits that is no draw", "", "6,06.01.2020," + five + "\n7 07 2020\n",
         UpdateKind::Refused, "", "wiersz 2: „7 07 2020” nie jest losowaniem", false},
        {"a last line without numbers", h123 + "4. 04.01.2020\n", "5,05.01.2020," + five + "\n",
         UpdateKind::Refused, "", "Ostatni wiersz pliku wyników (wiersz 4: „4. 04.01.2020”)",
         false},
        {"a touched history line that is no draw",
         own(1, "01.01.2020") + "\n2. 02.01.2020 1,2\n" + own(4, "04.01.2020") + "\n",
         "3,03.01.2020," + five + "\n", UpdateKind::Refused, "",
         "wiersz 2: „2. 02.01.2020 1,2” (2 liczby zamiast 5)", false},
        {"history numbers that do not rise",
         own(2, "02.01.2020") + "\n" + own(1, "01.01.2020") + "\n", "3,03.01.2020," + five + "\n",
         UpdateKind::Refused, "", "Numery losowań w pliku wyników nie rosną: wiersz 2", false},
        {"no draw at all", own(1, "01.01.2020"), "\xEF\xBB\xBFnr,data\n\n", UpdateKind::NoDraws, "",
         "W pobranym pliku nie ma żadnego losowania", false},
        {"an empty download", own(1, "01.01.2020"), "", UpdateKind::NoDraws, "",
         "W pobranym pliku nie ma żadnego losowania", false},
        {"a history the new draw would take past the limit",
         std::string(kMaxHistoryBytes - 40, 'x') + "\n" + own(1, "01.01.2020") + "\n",
         "1,01.01.2020," + five + "\n2,02.01.2020," + five + "\n", UpdateKind::Refused, "",
         "Uzupełniony plik wyników miałby ponad " + historyLimitText(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const UpdatePlan plan = planUpdate(c.history, c.download, mini);
        std::string said;
        for (const std::string& line : plan.message) said += line + "\n";
        EXPECT_EQ(plan.kind, c.kind) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(plan.warning, c.warning) << said;
        if (c.kind != UpdateKind::Added) continue;
        const std::string merged = mergedHistory(c.history, c.download, mini);
        EXPECT_EQ(merged, c.merged);
        EXPECT_EQ(plan.bytes, merged.size());
        EXPECT_EQ(planUpdate(merged, c.download, mini).kind, UpdateKind::NothingNew);
    }
}

TEST(Update, MultiMultiPlusMustBeInTheGamesRange) {
    const GameRow& multi = gameRow(Game::MultiMulti);
    std::string numbers;
    for (int n = 1; n <= 20; ++n) numbers += std::to_string(n) + ",";
    for (const char* plus : {"00", "7", "20", "80"}) {
        const std::string line = std::string("1,01.01.2020,14:00,") + numbers + plus + "\n";
        EXPECT_EQ(planUpdate("", line, multi).kind, UpdateKind::Added) << plus;
    }
    for (const char* plus : {"81", "-1", "0100"}) {
        const UpdatePlan plan =
            planUpdate("", std::string("1,01.01.2020,14:00,") + numbers + plus + "\n", multi);
        EXPECT_EQ(plan.kind, UpdateKind::Refused) << plus;
    }
    EXPECT_NE(planUpdate("", "1,01.01.2020,14:00," + numbers + "81\n", multi)
                  .message[1]
                  .find("liczba Plus 81 spoza zakresu 0–80"),
              std::string::npos);
}

TEST(Update, RecognisesTheGameByTheCountOfNumbers) {
    EXPECT_EQ(recogniseGame("1,01.01.2020,22:00,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,"
                            "20,00\n"),
              &gameRow(Game::MultiMulti));
    EXPECT_EQ(recogniseGame("1. 01.01.2020 1,2,3,4,5\n"), &gameRow(Game::MiniLotto));
    EXPECT_EQ(recogniseGame("1,01.01.2020,1,2,3,4,5,6\n2,02.01.2020,1,2\n3,02.01.2020,1,2,3,4,5,6"),
              &gameRow(Game::Lotto));
    EXPECT_EQ(recogniseGame("1,01.01.2020,1,2,3\n"), nullptr);
    EXPECT_EQ(unrecognisedGame("1,01.01.2020,1,2,3\n")
                  .front()
                  .find("Nie rozpoznano gry: losowania w tym pliku mają po 3 liczby"),
              0u);
    EXPECT_EQ(recogniseGame("Multi Multi\n"), nullptr);
    EXPECT_EQ(unrecognisedGame("").front().find("W pobranym pliku nie ma żadnego losowania"), 0u);
}

#ifndef _WIN32
// The file side of an update: a history that an editor saves while the update
// writes is left as the editor saved it, and neither that nor a stop leaves a
// temporary file.
TEST(UpdateFile, KeepsWhatAnotherProgramSavedMeanwhile) {
    namespace fs = std::filesystem;
    const fs::path folder = testing_folder::testFolder();
    const std::string history = folder / "history.txt";
    auto write = [&](const std::string& bytes) {
        std::ofstream(history, std::ios::binary) << bytes;
    };
    auto read = [&] {
        std::ifstream in(history, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto files = [&] { return std::distance(fs::directory_iterator(folder), {}); };
    const GameRow& mini = gameRow(Game::MiniLotto);
    const std::string old = "1. 01.01.2020 1,2,3,4,5\n", download = "2,02.01.2020,1,2,3,4,6\n";

    write(old);
    const std::string saved = old + "2. 02.01.2020 7,8,9,10,11\n";
    const UpdatePlan changed = updateHistoryFile(history, download, mini, [&] {
        if (read() == old) write(saved);  // as an editor would, once
        return true;
    });
    EXPECT_EQ(changed.kind, UpdateKind::Refused);
    EXPECT_NE(changed.message[0].find("zmienił się w trakcie"), std::string::npos);
    EXPECT_EQ(read(), saved);
    EXPECT_EQ(files(), 1);

    write(old);
    EXPECT_EQ(updateHistoryFile(history, download, mini, [] { return false; }).kind,
              UpdateKind::Stopped);
    EXPECT_EQ(read(), old);
    EXPECT_EQ(files(), 1);

    // A line appended once the new file is whole on the disk, right before it
    // would take the history's place: kept, 50 times of 50.
    const std::string merged = mergedHistory(old, download, mini), note = "# dopisane\n";
    for (int run = 0; run < 50; ++run) {
        write(old);
        bool appended = false;
        const UpdatePlan plan = updateHistoryFile(history, download, mini, [&] {
            for (const auto& entry : fs::directory_iterator(folder))
                if (!appended && entry.path().filename().string().rfind(".zestawy-", 0) == 0 &&
                    fs::file_size(entry) == merged.size()) {
                    std::ofstream(history, std::ios::binary | std::ios::app) << note;
                    appended = true;
                }
            return true;
        });
        EXPECT_EQ(plan.kind, UpdateKind::Refused) << run;
        EXPECT_EQ(read(), old + note) << run;
    }

    // A file of two names is not split.
    write(old);
    fs::create_hard_link(history, folder / "other.txt");
    const UpdatePlan linked = updateHistoryFile(history, download, mini);
    EXPECT_EQ(linked.kind, UpdateKind::Refused);
    EXPECT_NE(linked.message[0].find("ma kilka nazw"), std::string::npos);
    EXPECT_EQ(read(), old);
    fs::remove_all(folder);
}

// A history found nowhere is made from the download: each game's history as
// the shipped one, byte for byte, the source's two slips of date in Multi
// Multi named; updated again, nothing is new.
TEST(UpdateFile, MakesAMissingHistory) {
    namespace fs = std::filesystem;
    const fs::path folder = testing_folder::testFolder();
    const char* csv[] = {"multi_multi.csv", "mini_lotto.csv", "lotto.csv"};
    auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const GameRow& game : kGames) {
        SCOPED_TRACE(game.name);
        const std::string path = folder / game.historyFileUtf8;
        const std::string download =
            bytesOf(std::string(ZESTAWY_DATA_DIR) + "/downloads/" + csv[int(game.game)]);
        const UpdatePlan made = updateHistoryFile(path, download, game);
        ASSERT_EQ(made.kind, UpdateKind::Added);
        EXPECT_TRUE(made.created);
        EXPECT_EQ(
            made.message[0].rfind("Utworzono plik wyników „" + cp1250FromUtf8(path) + "”: ", 0),
            0u);
        EXPECT_EQ(bytesOf(path),
                  bytesOf(std::string(ZESTAWY_DATA_DIR) + "/" + game.historyFileUtf8));
        EXPECT_EQ(made.warning, game.game == Game::MultiMulti);
        std::string said;
        for (const std::string& line : made.message) said += line + "\n";
        EXPECT_EQ(said.find("„04847,12.02.2010,") != std::string::npos &&
                      said.find("„04975,17.03.2010,") != std::string::npos,
                  game.game == Game::MultiMulti);
        EXPECT_EQ(updateHistoryFile(path, download, game).kind, UpdateKind::NothingNew);
    }
    fs::remove_all(folder);
}
#endif

}  // namespace
}  // namespace zestawy
