// Where "Pobierz najnowsze wyniki" and the tool's --download and --update URL
// take each game's results from: the defaults, or the lines of zrodla.txt in
// the working folder or else beside the program,
//
//   # a comment
//   multi = https://...
//   mini  = https://...
//   lotto = https://...
//   czas  = 30        (seconds without data before a download gives up)
//
// Each line may be left out (its default holds), none may come twice. The
// program never writes the file.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "commands/games.hpp"
#include "net/fetch.hpp"

namespace zestawy {

extern const char kSourcesFile[];  // "zrodla.txt"

struct Sources {
    std::array<std::string, 3> urls;  // by Game
    FetchLimits limits;
    std::string path;  // the file they were read from (UTF-8); "" for the defaults
    // A bad line: what is wrong, a Polish sentence in Windows-1250 that
    // names the file and the line; nothing is to be downloaded then.
    std::string error;
};

// The defaults: the three games' files from the public repository that the
// sample histories come from.
Sources defaultSources();

// The sources of the text of zrodla.txt; an error names the file as `shown`
// (Windows-1250).
Sources readSources(std::string_view text, const std::string& shown = kSourcesFile);

// The sources of the file at `path` (UTF-8): the defaults when there is no
// such file; an error when it cannot be read or is a folder.
Sources sourcesOfFile(const std::string& path);

// The sources of zrodla.txt in the working folder, or else of the one in
// programDir (UTF-8), or else the defaults.
Sources findSources(const std::string& programDir);

}  // namespace zestawy
