// Turning found sets into the text of an answer, fast.
//
// A search can find tens of millions of sets; their text is written straight
// into one growing buffer, each number by a table, never through a stream.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "combinatorics/number_mask.hpp"

namespace zestawy {

// A printf-style format for the numbers of one set, e.g. "%d, %d, %d". Only
// the conversions "%d" and "% d" (a blank in place of the sign of a number
// that is not negative) and "%%" are understood; everything else is copied as
// it stands.
class SetFormat {
  public:
    explicit SetFormat(std::string_view printfFormat);

    // How many numbers one set gives to the format.
    int conversions() const { return conversions_; }
    // The characters of the format that are not conversions.
    std::size_t literalLength() const { return literalLength_; }
    // The most characters that write() can produce.
    std::size_t maxLength() const { return literalLength_ + 12 * conversions_; }
    // Writes numbers[0 .. conversions()) at out, which has room for maxLength();
    // returns the end of what was written.
    char* write(char* out, const int* numbers) const;

  private:
    // Pieces alternate: literal text, then a conversion, and so on.
    std::string literals_;   // every literal, each followed by '\0'
    std::string blankFlag_;  // per conversion: 1 for "% d"
    int conversions_ = 0;
    std::size_t literalLength_ = 0;
};

// Writes the decimal text of v at out; returns the end.
char* writeNumber(char* out, int v);

// Writes sets of the numbers 1..999 as lines "3, 17, 22\n", fast: the sets of a
// lexicographic walk mostly share all but their last number with the set
// before, so the text of that common part is kept and copied whole.
class SetLines {
  public:
    // REQUIRES separator and end of at most 3 characters.
    SetLines(std::string_view separator, std::string_view end);
    // The room that write() needs at out for a line of n numbers: the line
    // itself and some slack that fixed-size copies may overwrite.
    static constexpr std::size_t maxLength(int n) { return 8 * static_cast<std::size_t>(n) + 72; }
    // Writes the line of numbers[0 .. n) at out; returns its end.
    // REQUIRES 1 <= n <= 16, every number in 1..999, maxLength(n) bytes of room.
    char* write(char* out, const int* numbers, int n) {
        const int head = n - 1;
        bool same = prefixNumbers_ == head;
        for (int i = 0; same && i < head; ++i) same = prefix_[i] == numbers[i];
        if (!same) setPrefix(numbers, head);
        return writeAfterPrefix(out, numbers[head]);
    }
    // The lines of sets that share their first n - 1 numbers: the prefix is
    // set once, then each line is written with its last number.
    // REQUIRES as for write; at most 16 numbers in the prefix.
    void setPrefix(const int* numbers, int head);
    char* writeAfterPrefix(char* out, int last) const {
        // A fixed-size copy is one or two vector moves; the bytes past the
        // prefix are overwritten next or lie in the slack.
        if (prefixLength_ <= 32)
            std::memcpy(out, prefixText_, 32);
        else if (prefixLength_ <= 64)
            std::memcpy(out, prefixText_, 64);
        else
            std::memcpy(out, prefixText_, static_cast<std::size_t>(prefixLength_));
        out += prefixLength_;
        if (last >= 1 && last <= kTableTop) {
            std::memcpy(out, lastText_[last], 8);
            return out + lastLength_[last];
        }
        out = writeNumber(out, last);
        std::memcpy(out, end_, 4);
        return out + endLength_;
    }
    // The lines of the prefix with each number of `last` in turn, ascending,
    // written until `last` is empty or the text reaches `full`; the numbers
    // written are taken out of `last`. Returns the end of the text.
    // REQUIRES setPrefix called, maxLength bytes of room past full.
    char* writeGroup(char* out, const char* full, NumberMask& last) const {
        if (prefixLength_ > 32) {
            for (; !last.empty() && out < full; last.removeLowest())
                out = writeAfterPrefix(out, last.lowest());
            return out;
        }
        // The prefix in a local, which the writes through out cannot touch,
        // stays in registers for the whole group.
        char prefix[32];
        std::memcpy(prefix, prefixText_, 32);
        const int length = prefixLength_;
        for (int w = 0; w < 2; ++w) {
            std::uint64_t bits = last.word[w];
            for (; bits && out < full; bits &= bits - 1) {
                const int v = __builtin_ctzll(bits) + 1 + 64 * w;
                std::memcpy(out, prefix, 32);
                out += length;
                std::memcpy(out, lastText_[v], 8);
                out += lastLength_[v];
            }
            last.word[w] = bits;
        }
        return out;
    }

  private:
    // The text of each last number up to kTableTop with the line's end, ready
    // to be copied whole.
    static constexpr int kTableTop = 128;
    char lastText_[kTableTop + 1][8] = {};
    int lastLength_[kTableTop + 1] = {};

    char separator_[4] = {}, end_[4] = {};
    int separatorLength_, endLength_;
    int prefix_[16] = {};
    int starts_[16] = {};     // where each number's text starts in prefixText_
    int prefixNumbers_ = -1;  // how many numbers prefixText_ holds; -1: none yet
    char prefixText_[128] = {};
    int prefixLength_ = 0;
};

// A growing character buffer that hands out room at its end. It grows by
// realloc, which for large blocks can move pages instead of copying them, so a
// text of hundreds of megabytes is built without holding it twice.
class TextBuffer {
  public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer() { std::free(data_); }

    // Room for n more characters at the end; write them, then call commit()
    // with the end of what was written. Throws std::bad_alloc when memory runs out.
    char* room(std::size_t n);
    void commit(char* end) { size_ = static_cast<std::size_t>(end - data_); }

    void append(std::string_view text);
    void truncate(std::size_t size) {
        if (size < size_) size_ = size;
    }
    void clear() { size_ = 0; }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view view() const { return {data_, size_}; }
    // The text followed by a terminating zero.
    const char* c_str();

  private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// How an answer lays out the sets it lists.
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

// Receives the sets a search finds, in order, and writes them as answer text
// at the end of a buffer.
class AnswerWriter {
  public:
    // format: printf-style, one set (nullptr for FreeLength). For Joined,
    // Terminated and Concatenated it must be numbers between one separator of
    // at most 3 characters, then an end of at most 3 ("%d, %d" or
    // "%d, %d\r\n"); throws std::invalid_argument otherwise.
    // notFound: the whole answer when no set is put.
    AnswerWriter(Layout layout, const char* format, const char* notFound, TextBuffer& out);

    // Adds one found set; count numbers ascending (for the list layouts in
    // 1..999, as many as the format has conversions). Returns false when the
    // layout needs no more sets, so the search can stop.
    bool put(const int* numbers, int count);

    // Writes the not-found sentence if no set was put. Call once, at the end.
    void finish();

    // Called whenever the text has grown past `threshold` characters, with the
    // buffer, which it may empty (a stream to a file); returns false to stop
    // the search. Unset by default.
    void setFlush(std::size_t threshold, std::function<bool(TextBuffer&)> flush) {
        flushThreshold_ = threshold;
        flush_ = std::move(flush);
    }

    // For a search that may run long before it puts a set: flushes what is
    // written so far and says whether the search is to go on (always, with
    // no flush set).
    bool keepGoing() { return !flush_ || flush_(out_); }

  private:
    Layout layout_;
    const char* notFound_;
    TextBuffer& out_;
    SetFormat format_;
    std::optional<SetLines> lines_;  // the writer of the list layouts
    std::size_t start_;
    std::size_t sets_ = 0;
    std::size_t flushThreshold_ = 0;
    std::function<bool(TextBuffer&)> flush_;
};

}  // namespace zestawy
