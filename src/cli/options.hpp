// The tool's arguments: one table row per option (src/cli/options.cpp), from
// which both the parser and the text of --help are made.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "commands/search_command.hpp"
#include "commands/wheel_text.hpp"
#include "history/check.hpp"

namespace zestawy::cli {

// The defaults and limits of the options, each written here once.
constexpr std::size_t kDefaultTop = 10;    // --top
constexpr long long kMaxTop = 100000;      // --top
constexpr long long kMaxLast = 999999999;  // --last
constexpr int kMostWheelSize = 10;         // --size
constexpr long long kMaxWheelBudget = 3600;

// What was wrong with the arguments, in Polish (Windows-1250).
struct UsageError {
    std::string message;
};

struct Options {
    std::string numbersPath, historyPath;
    std::string updatePath;  // --update: the downloaded results file
    const GameRow* game = nullptr;
    long long last = 0;  // history lines; 0: every line
    std::vector<const SearchCommand*> commands;
    std::vector<std::string> captions;
    bool all = false, count = false, check = false, ranking = false, utf8 = true;
    bool download = false;    // --download
    bool csv = false;         // --format csv
    std::string ticketText;   // --ticket as given
    std::vector<int> ticket;  // and its numbers, ascending
    bool backtest = false;    // --backtest
    std::size_t top = kDefaultTop;
    std::string wheelText;           // --wheel: the player's numbers as given
    std::string guaranteeText;       // --guarantee, "3 z 4"
    std::string checkWheelPath;      // --check-wheel: a file of tickets
    int size = 0;                    // --size: a ticket's numbers; 0: the game's own
    double budget = 0;               // --budget, seconds; 0: not given
    int threads = 0;                 // the searches' threads; 0: the machine's cores, at most 16
    std::vector<std::string> given;  // the options given, by name
};

// The options the arguments give; throws UsageError for any that are wrong,
// given twice or do not go together.
Options parse(const std::vector<std::string>& args);

// The text of --help, Windows-1250.
std::string usage();

// How many threads the searches use.
int threadsOf(const Options& o);

// Where a game's sample history is: beside the executable, or in the data
// folder of an installation (<prefix>/bin/zestawy-cli, <prefix>/share/zestawy).
// An empty programDir is the current folder.
std::string samplePath(const GameRow& game, const std::string& programDir);

}  // namespace zestawy::cli
