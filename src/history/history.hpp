// Draw-history files, and the latest N of their lines split as a load splits
// them.
//
// A history file holds one draw per line, oldest first:
//   <draw number>. <date> n1,n2,...,nk
// A load takes the last N lines and splits each at its second blank: the
// number and date before it, the drawn numbers after it. Only the blank
// (character 32) separates; a line with fewer than two blanks gives nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zestawy {

// History files, and the downloads an update reads, larger than this are
// refused whole; real ones are under 2 MB.
constexpr std::size_t kMaxHistoryBytes = 256u << 20;

// "256 MB": that limit as the messages name it.
inline std::string historyLimitText() {
    return std::to_string(kMaxHistoryBytes >> 20) + " MB";
}

// Reads every line of the file, whole, whatever its length, in file order, as
// splitHistoryLines splits them. Returns false, with lines untouched, when the
// file cannot be opened; a read error later keeps the lines read so far.
bool readHistoryLines(const std::string& path, std::vector<std::string>& lines);

enum class HistoryRead {
    Ok,
    CannotOpen,
    ReadError,  // the lines read so far are kept
    TooLarge,   // more than maxBytes; no lines are kept
};

// Calls visit with each line of the file at `path`, split as LineScanner
// splits the whole text, reading a megabyte at a time and holding no more than
// that and the longest line; visit returns false to stop. The same outcomes
// as readHistoryFile; TooLarge before any line is visited where the file's
// size is known.
HistoryRead forEachLineOf(const std::string& path, std::size_t maxBytes,
                          const std::function<bool(std::string_view)>& visit);

// The file's bytes as they are, with the same outcomes as readHistoryFile;
// after ReadError, the bytes read so far.
HistoryRead readWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes);

// The same, telling why a file could not be read whole, and refusing a file
// of more than maxBytes bytes (or a device that never ends) without reading
// more than that.
HistoryRead readHistoryFile(const std::string& path, std::vector<std::string>& lines,
                            std::size_t maxBytes);

// Splits text that was read whole into lines: a line ends at LF, or at a CR
// that is followed by anything but CR or LF (old Mac files). Line ends (any
// run of CRs before an LF) are taken off, a line ends at a zero byte in it,
// and an empty line stays as an empty entry. A UTF-8 byte-order mark at the
// start is left out.
std::vector<std::string> splitHistoryLines(std::string_view text);

// The lines of a text one by one, split as splitHistoryLines splits them, with
// where each stands: `text` is the line without its end (cut at a zero byte),
// [begin, end) its bytes with the end, and the lines' ranges follow each other
// from the first byte after a byte-order mark to the end of the text.
struct TextLine {
    std::string_view text;
    std::size_t begin = 0, end = 0;
};

class LineScanner {
  public:
    // `fileStart`: the text is a file's beginning, whose byte-order mark goes.
    explicit LineScanner(std::string_view text, bool fileStart = true);
    // The next line; false after the last.
    bool next(TextLine& line);

  private:
    std::string_view text_;
    std::size_t at_;
};

// How many lines a typed count asks for: the decimal number at the start of its
// first 19 characters, after white space, with an optional sign; 0 when there
// is none. A number too large for the type is taken as the largest one.
long long parseCount(std::string_view countBox);

// One line of the history as loading splits it, at its second blank: the
// number and date before it, the numbers after it. Views into the line.
struct LoadedLine {
    std::string_view dates, numbers;
};

// The last `count` lines that loading shows, oldest first: those with two
// blanks at least. REQUIRES count > 0. A count above the number of lines
// takes every line.
std::vector<LoadedLine> loadedLines(const std::vector<std::string>& lines, long long count);

struct LoadedDraws {
    std::string dates;    // "<number>. <date>" of each shown line, CR LF between
    std::string numbers;  // the rest of each shown line, CR LF between
};

// The number-and-date texts and the numbers texts of the last `count` lines,
// each a line per draw.
// REQUIRES count > 0. A count above the number of lines shows every line.
LoadedDraws latestDraws(const std::vector<std::string>& lines, long long count);

}  // namespace zestawy
