// The search commands: what every search button does, as one frame filled in
// by one table row per button.
//
// A search command reads the whole numbers box, cuts the text into the draw
// list, runs its search, writes the found sets in its row's layout (or its not-found sentence when
// there are none) and appends that answer to the results box. Everything here is text in, text out.
// The window adds around it the locking and unlocking of its buttons, the refusal of another
// game's draws, the question before a very long answer, and the insertion of the answer into the
// box piece by piece (app/search_buttons.cpp).
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "commands/answer.hpp"
#include "commands/games.hpp"
#include "search/engine.hpp"
#include "search/shared_walk.hpp"

namespace zestawy {

using DrawList = std::vector<std::string>;

struct SearchCommand {
    int id;  // the command's number (SearchId): the ID the tool takes
    Game game;
    const char* caption;  // the button's caption, by which the tool's --search names it too
    // The exhaustive search behind the button: it judges the sets of
    // sets.setSize numbers of 1..sets.maxNumber by their sets.subsetSize-subsets,
    // and the answer lists what it finds in the row's layout (the single-set
    // layouts show the first set). All zero for the random searches.
    NeverDrawnQuery sets;
    // The random searches, which put at most ten sets; nullptr for the others.
    void (*random)(const DrawList& draws, AnswerWriter& out);
    Layout layout;
    const char* format;    // printf-style, one set; nullptr for FreeLength
    const char* notFound;  // the whole answer when no set is found
};

// Every search command of the three games, in the order the games show them.
extern const SearchCommand kSearchCommands[];
extern const std::size_t kSearchCommandCount;

// The row of a command by its number, or nullptr when no command has it.
const SearchCommand* findSearchCommand(int id);

// The sets that a ranking of the command judges: those of its exhaustive
// search, or, for a random search, the sets its caption names where the
// engine can walk them ("Wyszukaj 3": triples that are never drawn whole;
// "Wyszukaj 6 z 9" has sets larger than kMaxSetSize). All zero when the
// command has none.
NeverDrawnQuery rankingQuery(const SearchCommand& command);

// The ids of a game's search buttons, in panel order.
std::vector<int> searchButtonsOf(Game game);

// The writer of a command's answer, appended to out.
AnswerWriter answerWriter(const SearchCommand& command, TextBuffer& out);

// Runs the command's search over the draw list, putting each found set into out.
// The exhaustive searches share their walk among `threads` threads (1..64;
// search/shared_walk.hpp); the sets and their order are the same for any
// count. The random searches run on the calling thread alone.
// `index`, here and below: the engine's index of these draws from indexFor,
// so that one index serves the measuring and the writing of an answer;
// nullptr builds one for this call.
void runSearch(const SearchCommand& command, const DrawList& draws, AnswerWriter& out,
               int threads = 1, const CompletionIndex* index = nullptr);

// The engine's index of the draws for the command's exhaustive search, built
// on `threads` threads; nullptr for the random searches, which use none.
std::unique_ptr<const CompletionIndex> indexFor(const SearchCommand& command, const DrawList& draws,
                                                int threads = 1);

// The non-empty lines of the text, split at LF; a CR before the LF stays.
DrawList splitDrawList(std::string_view text);

// The answer of one command for the given numbers-box text, appended to out.
// `threads` here and below: as for runSearch.
void writeAnswer(const SearchCommand& command, std::string_view numbersBox, TextBuffer& out,
                 int threads = 1);

// The answer of one command for its draw list, appended to out.
void writeAnswer(const SearchCommand& command, const DrawList& draws, TextBuffer& out,
                 int threads = 1, const CompletionIndex* index = nullptr);

// The same answer handed to `write` in pieces of about a megabyte, so that an
// answer of gigabytes takes no more memory than that. `write` returns false to
// stop; then so does this.
bool streamAnswer(const SearchCommand& command, const DrawList& draws,
                  const std::function<bool(std::string_view)>& write, int threads = 1,
                  const CompletionIndex* index = nullptr);

// Whether the command lists every set its search finds, so that its answer may
// run to gigabytes: the list layouts of the exhaustive searches. The others
// show one set, 699 characters, or the at most ten sets of a random search.
bool listsEverySet(const SearchCommand& command);

struct AnswerSize {
    std::uint64_t sets = 0;   // found sets
    std::uint64_t bytes = 0;  // characters of the answer text
};

// How many sets the command finds and how long its answer text is, without
// writing the text; quick even for hundreds of millions of sets.
// REQUIRES listsEverySet(command).
AnswerSize measureAnswer(const SearchCommand& command, const DrawList& draws, int threads = 1,
                         const CompletionIndex* index = nullptr);

}  // namespace zestawy
