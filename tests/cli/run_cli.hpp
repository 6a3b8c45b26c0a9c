// Runs zestawy-cli in the test's own process, its output and messages caught.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.hpp"
#include "test_folder.hpp"

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

// A history of four Mini Lotto draws and a line that is no draw, in the
// test's own folder: its path.
inline std::string fourMiniDraws() {
    const std::string history = (testing_folder::testFolder() / "history.txt").string();
    std::ofstream(history, std::ios::binary) << "1. 01.01.2020 1,2,3,4,5\n"
                                                "2. 02.01.2020 6,7,8,9,10\n"
                                                "bez losowania\n"
                                                "3. 03.01.2020 1,7,11,12,13\n"
                                                "4. 04.01.2020 2,6,14,15,16\n";
    return history;
}

}  // namespace zestawy::clitest
