// zestawy-cli --version: the version of CMakeLists.txt, whatever else is given.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.hpp"

namespace zestawy {
namespace {

struct CliResult {
    int code;
    std::string out, err;
};

CliResult run(std::vector<std::string> args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int code = runCli(args, out, err, "/nonexistent");
    CliResult result{code, "", ""};
    for (auto [file, text] : {std::pair{out, &result.out}, std::pair{err, &result.err}}) {
        std::rewind(file);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text->append(buffer, n);
        std::fclose(file);
    }
    return result;
}

TEST(VersionCli, PrintsTheProjectVersionWhateverElseIsGiven) {
    const std::string expected = "zestawy-cli " ZESTAWY_PROJECT_VERSION "\n";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--version"},
             {"--game", "nie-ma-takiej", "--version"},  // would be an error without it
             {"--version", "--help"},                   // the first of the two wins
         }) {
        const CliResult r = run(args);
        EXPECT_EQ(r.code, 0) << args.front();
        EXPECT_EQ(r.out, expected) << args.front();
        EXPECT_EQ(r.err, "") << args.front();
    }
    const CliResult help = run({"--help", "--version"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("\n  --version         wersja programu\n"), std::string::npos);
}

}  // namespace
}  // namespace zestawy
