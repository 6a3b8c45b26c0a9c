// zestawy-cli: the search commands of the program from the command line.
//
//   zestawy-cli --numbers FILE [--encoding cp1250|utf-8] ID...
//
// runs the search commands of the given button ids, in order, in one process
// (so the random generator carries over from one to the next), on a results
// box that starts empty and a numbers box that holds the bytes of FILE as they
// are, and prints the final results-box text.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zestawy {

// Runs the tool with the arguments that follow the program name. Writes the
// results to out and any error, one line, to err. Returns the exit code: 0 on
// success, 2 for bad arguments or an unreadable file, 1 when writing failed.
int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace zestawy
