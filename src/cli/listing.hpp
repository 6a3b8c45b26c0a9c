// --count and --all: how many sets a search finds, and every one of them,
// streamed without the window's limits.
#pragma once

#include <cstdio>

#include "cli/options.hpp"
#include "cli/output.hpp"

namespace zestawy::cli {

// --count: how many sets, with the first and the last. Returns the exit code.
int countSets(const Options& o, const DrawList& draws, Output& out, std::FILE* err);

// --all: every set, one per line, in order. Returns the exit code.
int listSets(const Options& o, const DrawList& draws, Output& out, std::FILE* err);

}  // namespace zestawy::cli
