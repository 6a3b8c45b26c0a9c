// zestawy-cli --wheel and --check-wheel: their lines, messages and exit codes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.hpp"
#include "test_folder.hpp"

namespace zestawy {
namespace {

using clitest::CliResult;
using clitest::runInProcess;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(WheelCli, MakesASystemOfThePlayersNumbers) {
    const struct {
        std::vector<std::string> args;
        std::size_t tickets;
        const char* says;  // a part of the summary
    } cases[] = {
        // C(10, 6, 3) from the table, on numbers given out of order.
        {{"--game", "lotto", "--wheel", "49 3,17, 22;41 8 9 30 31 2", "--guarantee", "3 z 3"},
         10,
         u8"z tabeli programu"},
        {{"--game", "mini", "--wheel", "1,2,3,4,5,6,7,8,9,42", "--guarantee", "3 z 3"},
         17,
         u8"17 zakładów po 5 liczb z 10 typowanych, gwarancja 3 z 3"},
        {{"--game", "lotto", "--wheel", "1,2,3,4,5,6,7,8,9,10,11,12", "--guarantee", "3 z 5"},
         2,
         u8"mniej zakładów się nie da"},
        // Not in the table: searched, and as small as can be at once.
        {{"--game", "lotto", "--wheel", "5, 6, 7, 8, 9, 10, 11, 12", "--guarantee", "2 z 3"},
         2,
         u8"znaleziony w poszukiwaniu"},
        {{"--game", "multi", "--wheel", "1,2,3,4,5,80", "--guarantee", "1 z 1", "--size", "2"},
         3,
         u8"3 zakłady po 2 liczb z 6 typowanych, gwarancja 1 z 1"},
    };
    for (const auto& c : cases) {
        const CliResult r = runInProcess(c.args);
        ASSERT_EQ(r.code, 0) << r.err;
        const std::vector<std::string> lines = linesOf(r.out);
        EXPECT_EQ(lines.size(), c.tickets) << r.out;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(u8"sprawdzono: gwarantuje"), std::string::npos) << r.err;
    }
    const CliResult first = runInProcess(cases[0].args);
    const std::vector<std::string> lines = linesOf(first.out);
    ASSERT_FALSE(lines.empty());
    // Each line ascending, ", " between; only the player's numbers.
    for (const std::string& line : lines) {
        std::istringstream numbers(line);
        int last = 0;
        for (std::string n; std::getline(numbers, n, ',');) {
            const int v = std::stoi(n);
            EXPECT_GT(v, last) << line;
            EXPECT_NE(
                std::string(" 2 3 8 9 17 22 30 31 41 49 ").find(" " + std::to_string(v) + " "),
                std::string::npos);
            last = v;
        }
    }
}

TEST(WheelCli, ChecksAFileOfTickets) {
    const std::string file = (testing_folder::testFolder() / "zaklady.txt").string();
    const std::vector<std::string> args = {"--game",          "lotto",       "--wheel",
                                           "1,2,3,4,5,6,7,8", "--guarantee", "2 z 3",
                                           "--check-wheel",   file};
    const struct {
        const char* tickets;
        int code;
        const char* says;  // on stdout, or on stderr when the code is 2
    } cases[] = {
        {"1 2 3 4 5 6\n3, 4, 5, 6, 7, 8\n", 0, u8"gwarantuje 2 z 3: 2 zakłady"},
        {"1 2 3 4 5 6\n", 1, u8"nie gwarantuje 2 z 3: losowanie 1, 7, 8 nie ma 2 trafień"},
        {"1 2 3 4 5 6\r\n\r\n2 3 4 5 6 7\r\n", 1, u8"losowanie 1, 7, 8 nie ma"},
        {"1 2 3 4 5 9\n", 2, u8"wiersz 1: liczby 9 nie ma wśród typowanych"},
        {"1 2 3\n1 2 50\n", 2, u8"wiersz 2: liczba 50 jest spoza gry (1-49)"},
        {"1 1 2\n", 2, u8"wiersz 1: liczba 1 jest podana dwa razy"},
        {"\n\n", 2, u8"nie ma zakładów"},
    };
    for (const auto& c : cases) {
        std::ofstream(file, std::ios::binary) << c.tickets;
        const CliResult r = runInProcess(args);
        EXPECT_EQ(r.code, c.code) << c.tickets << r.err;
        const std::string& said = c.code == 2 ? r.err : r.out;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
    }
}

TEST(WheelCli, RefusesWrongInputInOneLine) {
    const std::string ten = "1,2,3,4,5,6,7,8,9,10";
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--game", "lotto", "--wheel", "1,2,50", "--guarantee", "2 z 2"},
         u8"liczba 50 jest spoza gry (1-49)"},
        {{"--game", "lotto", "--wheel", "1,2,2,3,4,5,6", "--guarantee", "2 z 2"},
         u8"liczba 2 jest podana dwa razy"},
        {{"--game", "multi", "--wheel", ten, "--guarantee", "3 z 4", "--size", "2"},
         u8"gwarancja 3 z 4 wymaga zakładów co najmniej 3 liczb (zakład ma 2)"},
        {{"--game", "lotto", "--wheel", "1,2,3,4,5,6,7", "--guarantee", "2 z 8"},
         u8"gra Lotto losuje 6 liczb"},
        {{"--game", "multi", "--wheel", "1,2,3,4,5,6,7", "--guarantee", "2 z 8", "--size", "6"},
         u8"gwarancja 2 z 8 dotyczy 8 liczb, a typujesz 7"},
        {{"--game", "mini", "--wheel", ten, "--guarantee", "3 z 6"}, u8"gra Mini Lotto losuje 5"},
        {{"--game", "lotto", "--wheel", "1,2,3,4,5", "--guarantee", "2 z 2"},
         u8"zakład 6 liczb nie zmieści się w 5 typowanych"},
        {{"--game", "lotto", "--wheel",
          "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31",
          "--guarantee", "2 z 2"},
         u8"za dużo liczb: 31 (w grze Lotto najwyżej 30)"},
        {{"--game", "multi", "--wheel", ten, "--guarantee", "3 z 4"}, u8"wymaga --size (1-10)"},
        {{"--game", "multi", "--wheel", ten, "--guarantee", "3 z 4", "--size", "11"},
         u8"--size 11 to za dużo"},
        {{"--game", "lotto", "--wheel", ten, "--guarantee", "3 z 4", "--size", "5"},
         u8"w grze Lotto zakład ma 6 liczb"},
        {{"--game", "lotto", "--wheel", ten, "--guarantee", "3 do 4"}, u8"jak \"3 z 4\""},
        {{"--game", "lotto", "--wheel", ten, "--guarantee", "4 z 3"}, u8"jak \"3 z 4\""},
        {{"--game", "lotto", "--wheel", ten}, u8"--wheel wymaga --guarantee"},
        {{"--wheel", ten, "--guarantee", "3 z 4"}, u8"--wheel wymaga --game"},
        {{"--game", "lotto", "--guarantee", "3 z 4"}, u8"dotyczą tylko --wheel"},
    };
    for (const auto& c : cases) {
        const CliResult r = runInProcess(c.args);
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

}  // namespace
}  // namespace zestawy
