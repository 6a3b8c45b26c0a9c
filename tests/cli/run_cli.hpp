// Runs zestawy-cli in the test's own process, its output and messages caught.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.hpp"

namespace zestawy::clitest {

struct CliResult {
    int code;
    std::string out, err;
};

// The tool's folder is by default one with no sample histories in it.
inline CliResult runInProcess(const std::vector<std::string>& args,
                              const std::string& programDir = "/nonexistent") {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int code = runCli(args, out, err, programDir);
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

}  // namespace zestawy::clitest
