// zestawy-cli --ranking: its lines and what it refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cli/run_cli.hpp"
#include "test_folder.hpp"

namespace zestawy {
namespace {

using clitest::CliResult;
CliResult run(const std::vector<std::string>& args) {
    return clitest::runInProcess(args);
}

TEST(RankingCli, WritesWaitDrawAndSetSeparatedByTabs) {
    const std::string history = (zestawy::testing_folder::testFolder() / "history.txt").string();
    // Four Mini Lotto draws and a line that is no draw; "Wyszukaj 1" ranks
    // single numbers by the draws since each was drawn.
    std::ofstream(history, std::ios::binary) << "1. 01.01.2020 1,2,3,4,5\n"
                                                "2. 02.01.2020 6,7,8,9,10\n"
                                                "bez losowania\n"
                                                "3. 03.01.2020 1,7,11,12,13\n"
                                                "4. 04.01.2020 2,6,14,15,16\n";
    const CliResult top =
        run({"--game", "mini", "--history", history, "--search", "1", "--ranking", "--top", "4"});
    EXPECT_EQ(top.code, 0) << top.err;
    EXPECT_EQ(top.out, "4\t-\t17\n4\t-\t18\n4\t-\t19\n4\t-\t20\n");
    // The last three lines hold two draws, in which 1 and 2 never met.
    const CliResult last = run({"--game", "mini", "--history", history, "--last", "3", "--search",
                                "2", "--ranking", "--top", "2"});
    EXPECT_EQ(last.out, "2\t-\t1, 2\n2\t-\t1, 3\n");
    // Every number: 26 never drawn, then 3, 4 and 5 drawn three draws ago,
    // ..., the numbers of the newest draw last.
    const CliResult all = run(
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

TEST(RankingCli, RefusesWhatRanksNothing) {
    const std::vector<std::vector<std::string>> refused = {
        {"--game", "multi", "--search", "3", "--ranking"},      // a random search
        {"--game", "multi", "--search", "6 z 9", "--ranking"},  // likewise
        {"--game", "multi", "--search", "2", "--top", "5"},     // --top alone
        {"--game", "multi", "--search", "2", "--ranking", "--top", "0"},
        {"--numbers", "x.txt", "--game", "multi", "--search", "2", "--ranking"},
        {"--game", "multi", "--search", "2", "--ranking", "--all"},
    };
    for (const auto& args : refused) EXPECT_EQ(run(args).code, 2) << args[3] << " " << args.back();
}

}  // namespace
}  // namespace zestawy
