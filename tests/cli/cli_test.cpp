// The command-line front end: its arguments, errors and exit codes, and that
// it answers exactly as the program's search commands do.
#include "cli/cli.hpp"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "cli/options.hpp"
#include "cli/run_cli.hpp"
#include "combinatorics/random.hpp"
#include "commands/search_command.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"
#include "results_box_text.hpp"
#include "search/draw_lists.hpp"
#include "search/engine.hpp"
#include "test_folder.hpp"
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

namespace zestawy {
namespace {

using CliRun = clitest::CliResult;

// As the executable runs: the sample histories lie beside it.
CliRun run(const std::vector<std::string>& args) {
    const std::string exe = ZESTAWY_CLI;
    return clitest::runInProcess(args, exe.substr(0, exe.rfind('/')));
}

// The numbers file of the tests below.
const std::string kNumbers =
    "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\r\n3,5,21,22,23,24\r\n";

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = (testing_folder::testFolder() / "numbers.txt").string();
        write(kNumbers);
    }
    void write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string path_;
};

TEST_F(Cli, HelpInPolishExitsZero) {
    const CliRun r = run({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.substr(0, 9), "U\xC5\xBCycie:\n");  // "Użycie", in UTF-8
    EXPECT_NE(r.out.find("--numbers PLIK"), std::string::npos);
    EXPECT_NE(r.out.find(" 16 \"5 z 5\";"), std::string::npos);
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
        {"--numbers", path_, "--history", path_, "1"},
        {"--numbers", path_, "--last", "5", "1"},
        {"--game", "keno", "1"},
        {"--game", "multi", "--last", "0", "1"},
        {"--game", "multi", "--last", "-3", "1"},
        {"--game", "mini", "--search", "5 z 8"},
        {"--numbers", path_, "--search", "3 z 4"},
        {"--game", "multi", "--all", "1", "4"},
        {"--game", "multi", "--count", "3"},
        {"--game", "multi", "--all", "--count", "4"},
        {"--game", "multi", "--check", "4"},
        {"--check", "--history", path_},
        {"--game", "lotto", "--check", "--last", "5"},
        {"--game", "multi", "30"},  // a Lotto button
        {"--game", "lotto", "--history", "", "1"},
        {"--numbers", "", "1"},
        {"--game", "multi", "--last", "1000000000", "1"},
        // Each option once; --threads 1 to 64.
        {"--game", "multi", "--game", "lotto", "1"},
        {"--game", "lotto", "--history", path_, "--history", path_, "33"},
        {"--game", "multi", "--last", "5", "--last", "6", "1"},
        {"--game", "multi", "--search", "2", "--ranking", "--top", "5", "--top", "6"},
        {"--game", "multi", "--search", "2", "--all", "--threads", "65"},
        {"--game", "multi", "--search", "2", "--all", "--threads", "0"},
    };
    for (const auto& args : bad) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.empty());
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    EXPECT_NE(run({"--game", "multi", "--last", "1000000000", "1"}).err.find(u8"za dużo"),
              std::string::npos);
    // --last counts history lines, as "Wczytaj" does, and says so.
    EXPECT_NE(run({"--help"}).out.find(u8"N ostatnich wierszy pliku wyników"), std::string::npos);
    // With no folder of its own, the tool looks in the current one, not in "/".
    EXPECT_EQ(cli::samplePath(kGames[2], "").substr(0, 2), "./");
}

TEST_F(Cli, PrintsTheResultsBoxAfterEachCommandInTurn) {
    std::string expected;
    for (int id : {1, 2, 11, 20, 31})
        expected = runSearchCommand(*findSearchCommand(id), kNumbers, expected);

    const CliRun raw =
        run({"--numbers", path_, "--encoding", "cp1250", "1", "2", "11", "20", "31"});
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
    for (int id : {3, 3, 41})
        expected = runSearchCommand(*findSearchCommand(id), kNumbers, expected);
    setRandomState(saved);
    EXPECT_EQ(twice.code, 0);
    EXPECT_EQ(twice.out, expected);
    const std::size_t firstBreak = expected.find("\r\n");
    EXPECT_NE(
        expected.substr(0, firstBreak),
        expected.substr(firstBreak + 2, expected.find("\r\n", firstBreak + 2) - firstBreak - 2));
}

std::string historyFile(const char* game) {
    return draw_lists::historyPath(game[1] == 'u'   ? draw_lists::Game::MultiMulti
                                   : game[1] == 'i' ? draw_lists::Game::MiniLotto
                                                    : draw_lists::Game::Lotto);
}

TEST_F(Cli, TakesTheLatestDrawsOfAHistoryAsTheLoadCommandDoes) {
    std::vector<std::string> lines;
    ASSERT_TRUE(readHistoryLines(historyFile("multi"), lines));
    const std::string numbers = latestDraws(lines, 300).numbers;
    std::string expected;
    for (int id : {1, 4, 8}) expected = runSearchCommand(*findSearchCommand(id), numbers, expected);

    const CliRun history = run({"--history", historyFile("multi"), "--last", "300", "1", "4", "8",
                                "--encoding", "cp1250"});
    EXPECT_EQ(history.code, 0);
    EXPECT_EQ(history.out, expected);
    // The button captions say the same.
    const CliRun captions =
        run({"--game", "multi", "--history", historyFile("multi"), "--last", "300", "--search", "2",
             "--search", "Wyszukaj 3 z 4", "--search", "4 z 6", "--encoding", "cp1250"});
    EXPECT_EQ(captions.out, expected);
    // Without --last: every draw.
    std::vector<std::string> lotto;
    ASSERT_TRUE(readHistoryLines(historyFile("lotto"), lotto));
    EXPECT_EQ(run({"--history", historyFile("lotto"), "35", "--encoding", "cp1250"}).out,
              runSearchCommand(*findSearchCommand(35), latestDraws(lotto, 1 << 30).numbers, ""));
    EXPECT_EQ(run({"--history", historyFile("lotto"), "33"}).out, "3,26,41");
}

TEST_F(Cli, TheRandomNinesAndTensReadEveryDrawWithoutANote) {
    const CliRun all = run({"--game", "multi", "--last", "1000", "41", "42", "1"});
    EXPECT_EQ(all.code, 0);
    EXPECT_EQ(all.err, "");
}

std::string setLines(const std::vector<std::vector<int>>& sets) {
    std::string text;
    for (const auto& set : sets) {
        for (std::size_t i = 0; i < set.size(); ++i)
            text += (i ? ", " : "") + std::to_string(set[i]);
        text += "\n";
    }
    return text;
}

TEST_F(Cli, AllListsEverySetAndCountCountsThem) {
    struct Case {
        const char* game;
        const char* last;
        const char* search;
        const char* threads;  // 1: the writing thread alone; 3: two workers beside it
    };
    for (const Case& c : {Case{"multi", "1000", "5 z 7", "3"}, Case{"multi", "1000", "5 z 8", "1"},
                          Case{"multi", "30", "3 z 4", "3"}, Case{"mini", "300", "3 z 5", "1"},
                          Case{"lotto", "2000", "3 z 5", "3"}, Case{"lotto", "7000", "2", "2"}}) {
        SCOPED_TRACE(std::string(c.game) + " " + c.search);
        const CliRun all = run({"--game", c.game, "--last", c.last, "--search", c.search, "--all",
                                "--threads", c.threads});
        const CliRun count =
            run({"--game", c.game, "--last", c.last, "--search", c.search, "--count"});
        ASSERT_EQ(all.code, 0);
        ASSERT_EQ(count.code, 0);

        std::vector<std::string> lines;
        ASSERT_TRUE(readHistoryLines(historyFile(c.game), lines));
        const DrawList draws = splitDrawList(latestDraws(lines, std::stoll(c.last)).numbers);
        const std::string g = c.game;
        const Game game = g == "multi"  ? Game::MultiMulti
                          : g == "mini" ? Game::MiniLotto
                                        : Game::Lotto;
        const SearchCommand* command = nullptr;
        for (std::size_t i = 0; i < kSearchCommandCount; ++i)
            if (kSearchCommands[i].game == game &&
                std::string(kSearchCommands[i].caption) == std::string("Wyszukaj ") + c.search)
                command = &kSearchCommands[i];
        ASSERT_NE(command, nullptr);
        const auto sets = allNeverDrawn(draws, command->sets);
        EXPECT_EQ(all.out, setLines(sets));

        std::string expected = std::to_string(sets.size()) + "\n";
        if (!sets.empty())
            expected +=
                "pierwszy: " + setLines({sets.front()}) + "ostatni: " + setLines({sets.back()});
        EXPECT_EQ(count.out, expected);
    }
}

// Over each whole shipped history, a list button's answer, --all and --count
// tell of the same sets: no mode reads only part of the draws.
TEST_F(Cli, EveryModeReadsEveryDrawOfAWholeHistory) {
    for (std::size_t i = 0; i < kSearchCommandCount; ++i) {
        const SearchCommand& c = kSearchCommands[i];
        if (!listsEverySet(c)) continue;
        const char* game = c.game == Game::MultiMulti  ? "multi"
                           : c.game == Game::MiniLotto ? "mini"
                                                       : "lotto";
        SCOPED_TRACE(c.id);
        const std::vector<std::string> id = {"--game",  game,         "--search",
                                             c.caption, "--encoding", "cp1250"};
        std::vector<std::string> args = id;
        const std::string answer = run(args).out;
        args.push_back("--all");
        const std::string all = run(args).out;
        args.back() = "--count";
        const std::string count = run(args).out;
        const std::size_t sets = std::count(all.begin(), all.end(), '\n');
        EXPECT_EQ(count.substr(0, count.find('\n')), std::to_string(sets));
        const std::size_t answerLines =
            answer == c.notFound
                ? 0
                : std::count(answer.begin(), answer.end(), '\n') + (c.layout == Layout::Joined);
        EXPECT_EQ(answerLines, sets);
        if (sets > 0) {
            EXPECT_EQ(answer.substr(0, answer.find('\r')) + "\n",
                      all.substr(0, all.find('\n') + 1));
        }
    }
}

TEST(CliCheck, ReportsEveryMalformedLineWithItsNumberAndWhy) {
    const std::string dir = std::string(ZESTAWY_TESTS_DIR) + "/cli/bad_histories/";
    struct Case {
        const char* file;
        std::string report;
    };
    const Case cases[] = {
        {"too-few-blanks.txt",
         "wiersz 2: mniej niż dwie spacje: brak numeru losowania, daty albo liczb\n"
         "wiersz 3: mniej niż dwie spacje: brak numeru losowania, daty albo liczb\n"},
        {"not-numbers.txt",
         "wiersz 1: „x” nie jest liczbą\n"
         "wiersz 2: „ 6” nie jest liczbą\n"
         "wiersz 3: puste pole zamiast liczby; 7 liczb zamiast 6\n"},
        {"repeated.txt", "wiersz 1: liczba 5 powtórzona\n"},
        {"out-of-range.txt",
         "wiersz 1: liczba 0 spoza zakresu 1–49; liczba 50 spoza zakresu 1–49\n"},
        {"wrong-count.txt", "wiersz 1: 5 liczb zamiast 6\nwiersz 2: 7 liczb zamiast 6\n"},
        {"bad-number-and-date.txt",
         "wiersz 1: „x.” nie jest numerem losowania z kropką; „31.02.2020” nie jest datą "
         "dd.mm.rrrr\n"
         "wiersz 2: „12” nie jest numerem losowania z kropką; „01.13.2020” nie jest datą "
         "dd.mm.rrrr\n"
         "wiersz 4: „29.02.2100” nie jest datą dd.mm.rrrr\n"},
        {"empty-parts.txt", "wiersz 2: pusty wiersz\nwiersz 3: brak liczb po dacie\n"},
        {"huge-and-many.txt",
         "wiersz 1: liczba 2147483648 spoza zakresu 1–49\n"
         "wiersz 2: puste pole zamiast liczby; puste pole zamiast liczby; puste pole zamiast "
         "liczby; puste pole zamiast liczby; puste pole zamiast liczby; 11 liczb zamiast 6; i "
         "jeszcze 6 błędów\n"
         "wiersz 3: puste pole zamiast liczby; puste pole zamiast liczby; puste pole zamiast "
         "liczby; puste pole zamiast liczby; puste pole zamiast liczby; 7 liczb zamiast 6; i "
         "jeszcze 2 błędy\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun r = run({"--game", "lotto", "--history", dir + c.file, "--check"});
        EXPECT_EQ(r.code, 1);
        const std::size_t summary = r.out.find(utf8FromCp1250("\nBłędnych wierszy: "));
        ASSERT_NE(summary, std::string::npos);
        EXPECT_EQ(r.out.substr(0, summary + 1), utf8FromCp1250(c.report));
    }
    const CliRun good = run({"--game", "lotto", "--history", dir + "good-lotto.txt", "--check"});
    EXPECT_EQ(good.code, 0);
    EXPECT_EQ(good.out, utf8FromCp1250("Wszystkie wiersze (2) są poprawne.\n"));
    for (const char* game : {"multi", "mini", "lotto"})
        EXPECT_EQ(run({"--game", game, "--check"}).code, 0) << game;
}

#ifndef _WIN32
// Ctrl-C during a long --all: the tool stops at once, with whole lines only.
TEST(CliInterrupt, StopsAtOnceLeavingWholeLines) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        // Every six-set with no five of ten draws: 291 million lines, far too
        // many to finish before the interrupt.
        execl(ZESTAWY_CLI, ZESTAWY_CLI, "--game", "multi", "--last", "10", "--search", "5 z 6",
              "--all", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string out;
    char buf[1 << 16];
    ssize_t n;
    while (out.size() < (8u << 20) && (n = read(pipeFds[0], buf, sizeof buf)) > 0)
        out.append(buf, n);
    kill(child, SIGINT);
    while ((n = read(pipeFds[0], buf, sizeof buf)) > 0) out.append(buf, n);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), '\n');
    EXPECT_LT(out.size(), 200u << 20);  // it did not run on to the end
    const std::string lastLine = out.substr(out.rfind('\n', out.size() - 2) + 1);
    EXPECT_EQ(std::count(lastLine.begin(), lastLine.end(), ','), 5) << lastLine;
}
#endif

// Every byte of the upper half as the system's own converter reads it. It
// refuses the five bytes that Windows-1250 leaves undefined; the program, as
// Windows itself, gives them the control characters of the same value.
TEST(Encoding, MapsTheWholeUpperHalfOfWindows1250) {
    EXPECT_EQ(utf8FromCp1250("abc\r\n"), "abc\r\n");
    const iconv_t cd = iconv_open("UTF-8", "CP1250");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string undefined;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char in[1] = {static_cast<char>(byte)};
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::string expected;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            undefined += static_cast<char>(byte);
            expected = {static_cast<char>(0xC2), static_cast<char>(byte)};
        } else {
            expected.assign(out, outPtr);
        }
        EXPECT_EQ(utf8FromCp1250(std::string(1, static_cast<char>(byte))), expected)
            << "byte " << byte;
    }
    iconv_close(cd);
    EXPECT_EQ(undefined, "\x81\x83\x88\x90\x98");
    // Bytes among others, as in a text.
    EXPECT_EQ(utf8FromCp1250("a\xb9\x96\x80z"), "a\xc4\x85\xe2\x80\x93\xe2\x82\xacz");
}

}  // namespace
}  // namespace zestawy
