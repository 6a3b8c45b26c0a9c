// --ranking: the sets of one search that have waited longest, with how long
// and since which draw.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.hpp"
#include "cli/output.hpp"

namespace zestawy::cli {

// Ranks the sets of o's one search over the history lines (the last o.last of
// them, or all) and writes one line per set: the wait, TAB, the number and
// date of the draw it last appeared in ("-" when none), TAB, the set. On a
// terminal a Polish header and aligned columns instead. Returns the exit code.
int rankSets(const Options& o, const std::vector<std::string>& lines, Output& out, std::FILE* err);

}  // namespace zestawy::cli
