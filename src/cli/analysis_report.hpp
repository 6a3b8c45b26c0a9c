// --ticket and --backtest: a player's own numbers against the history, and
// whether waiting pays.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.hpp"
#include "cli/output.hpp"

namespace zestawy::cli {

// Checks o.ticket over the history lines (the last o.last of them, or all):
// one line per number of hits, most first, tab-separated; on a terminal a
// Polish header, aligned columns and the line for the whole ticket; with
// --format csv the spreadsheet's rows. Returns the exit code.
int ticketReport(const Options& o, const std::vector<std::string>& lines, Output& out,
                 std::FILE* err);

// The backtest of o's one search over the history lines: a line per group of
// waits and the top sets' line, laid out as ticketReport's; on a terminal the
// sentence that sums it up too. Returns the exit code.
int backtestReport(const Options& o, const std::vector<std::string>& lines, Output& out,
                   std::FILE* err);

}  // namespace zestawy::cli
