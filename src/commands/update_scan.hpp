// What an update reads of the two files: the history's lines and draws, the
// download's draws and what else it holds, and the short texts its messages
// are made of. Shared by the plan (update_plan.cpp) and the write (update.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "commands/draw_line.hpp"
#include "commands/games.hpp"
#include "history/history.hpp"

namespace zestawy::update {

constexpr std::size_t kListed = 10;       // items of a kind named; the rest counted
constexpr std::size_t kPiece = 1u << 20;  // what writeMerged hands on at a time

// "3 losowania"
std::string count(std::size_t n, const char* one, const char* few, const char* many);
// Shown in a message: at most 120 bytes of a line, never half a UTF-8 letter.
std::string quoted(std::string_view line);
// "12–15", or "12" alone.
std::string range(std::uint64_t from, std::uint64_t to);

// The first few items of a kind, and how many there are.
struct Listed {
    std::vector<std::string> items;
    std::size_t total = 0;

    void add(const std::string& item) {
        if (total++ < kListed) items.push_back(item);
    }
    // A heading, then an item a line.
    void appendTo(std::vector<std::string>& message, const std::string& heading) const {
        if (total == 0) return;
        message.push_back(heading);
        for (const std::string& item : items) message.push_back("  " + item);
        if (total > kListed)
            message.push_back("  i " + count(total - kListed, "inny", "inne", "innych"));
    }
    // "1, 7, 12 i 3 inne" on one line.
    std::string inLine() const {
        std::string text;
        for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
        if (total > kListed) text += " i " + count(total - kListed, "inny", "inne", "innych");
        return text;
    }
};

// A history line that begins with a draw number: a draw, or a line that
// tries to be one ("7300. 13.01.2026 7,13,... # a note").
struct HistoryDraw {
    std::uint64_t number = 0;
    std::size_t line = 0;   // 1-based
    std::size_t begin = 0;  // where its bytes start
    std::string_view text;
};

// A history's draw lines one by one in file order, holding none of them: an
// update's memory is the two files and little more.
class HistoryCursor {
  public:
    explicit HistoryCursor(std::string_view text) : scanner_(text) {}
    // The next line that begins with a draw number; false after the last.
    bool next(HistoryDraw& draw);

  private:
    LineScanner scanner_;
    std::size_t line_ = 0;
};

// What a history is as a whole, from one pass over it. The lines that are
// kept run up to the end of the last line that is not blank: empty lines at
// the end go.
struct History {
    std::string_view bytes;
    std::size_t draws = 0;  // lines that begin with a draw number
    std::size_t keptEnd = 0;
    bool lastEnded = true;  // the last kept line has its line end
    std::string eol;        // as the first line ends; CR LF for a file of one line
    TextLine lastLine;      // the last line that is not blank, if any
    std::size_t lastLineNumber = 0;
    std::uint64_t lastNumber = 0;  // the highest draw number, 0 when none
    // The first draw numbered no higher than the one before it, where ordered is false.
    bool ordered = true;
    HistoryDraw unordered;

    explicit History(std::string_view text);
};

// The draw lines of a download, and what else it holds.
struct Download {
    std::string_view text;
    std::size_t draws = 0;
    bool ascending = true;              // draw numbers never fall from line to line
    std::uint64_t first = 0, last = 0;  // the lowest and highest draw number
    Listed letters;                     // line numbers of lines with letters
    Listed strays;                      // lines with digits that are no draw
    std::map<int, std::size_t> counts;  // numbers a draw -> draws
    // A last line without its line end may have been cut in the middle of a
    // number: its line number (0: none), and the line. inOrder passes it over.
    std::size_t cutLine = 0;
    std::string_view cutText;

    explicit Download(std::string_view bytes);

    // Calls visit(draw, line number) for each draw but the cut one, by
    // ascending draw number (equal ones in file order), until it returns false.
    template <class Visit>
    void inOrder(Visit visit) const {
        struct Entry {
            std::uint64_t number;
            std::size_t line, begin;
        };
        std::vector<Entry> entries;  // only for a download that is not in order
        LineScanner scanner(text);
        std::size_t number = 0;
        for (TextLine line; scanner.next(line);) {
            ++number;
            DrawLine draw = DrawLine::read(line.text);
            if (draw.kind != DrawLine::Draw || number == cutLine) continue;
            if (!ascending)
                entries.push_back({draw.number, number, line.begin});
            else if (!visit(draw, number))
                return;
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.number < b.number; });
        for (const Entry& entry : entries) {
            TextLine line;
            LineScanner(text.substr(entry.begin)).next(line);
            DrawLine draw = DrawLine::read(line.text);
            if (!visit(draw, entry.line)) return;
        }
    }
};

// The count of numbers most draws of the download have.
int usualCount(const Download& download);
// The game whose draws have so many numbers, or nullptr.
const GameRow* gameWithCount(int numbers);
// "po 20 liczb"
std::string numbersEach(int n);

extern const char kNoDraws[];

}  // namespace zestawy::update
