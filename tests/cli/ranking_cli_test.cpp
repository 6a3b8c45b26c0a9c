// zestawy-cli --ranking: its lines and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cli/run_cli.hpp"
#include "history/encoding.hpp"
#include "search/draw_lists.hpp"
#include "test_folder.hpp"

namespace zestawy {
namespace {

using clitest::CliResult;
using clitest::runInProcess;

TEST(RankingCli, WritesWaitDrawAndSetSeparatedByTabs) {
    // "Wyszukaj 1" ranks single numbers by the draws since each was drawn.
    const std::string history = clitest::fourMiniDraws();
    const CliResult top = runInProcess(
        {"--game", "mini", "--history", history, "--search", "1", "--ranking", "--top", "4"});
    EXPECT_EQ(top.code, 0) << top.err;
    EXPECT_EQ(top.out, "4\t-\t17\n4\t-\t18\n4\t-\t19\n4\t-\t20\n");
    // The last three lines hold two draws, in which 1 and 2 never met.
    const CliResult last = runInProcess({"--game", "mini", "--history", history, "--last", "3",
                                         "--search", "2", "--ranking", "--top", "2"});
    EXPECT_EQ(last.out, "2\t-\t1, 2\n2\t-\t1, 3\n");
    // Every number: 26 never drawn, then 3, 4 and 5 drawn three draws ago,
    // ..., the numbers of the newest draw last.
    const CliResult all = runInProcess(
        {"--game", "mini", "--history", history, "--search", "1", "--ranking", "--top", "1000"});
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = all.out.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(all.out.substr(at, end - at));
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(lines[25], "4\t-\t42");
    EXPECT_EQ(lines[26], "3\t1. 01.01.2020\t3");
    EXPECT_EQ(lines[31], "2\t2. 02.01.2020\t10");
    EXPECT_EQ(lines[32], "1\t3. 03.01.2020\t1");
    EXPECT_EQ(lines[41], "0\t4. 04.01.2020\t16");
}

// Multi Multi "Wyszukaj 3", a random search, ranks the triples never drawn
// whole: its top 20 over the whole history is a brute force's.
TEST(RankingCli, RanksTheTriplesOfARandomSearchAsABruteForce) {
    std::ifstream history(draw_lists::historyPath(Game::MultiMulti), std::ios::binary);
    std::vector<int> lastSeen(81 * 81 * 81, -1);
    int draws = 0;
    for (std::string line; std::getline(history, line); ++draws) {
        std::vector<int> n;
        for (std::size_t at = line.find(' ', line.find(' ') + 1); at != std::string::npos;
             at = line.find(',', at))
            n.push_back(std::atoi(line.c_str() + ++at));
        for (std::size_t a = 0; a < n.size(); ++a)
            for (std::size_t b = a + 1; b < n.size(); ++b)
                for (std::size_t c = b + 1; c < n.size(); ++c)
                    lastSeen[static_cast<std::size_t>((n[a] * 81 + n[b]) * 81 + n[c])] = draws;
    }
    std::vector<std::pair<int, std::string>> waits;  // -wait, set: sorted as the ranking is
    for (int a = 1; a <= 80; ++a)
        for (int b = a + 1; b <= 80; ++b)
            for (int c = b + 1; c <= 80; ++c) {
                char set[16];
                std::snprintf(set, sizeof set, "%02d%02d%02d", a, b, c);
                waits.emplace_back(
                    -(draws - 1 - lastSeen[static_cast<std::size_t>((a * 81 + b) * 81 + c)]), set);
            }
    std::sort(waits.begin(), waits.end());
    std::string expected;
    for (int i = 0; i < 20; ++i) {
        const std::string& set = waits[static_cast<std::size_t>(i)].second;
        expected += std::to_string(-waits[static_cast<std::size_t>(i)].first) + " " +
                    std::to_string(std::stoi(set.substr(0, 2))) + ", " +
                    std::to_string(std::stoi(set.substr(2, 2))) + ", " +
                    std::to_string(std::stoi(set.substr(4, 2))) + "\n";
    }
    const CliResult top =
        runInProcess({"--game", "multi", "--history", draw_lists::historyPath(Game::MultiMulti),
                      "--search", "Wyszukaj 3", "--ranking", "--top", "20"});
    EXPECT_EQ(top.code, 0) << top.err;
    std::string seen;
    for (std::size_t at = 0, end; (end = top.out.find('\n', at)) != std::string::npos;
         at = end + 1) {
        const std::string line = top.out.substr(at, end - at);
        seen += line.substr(0, line.find('\t')) + " " + line.substr(line.rfind('\t') + 1) + "\n";
    }
    EXPECT_EQ(seen, expected);
}

// --format csv, as the window's "CSV dla Excela" saves it, for the ranking,
// the ticket and the backtest: UTF-8 after its byte-order mark, whatever
// --encoding says, and Python's csv module with ';' reads back the rows of
// the tab-separated lines (decimal commas for points).
TEST(RankingCli, CsvReadsBackAsTheTabSeparatedRows) {
    const auto folder = testing_folder::testFolder();
    const std::string lotto = draw_lists::historyPath(Game::Lotto);
    const std::vector<std::vector<std::string>> modes = {
        {"--game", "lotto", "--history", lotto, "--search", "3 z 4", "--ranking", "--top", "25"},
        {"--game", "lotto", "--history", lotto, "--ticket", "1, 2, 7"},
        {"--game", "lotto", "--history", lotto, "--last", "500", "--search", "2", "--backtest"},
    };
    for (std::vector<std::string> args : modes) {
        std::ofstream(folder / "r.txt", std::ios::binary) << runInProcess(args).out;
        args.insert(args.end(), {"--format", "csv", "--encoding", "cp1250"});
        const std::string sheet = runInProcess(args).out;
        EXPECT_EQ(sheet.substr(0, 3), "\xEF\xBB\xBF");
        for (std::size_t at = sheet.find('\n'); at != std::string::npos;
             at = sheet.find('\n', at + 1))
            EXPECT_EQ(sheet[at - 1], '\r') << args[4] << ": every line ends in CR LF";
        std::ofstream(folder / "r.csv", std::ios::binary) << sheet;
        const std::string check =
            "python3 -c \"import csv, sys; r = lambda name, d: [[c.replace(',', '.') for c in row] "
            "for row in csv.reader(open(name, newline='', encoding='utf-8-sig'), delimiter=d)]; "
            "tsv = r(sys.argv[1], '\\t'); rows = r(sys.argv[2], ';'); "
            "sys.exit(len(tsv) < 3 or rows[1:] != tsv or not rows[0][0].startswith('Czeka') "
            "and rows[0][0] != 'Trafień')\" " +
            (folder / "r.txt").string() + " " + (folder / "r.csv").string();
        EXPECT_EQ(std::system(utf8FromCp1250(check).c_str()), 0) << args[4];
    }
    EXPECT_EQ(runInProcess({"--game", "lotto", "--search", "2", "--format", "csv"}).code, 2);
}

TEST(RankingCli, RefusesWhatRanksNothing) {
    const std::vector<std::vector<std::string>> refused = {
        {"--game", "multi", "--search", "6 z 9", "--ranking"},  // sets of 9: no ranking
        {"--game", "multi", "--search", "3", "--all"},          // a random search
        {"--game", "multi", "--search", "2", "--top", "5"},     // --top alone
        {"--game", "multi", "--search", "2", "--ranking", "--top", "0"},
        {"--numbers", "x.txt", "--game", "multi", "--search", "2", "--ranking"},
        {"--game", "multi", "--search", "2", "--ranking", "--all"},
    };
    for (const auto& args : refused)
        EXPECT_EQ(runInProcess(args).code, 2) << args[3] << " " << args.back();
}

}  // namespace
}  // namespace zestawy
