// The command-line front end: its arguments, errors and exit codes, and that
// it answers exactly as the program's search commands do.
#include "cli/cli.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "combinatorics/random.hpp"
#include "commands/encoding.hpp"
#include "commands/search_command.hpp"
#include "search/draw_lists.hpp"

namespace zestawy {
namespace {

struct CliRun {
    int code;
    std::string out, err;
};

std::string readAll(std::FILE* f) {
    std::string s;
    std::rewind(f);
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
    std::fclose(f);
    return s;
}

CliRun run(const std::vector<std::string>& args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int code = runCli(args, out, err);
    return {code, readAll(out), readAll(err)};
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = ::testing::TempDir() + "zestawy_cli_numbers.txt";
        write("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n3,5,21,22,23,24\r\n");
    }
    void write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string path_;
};

TEST_F(Cli, HelpInPolishExitsZero) {
    const CliRun r = run({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("U\xC5\xBCycie: zestawy-cli --numbers"), std::string::npos);  // "Użycie"
    EXPECT_NE(r.out.find("16 \"Wyszukaj 5 z 5\""), std::string::npos);
    EXPECT_TRUE(r.err.empty());
}

TEST_F(Cli, BadArgumentsGiveOneLineOnStderrAndExitTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"1"},
        {"--numbers", path_},
        {"--numbers", path_, "12"},  // "Wyczyść" is not a search
        {"--numbers", path_, "99"},
        {"--numbers", path_, "abc"},
        {"--numbers", path_, "99999999999999"},
        {"--numbers", path_, "--encoding", "latin2", "1"},
        {"--numbers", path_, "--bogus", "1"},
        {"--numbers"},
        {"--numbers", path_ + ".missing", "1"},
    };
    for (const auto& args : bad) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.empty());
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

TEST_F(Cli, PrintsTheResultsBoxAfterEachCommandInTurn) {
    const std::string numbers =
        "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n3,5,21,22,23,24\r\n";
    std::string expected;
    for (int id : {1, 2, 11, 20, 31}) expected = runSearchCommand(*findSearchCommand(id), numbers, expected);

    const CliRun raw = run({"--numbers", path_, "--encoding", "cp1250", "1", "2", "11", "20", "31"});
    EXPECT_EQ(raw.code, 0);
    EXPECT_EQ(raw.out, expected);
    const CliRun utf8 = run({"1", "2", "11", "20", "31", "--numbers", path_});
    EXPECT_EQ(utf8.out, utf8FromCp1250(expected));
}

TEST_F(Cli, KeepsThePolishBytesOrConvertsThemToUtf8) {
    write(draw_lists::rangeLine(1, 80));
    const CliRun raw = run({"--numbers", path_, "--encoding", "cp1250", "1"});
    EXPECT_EQ(raw.out, "Wszystkie pary wyst\xb9pi\xb3y.");
    const CliRun utf8 = run({"--numbers", path_, "--encoding", "utf-8", "1"});
    EXPECT_EQ(utf8.out, "Wszystkie pary wyst\xc4\x85pi\xc5\x82y.");
}

TEST_F(Cli, RandomCommandsContinueOneSequence) {
    const std::uint32_t saved = randomState();
    setRandomState(1);
    const CliRun twice = run({"--numbers", path_, "3", "3", "41"});
    setRandomState(1);
    std::string expected;
    const std::string numbers = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n3,5,21,22,23,24\r\n";
    for (int id : {3, 3, 41}) expected = runSearchCommand(*findSearchCommand(id), numbers, expected);
    setRandomState(saved);
    EXPECT_EQ(twice.code, 0);
    EXPECT_EQ(twice.out, expected);
    const std::size_t firstBreak = expected.find("\r\n");
    EXPECT_NE(expected.substr(0, firstBreak),
              expected.substr(firstBreak + 2, expected.find("\r\n", firstBreak + 2) - firstBreak - 2));
}

TEST(Encoding, MapsTheWholeUpperHalfOfWindows1250) {
    EXPECT_EQ(utf8FromCp1250("abc\r\n"), "abc\r\n");
    EXPECT_EQ(utf8FromCp1250("\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf"),
              "\xc4\x85\xc4\x87\xc4\x99\xc5\x82\xc5\x84\xc3\xb3\xc5\x9b\xc5\xba\xc5\xbc");  // ąćęłńóśźż
    EXPECT_EQ(utf8FromCp1250("\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf"),
              "\xc4\x84\xc4\x86\xc4\x98\xc5\x81\xc5\x83\xc3\x93\xc5\x9a\xc5\xb9\xc5\xbb");  // ĄĆĘŁŃÓŚŹŻ
    EXPECT_EQ(utf8FromCp1250("\x96\x80"), "\xe2\x80\x93\xe2\x82\xac");  // en dash, euro
}

}  // namespace
}  // namespace zestawy
