// The tool's arguments: the games it knows, what each option means, how the
// arguments are read, and the usage text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "commands/search_command.hpp"
#include "history/check.hpp"

namespace zestawy::cli {

// The most sets --ranking lists.
constexpr long long kMaxTop = 100000;

// What was wrong with the arguments, in Polish (Windows-1250).
struct UsageError {
    std::string message;
};

struct Options {
    std::string numbersPath, historyPath;
    std::string updatePath;  // --update: the downloaded results file
    const GameRow* game = nullptr;
    long long last = 0;  // 0: every line
    std::vector<const SearchCommand*> commands;
    std::vector<std::string> captions;
    bool all = false, count = false, check = false, ranking = false, utf8 = true;
    std::size_t top = 0;  // --top; 0: not given (10)
    int threads = 0;      // --threads, 1..64; 0: not given (the machine's cores, at most 16)
};

// The options the arguments give; throws UsageError for any that are wrong or
// do not go together.
Options parse(const std::vector<std::string>& args);

// The text of --help, Windows-1250.
std::string usage();

// Where a game's sample history is: beside the executable, or in the data
// folder of an installation (<prefix>/bin/zestawy-cli, <prefix>/share/zestawy).
std::string samplePath(const GameRow& game, const std::string& programDir);

}  // namespace zestawy::cli
