// --check, and the checks of a history file before it is searched.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.hpp"
#include "cli/output.hpp"
#include "history/history.hpp"

namespace zestawy::cli {

// --check of the history at `path`: each bad line as soon as it is found,
// then a summary, the file read whole but never split into copies of its
// lines. Returns the exit code: 0, 1 when a line is bad, 2 when the file
// cannot be read or holds no draw, 130 on Ctrl-C.
int check(const Options& o, const std::string& path, Output& out, std::FILE* err);

// The messages of a file that cannot be read, or holds no draw; both return 2.
int unreadableFile(const std::string& path, HistoryRead read, std::FILE* err);
int noDrawsIn(const std::string& path, std::FILE* err);

// Why a file written in another encoding shows no draws, or "".
std::string encodingHint(const std::string& path);

}  // namespace zestawy::cli
