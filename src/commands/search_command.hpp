// The search commands: what every search button does, as one frame filled in
// by one table row per button.
//
// A search command reads the numbers box (the whole box, or for the two
// randomised nine- and ten-number searches its first 8,999 characters), cuts the text into the draw
// list, runs its search, writes the found sets in its row's layout (or its not-found sentence when
// there are none) and appends that answer to the results box. Everything here is text in, text out;
// the window code adds only the locking and unlocking of buttons around it.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/answer.hpp"
#include "search/engine.hpp"

namespace zestawy {

using DrawList = std::vector<std::string>;

enum class Game { MultiMulti, MiniLotto, Lotto };

enum class Layout {
    Single,        // the one set on one line
    Joined,        // one line per set, CR LF between lines
    Terminated,    // one line per set, each followed by CR LF
    Concatenated,  // sets one after another (the format ends each line itself)
    FirstOnly,     // only the first set, on one line
    FreeLength,    // every number of each set by "%d" joined by ", ", each set
                   // followed by CR LF; the whole cut to kFreeLengthLimit characters
};

constexpr std::size_t kFreeLengthLimit = 699;

// The read capacity of a command that reads the whole numbers box: no box
// holds that many characters.
constexpr int kWholeBox = INT_MAX;

// Receives the sets a search finds, in order, and writes them as answer text.
class AnswerWriter;

struct SearchCommand {
    int id;  // the button's control id
    Game game;
    const char* caption;  // the button's caption
    int readCapacity;     // at most readCapacity - 1 characters of the numbers box are
                          // read; kWholeBox for all of them
    void (*search)(const DrawList& draws, AnswerWriter& out);
    Layout layout;
    const char* format;    // printf-style, one set; nullptr for FreeLength
    const char* notFound;  // the whole answer when no set is found
    // The exhaustive search behind the button: it judges the sets of
    // sets.setSize numbers of 1..sets.maxNumber by their sets.subsetSize-subsets.
    // The list buttons show what it finds; the others the first set, or the
    // first after a random draw. All zero for the random searches.
    NeverDrawnQuery sets;
};

// Every search button of the three games, in panel order.
extern const SearchCommand kSearchCommands[];
extern const std::size_t kSearchCommandCount;

// The row of a search button, or nullptr when the id is not a search button.
const SearchCommand* findSearchCommand(int id);

class AnswerWriter {
  public:
    AnswerWriter(const SearchCommand& command, TextBuffer& out);

    // Adds one found set; count numbers ascending. Returns false when the
    // layout needs no more sets, so the search can stop.
    bool put(const int* numbers, int count);

    // Writes the not-found sentence if no set was put. Call once, at the end.
    void finish();

    const SearchCommand& command() const { return command_; }

    // Called whenever the text has grown past `threshold` characters, with the
    // buffer, which it may empty (a stream to a file); returns false to stop
    // the search. Unset by default.
    void setFlush(std::size_t threshold, std::function<bool(TextBuffer&)> flush) {
        flushThreshold_ = threshold;
        flush_ = std::move(flush);
    }

  private:
    const SearchCommand& command_;
    TextBuffer& out_;
    SetFormat format_;
    // For the list layouts whose format is numbers between one separator
    // ("%d, %d, %d"), the faster writer of such lines; empty otherwise.
    std::optional<SetLines> lines_;
    std::size_t start_;
    std::size_t sets_ = 0;
    std::size_t flushThreshold_ = 0;
    std::function<bool(TextBuffer&)> flush_;
};

// Cuts the numbers-box text as the read of the box does: at most capacity - 1
// characters. A line cut in the middle is left out whole rather than searched
// as a shorter draw.
std::string_view readNumbersBox(std::string_view box, int capacity);

// The non-empty lines of the text, split at LF; a CR before the LF stays.
DrawList splitDrawList(std::string_view text);

// The answer of one command for the given numbers-box text, appended to out.
void writeAnswer(const SearchCommand& command, std::string_view numbersBox, TextBuffer& out);

// The draw list that the command searches: the lines of what it reads of the box.
DrawList drawsOf(const SearchCommand& command, std::string_view numbersBox);

// The answer of one command for its draw list, appended to out.
void writeAnswer(const SearchCommand& command, const DrawList& draws, TextBuffer& out);

// The same answer handed to `write` in pieces of about a megabyte, so that an
// answer of gigabytes takes no more memory than that. `write` returns false to
// stop; then so does this.
bool streamAnswer(const SearchCommand& command, const DrawList& draws,
                  const std::function<bool(std::string_view)>& write);

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
AnswerSize measureAnswer(const SearchCommand& command, const DrawList& draws);

// The results box after appending an answer: the old text, CR LF if it was
// not empty, the answer.
void appendToResults(std::string& results, std::string_view answer);

// The whole command, text in and text out: the new results-box text.
std::string runSearchCommand(const SearchCommand& command, std::string_view numbersBox,
                             std::string_view resultsBox);

}  // namespace zestawy
