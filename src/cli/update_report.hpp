// --update: a history file brought up to date from a downloaded results file.
#pragma once

#include <cstdio>
#include <string>

#include "cli/options.hpp"

namespace zestawy::cli {

// Appends the new draws of o.updatePath to the history at historyPath and says
// on err what it added, or why nothing. `givenHistory`: the path came from
// --history (otherwise a failed write suggests it). Returns the exit code: 0
// when draws were added or none was new, 1 when refused or not written, 2
// when a file cannot be read or the download holds no draw, 130 when Ctrl-C
// stopped it before the history was replaced.
int update(const Options& o, const std::string& historyPath, bool givenHistory, std::FILE* err);

}  // namespace zestawy::cli
