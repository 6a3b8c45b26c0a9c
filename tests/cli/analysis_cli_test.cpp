// zestawy-cli --ticket and --backtest: their lines and what they refuse.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.hpp"
#include "search/draw_lists.hpp"
#include "test_folder.hpp"

namespace zestawy {
namespace {

using clitest::CliResult;
using clitest::runInProcess;

std::vector<std::vector<std::string>> cellsOf(const std::string& text, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        rows.emplace_back();
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, separator);) rows.back().push_back(cell);
    }
    return rows;
}

TEST(AnalysisCli, TicketWritesARowPerNumberOfHits) {
    // Against 1, 2 and 7: two hits in draws 1 and 3, one in 2 and 4.
    const std::string history = clitest::fourMiniDraws();
    const CliResult tsv =
        runInProcess({"--game", "mini", "--history", history, "--ticket", "7 2,1"});
    ASSERT_EQ(tsv.code, 0) << tsv.err;
    const auto rows = cellsOf(tsv.out, '\t');
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::vector<std::string>> kept = {{"3", "0", "-", "-"},
                                                        {"2", "2", "3. 03.01.2020", "1"},
                                                        {"1", "2", "4. 04.01.2020", "0"},
                                                        {"0", "0", "-", "-"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 7u);
        EXPECT_EQ((std::vector<std::string>{rows[i][0], rows[i][1], rows[i][5], rows[i][6]}),
                  kept[i]);
        EXPECT_EQ(rows[i][2].find(','), std::string::npos);  // a point for a pipe
    }
    // The spreadsheet's rows: a header, then the same cells with decimal commas.
    const CliResult sheet = runInProcess(
        {"--game", "mini", "--history", history, "--ticket", "1, 2, 7", "--format", "csv"});
    const auto csvRows = cellsOf(sheet.out, ';');
    ASSERT_EQ(csvRows.size(), 5u);
    std::string expected = rows[1][2];
    expected[expected.find('.')] = ',';
    EXPECT_EQ(csvRows[2][2], expected);
}

TEST(AnalysisCli, BacktestCountsEveryPairBeforeEveryDrawButTheFirst) {
    const CliResult r =
        runInProcess({"--game", "mini", "--history", draw_lists::historyPath(Game::MiniLotto),
                      "--last", "300", "--search", "2", "--backtest"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = cellsOf(r.out, '\t');
    ASSERT_EQ(rows.size(), 6u);
    unsigned long long chances = 0, appearances = 0;
    for (std::size_t g = 0; g < 5; ++g) {
        ASSERT_EQ(rows[g].size(), 7u);
        chances += std::stoull(rows[g][1]);
        appearances += std::stoull(rows[g][2]);
    }
    EXPECT_EQ(chances, 861u * 299u);     // C(42, 2) pairs, 299 draws judged
    EXPECT_EQ(appearances, 10u * 299u);  // each draw of 5 holds 10 pairs
    EXPECT_EQ(rows[5][0], "top10");
    EXPECT_EQ(rows[5][1], "2990");
}

TEST(AnalysisCli, RefusesWhatDoesNotGoTogether) {
    const std::vector<std::vector<std::string>> refused = {
        {"--ticket", "1, 2"},
        {"--game", "lotto", "--ticket", "1, 1"},
        {"--game", "lotto", "--ticket", "1, 50"},
        {"--game", "lotto", "--ticket", "1, 2", "--search", "2"},
        {"--game", "lotto", "--backtest"},
        {"--game", "lotto", "--search", "2", "--search", "3", "--backtest"},
        {"--game", "lotto", "--search", "2", "--format", "csv"},
    };
    for (const auto& args : refused) {
        const CliResult r = runInProcess(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_TRUE(r.out.empty()) << args.back();
    }
}

}  // namespace
}  // namespace zestawy
