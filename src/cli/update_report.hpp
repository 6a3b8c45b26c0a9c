// --update and --download: history files brought up to date from downloaded
// results files.
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
// o.updatePath may be an http(s) address, fetched (never read as a path) with
// the time limit of zrodla.txt in the working folder or else in programDir.
int update(const Options& o, const std::string& historyPath, bool givenHistory,
           const std::string& programDir, std::FILE* err);

// --download: each game's results fetched from the sources of zrodla.txt in
// the working folder or else in programDir (or the defaults) and merged into
// its sample history, a line per game on err. Returns 0 when every game was
// fetched and merged or had nothing new, 1 when any was not, 2 for a bad
// zrodla.txt, 130 after Ctrl-C.
int downloadAll(const std::string& programDir, std::FILE* err);

}  // namespace zestawy::cli
