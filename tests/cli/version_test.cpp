// zestawy-cli --version: the version of CMakeLists.txt, whatever else is given.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/run_cli.hpp"

namespace zestawy {
namespace {

using clitest::CliResult;
using clitest::runInProcess;

TEST(VersionCli, PrintsTheProjectVersionWhateverElseIsGiven) {
    const std::string expected = "zestawy-cli " ZESTAWY_PROJECT_VERSION "\n";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--version"},
             {"--game", "nie-ma-takiej", "--version"},  // would be an error without it
             {"--version", "--help"},                   // the first of the two wins
         }) {
        const CliResult r = runInProcess(args);
        EXPECT_EQ(r.code, 0) << args.front();
        EXPECT_EQ(r.out, expected) << args.front();
        EXPECT_EQ(r.err, "") << args.front();
    }
    const CliResult help = runInProcess({"--help", "--version"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("\n  --version         wersja programu\n"), std::string::npos);
}

}  // namespace
}  // namespace zestawy
