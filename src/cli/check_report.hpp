// --check, and the checks of a history file before it is searched.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.hpp"
#include "cli/output.hpp"

namespace zestawy::cli {

// --check: each bad line of the history as soon as it is found, then a
// summary. Returns the exit code: 0, or 1 when a line is bad.
int check(const Options& o, const std::vector<std::string>& lines, Output& out, std::FILE* err);

// Why a file written in another encoding shows no draws, or "".
std::string encodingHint(const std::string& path);

}  // namespace zestawy::cli
