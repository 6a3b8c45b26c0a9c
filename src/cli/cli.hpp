// zestawy-cli: the program's searches from the command line, for scripts and
// for work too large for the window (every never-drawn set of any size,
// streamed at full speed), and a check of the history files.
//
//   zestawy-cli --numbers FILE [--encoding cp1250|utf-8] ID...
//
// runs the search commands of the given button ids, in order, in one process
// (so the random generator carries over from one to the next), on a results
// box that starts empty and a numbers box that holds the bytes of FILE as they
// are, and prints the final results-box text. --help lists everything else.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zestawy {

// The tool's exit codes but 0 (done): a finding (--check's bad lines, a
// system without its guarantee) or a failure to write; bad arguments or a
// file it cannot take; Ctrl-C.
constexpr int kExitFailed = 1, kExitUsage = 2, kExitStopped = 130;

// Runs the tool with the arguments that follow the program name. Writes the
// results to out and any error, one line, to err. programDir is the folder of
// the executable, where the sample histories are looked for first.
// Returns the exit code: 0 on success, else one of those above.
int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
           const std::string& programDir = "");

// Called by the Ctrl-C handler of the executable. While the tool walks or
// writes, the walk and the writes stop by themselves, leaving whole lines;
// at any other moment it ends the process at once with kExitStopped.
void requestStop();

}  // namespace zestawy
