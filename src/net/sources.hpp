// Where "Pobierz najnowsze wyniki" and the tool's --download take each game's
// results from: the defaults, or the lines of zrodla.txt beside the program,
//
//   # a comment
//   multi = https://...
//   mini  = https://...
//   lotto = https://...
//   czas  = 30        (seconds without data before a download gives up)
//
// Each line may be left out (its default holds). The program never writes
// the file.
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
    // A bad line: what is wrong, a Polish sentence in Windows-1250 that
    // names the line; nothing is to be downloaded then.
    std::string error;
};

// The defaults: the three games' files from the public repository that the
// sample histories come from.
Sources defaultSources();

// The sources of the text of zrodla.txt.
Sources readSources(std::string_view text);

// The sources of the file at `path` (UTF-8): the defaults when there is no
// such file; an error when it cannot be read.
Sources sourcesOfFile(const std::string& path);

}  // namespace zestawy
