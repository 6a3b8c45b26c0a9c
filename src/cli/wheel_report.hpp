// --wheel and --check-wheel: a reduced system of the player's numbers with a
// guarantee, made (from the program's table or by search) or checked.
#pragma once

#include <cstdio>

#include "cli/options.hpp"
#include "cli/output.hpp"

namespace zestawy::cli {

// With o.checkWheelPath: whether that file's tickets guarantee o's "t z m"
// over o's numbers; 0 with "gwarantuje", 1 naming a draw no ticket hits t
// times. Otherwise the system, a ticket a line, with its summary on err.
// Wrong numbers, guarantee, size or file: a line on err and 2.
int wheelReport(const Options& o, Output& out, std::FILE* err);

}  // namespace zestawy::cli
