#include "commands/search_command.hpp"

#include <algorithm>
#include <cstring>

#include "search/engine.hpp"
#include "search/lotto_four_five.hpp"
#include "search/lotto_small.hpp"
#include "search/mini_lotto.hpp"
#include "search/multi_four_five.hpp"
#include "search/multi_random.hpp"
#include "search/multi_six_to_eight.hpp"
#include "search/multi_small.hpp"

namespace zestawy {

namespace {

// Adapters from each shape of search result to the answer writer. A result
// that means "nothing found" (0, an empty vector, an all-zero key) puts no set.

template <auto search>
void numberResult(const DrawList& draws, AnswerWriter& out) {
    const int number = search(draws);
    if (number != 0) out.put(&number, 1);
}

template <auto search>
void setResult(const DrawList& draws, AnswerWriter& out) {
    const std::vector<int> set = search(draws);
    if (!set.empty()) out.put(set.data(), static_cast<int>(set.size()));
}

template <auto search>
void keyResult(const DrawList& draws, AnswerWriter& out) {
    const auto key = search(draws);
    if (!key.allZero()) out.put(key.n, key.size);
}

template <auto search>
void listResult(const DrawList& draws, AnswerWriter& out) {
    for (const std::vector<int>& set : search(draws))
        if (!out.put(set.data(), static_cast<int>(set.size()))) break;
}

// The exhaustive list searches stream their sets from the engine, so that no
// command ever holds millions of vectors and a layout that shows only the
// first sets stops the walk early.
void neverDrawn(const DrawList& draws, AnswerWriter& out) {
    const NeverDrawnQuery& query = out.command().sets;
    forEachNeverDrawn(draws, query, [&](const int* set) { return out.put(set, query.setSize); });
}

// The random searches with their bound on draws left at its default.
std::vector<std::vector<int>> randomNines(const DrawList& draws) {
    return findTenNeverAppearedNine6from9_Hash(draws);
}
std::vector<std::vector<int>> randomTens(const DrawList& draws) {
    return findFiveNeverAppearedTen7from10(draws);
}

using G = Game;
using L = Layout;

}  // namespace

// clang-format off
const SearchCommand kSearchCommands[] = {
    // Multi Multi, numbers 1..80.
    {1, G::MultiMulti, "Wyszukaj 2", kWholeBox, setResult<findNeverAppearedPair>, L::Single,
     "%d, %d", "Wszystkie pary wystąpiły.", {2, 2, 80}},
    {2, G::MultiMulti, "Wyszukaj 2 z 3", kWholeBox, keyResult<findNeverAppearedTripleFromPairs>,
     L::Single, "%d, %d, %d", "Wszystkie pary w trójkach wystąpiły.", {3, 2, 80}},
    {3, G::MultiMulti, "Wyszukaj 3", kWholeBox, setResult<findNeverAppearedTripleInFlight>,
     L::Single, "%d, %d, %d", "Wszystkie możliwe trójki wystąpiły.", {0, 0, 0}},
    {4, G::MultiMulti, "Wyszukaj 3 z 4", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d", "Wszystkie możliwe trójki z czwórek wystąpiły.", queries::quads3from4},
    {5, G::MultiMulti, "Wyszukaj 4", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d", "Wszystkie możliwe czwórki 4 z 4 wystąpiły.", queries::quad4from4},
    {6, G::MultiMulti, "Wyszukaj 3 z 5", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie możliwe trójki w piątkach wystąpiły.", queries::quintuple3from5},
    {7, G::MultiMulti, "Wyszukaj 4 z 5", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie możliwe czwórki z piątek wystąpiły.", queries::quint4from5},
    {16, G::MultiMulti, "Wyszukaj 5 z 5", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie możliwe piątki 5 z 80 wystąpiły.", queries::quintuple5from80},
    {8, G::MultiMulti, "Wyszukaj 4 z 6", kWholeBox, neverDrawn, L::Terminated,
     "%d, %d, %d, %d, %d, %d", "Wszystkie możliwe czwórki z szóstek wystąpiły.", queries::sextuple4from6},
    {9, G::MultiMulti, "Wyszukaj 5 z 6", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d, %d, %d", "Wszystkie możliwe piątki z szóstek wystąpiły.", queries::sextuple5from6},
    {10, G::MultiMulti, "Wyszukaj 5 z 7", kWholeBox, neverDrawn, L::FreeLength,
     nullptr, "Wszystkie piątki w siódemkach wystąpiły.", queries::sevens5from7},
    {11, G::MultiMulti, "Wyszukaj 5 z 8", kWholeBox, neverDrawn, L::FirstOnly,
     "%d, %d, %d, %d, %d, %d, %d, %d", "Wszystkie piątki w ósemkach wystąpiły.", queries::octs5from8},
    {41, G::MultiMulti, "Wyszukaj 6 z 9", 9000, listResult<randomNines>, L::Joined,
     "%d, %d, %d, %d, %d, %d, %d, %d, %d", "Wszystkie możliwe szóstki z dziewiątek wystąpiły.",
     {0, 0, 0}},
    {42, G::MultiMulti, "Wyszukaj 7 z 10", 9000, listResult<randomTens>, L::Joined,
     "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", "Nie znaleziono w limicie prób.", {0, 0, 0}},
    // Mini Lotto, numbers 1..42.
    {20, G::MiniLotto, "Wyszukaj 1", kWholeBox, numberResult<findNeverAppearedSingle_1_42>,
     L::Single, "%d", "Wszystkie liczby wystąpiły.", {1, 1, 42}},
    {21, G::MiniLotto, "Wyszukaj 2", kWholeBox, neverDrawn, L::Concatenated,
     "%d, %d\r\n", "Wszystkie pary wystąpiły.", queries::pairs42},
    {22, G::MiniLotto, "Wyszukaj 2 z 3", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d", "Wszystkie trójki wystąpiły.", queries::triple2from3_42},
    {23, G::MiniLotto, "Wyszukaj 3 z 4", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d", "Wszystkie czwórki wystąpiły.", queries::quad3from4_42},
    {24, G::MiniLotto, "Wyszukaj 3 z 5", kWholeBox, neverDrawn, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie piątki 1–42 zawierają trójki, które już wystąpiły.",
     queries::quintuple3from5_42},
    // Lotto, numbers 1..49.
    {30, G::Lotto, "Wyszukaj 1", kWholeBox, numberResult<findNeverAppearedSingle_1_49>, L::Single,
     "%d", "Wszystkie liczby wystąpiły.", {1, 1, 49}},
    {31, G::Lotto, "Wyszukaj 2", kWholeBox, keyResult<findNeverAppearedPair_1_49>, L::Single,
     "%d, %d", "Wszystkie pary wystąpiły.", {2, 2, 49}},
    {32, G::Lotto, "Wyszukaj 2 z 3", kWholeBox, keyResult<findNeverAppearedTripleFromPairs_1_49>,
     L::Single, "%d, %d, %d", "Wszystkie trójki wystąpiły.", {3, 2, 49}},
    {33, G::Lotto, "Wyszukaj 3", kWholeBox, keyResult<findNeverAppearedTriple_1_49>, L::Single,
     "%d,%d,%d", "Wszystkie trójki wystąpiły.", {3, 3, 49}},
    {34, G::Lotto, "Wyszukaj 3 z 4", kWholeBox, keyResult<findNeverAppearedQuadrupleFromTriples_1_49>,
     L::Single, "%d, %d, %d, %d", "Nie znaleziono: wszystkie czwórki z nowymi trójkami wystąpiły.",
     {4, 3, 49}},
    {35, G::Lotto, "Wyszukaj 3 z 5", kWholeBox, keyResult<findNeverAppearedQuintupleFromTriples_1_49>,
     L::Single, "%d, %d, %d,% d, %d", "Nie znaleziono: wszystkie piątki z nowymi trójkami wystąpiły.",
     {5, 3, 49}},
};
// clang-format on
const std::size_t kSearchCommandCount = sizeof kSearchCommands / sizeof kSearchCommands[0];

const SearchCommand* findSearchCommand(int id) {
    for (const SearchCommand& command : kSearchCommands)
        if (command.id == id) return &command;
    return nullptr;
}

namespace {

// The separator and end of a format that is nothing but numbers between one
// separator, then an end ("%d, %d, %d" or "%d, %d\r\n"); false for any other.
bool uniformFormat(std::string_view format, std::string& separator, std::string& end) {
    std::vector<std::string_view> pieces;
    for (std::size_t at = 0;;) {
        const std::size_t next = format.find("%d", at);
        pieces.push_back(format.substr(at, next == std::string_view::npos ? next : next - at));
        if (next == std::string_view::npos) break;
        at = next + 2;
    }
    if (pieces.size() < 2 || !pieces.front().empty() || pieces.back().size() > 3) return false;
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i)
        if (pieces[i] != pieces[1] || pieces[i].size() > 3) return false;
    for (std::string_view piece : pieces)
        if (piece.find('%') != std::string_view::npos) return false;
    separator = pieces.size() > 2 ? std::string(pieces[1]) : "";
    end = std::string(pieces.back());
    return true;
}

}  // namespace

AnswerWriter::AnswerWriter(const SearchCommand& command, TextBuffer& out)
    : command_(command),
      out_(out),
      format_(command.format ? command.format : ""),
      start_(out.size()) {
    const Layout layout = command.layout;
    std::string separator, end;
    if ((layout == Layout::Joined || layout == Layout::Terminated ||
         layout == Layout::Concatenated) &&
        command.format && uniformFormat(command.format, separator, end)) {
        if (layout == Layout::Terminated) end += "\r\n";
        if (end.size() <= 3) lines_.emplace(separator, end);
    }
}

bool AnswerWriter::put(const int* numbers, int count) {
    ++sets_;
    switch (command_.layout) {
        case Layout::Single:
        case Layout::FirstOnly:
            out_.commit(format_.write(out_.room(format_.maxLength()), numbers));
            return false;
        case Layout::Joined: {
            if (lines_ && count == format_.conversions()) {
                char* p = out_.room(SetLines::maxLength(count) + 2);
                if (sets_ > 1) {
                    *p++ = '\r';
                    *p++ = '\n';
                }
                out_.commit(lines_->write(p, numbers, count));
                break;
            }
            char* p = out_.room(format_.maxLength() + 2);
            if (sets_ > 1) {
                *p++ = '\r';
                *p++ = '\n';
            }
            out_.commit(format_.write(p, numbers));
            break;
        }
        case Layout::Terminated: {
            if (lines_ && count == format_.conversions()) {
                out_.commit(lines_->write(out_.room(SetLines::maxLength(count)), numbers, count));
                break;
            }
            char* p = format_.write(out_.room(format_.maxLength() + 2), numbers);
            *p++ = '\r';
            *p++ = '\n';
            out_.commit(p);
            break;
        }
        case Layout::Concatenated:
            if (lines_ && count == format_.conversions())
                out_.commit(lines_->write(out_.room(SetLines::maxLength(count)), numbers, count));
            else
                out_.commit(format_.write(out_.room(format_.maxLength()), numbers));
            break;
        case Layout::FreeLength: {
            char* p = out_.room(14 * static_cast<std::size_t>(count) + 2);
            for (int i = 0; i < count; ++i) {
                if (i > 0) {
                    *p++ = ',';
                    *p++ = ' ';
                }
                p = writeNumber(p, numbers[i]);
            }
            *p++ = '\r';
            *p++ = '\n';
            out_.commit(p);
            if (out_.size() - start_ >= kFreeLengthLimit) {
                out_.truncate(start_ + kFreeLengthLimit);
                return false;
            }
            break;
        }
    }
    if (flush_ && out_.size() >= flushThreshold_) {
        start_ = 0;
        return flush_(out_);
    }
    return true;
}

void AnswerWriter::finish() {
    if (sets_ == 0) out_.append(command_.notFound);
}

std::string_view readNumbersBox(std::string_view box, int capacity) {
    const std::size_t limit = capacity > 0 ? static_cast<std::size_t>(capacity) - 1 : 0;
    if (box.size() <= limit) return box;
    std::string_view read = box.substr(0, limit);
    // Whole when the cut falls at a line break; otherwise drop the broken line.
    const char next = box[limit];
    if (next == '\n' || next == '\r' || (!read.empty() && read.back() == '\n')) return read;
    const std::size_t lastBreak = read.rfind('\n');
    return lastBreak == std::string_view::npos ? std::string_view{} : read.substr(0, lastBreak + 1);
}

DrawList splitDrawList(std::string_view text) {
    DrawList lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

DrawList drawsOf(const SearchCommand& command, std::string_view numbersBox) {
    return splitDrawList(readNumbersBox(numbersBox, command.readCapacity));
}

void writeAnswer(const SearchCommand& command, const DrawList& draws, TextBuffer& out) {
    AnswerWriter writer(command, out);
    command.search(draws, writer);
    writer.finish();
}

void writeAnswer(const SearchCommand& command, std::string_view numbersBox, TextBuffer& out) {
    writeAnswer(command, drawsOf(command, numbersBox), out);
}

bool streamAnswer(const SearchCommand& command, const DrawList& draws,
                  const std::function<bool(std::string_view)>& write) {
    constexpr std::size_t kPiece = 1 << 20;
    TextBuffer piece;
    bool written = true;
    AnswerWriter writer(command, piece);
    writer.setFlush(kPiece, [&](TextBuffer& text) {
        written = write(text.view());
        text.clear();
        return written;
    });
    command.search(draws, writer);
    if (!written) return false;
    writer.finish();
    return piece.empty() || write(piece.view());
}

bool listsEverySet(const SearchCommand& command) {
    const Layout layout = command.layout;
    return command.sets.setSize > 0 && command.search == neverDrawn &&
           (layout == Layout::Joined || layout == Layout::Terminated ||
            layout == Layout::Concatenated);
}

AnswerSize measureAnswer(const SearchCommand& command, const DrawList& draws) {
    const NeverDrawnQuery& query = command.sets;
    // Every list format is the numbers by "%d" between fixed separators, so a
    // line is its numbers' digits plus the format's other characters.
    const bool lineBreaks =
        command.layout == Layout::Joined || command.layout == Layout::Terminated;
    const std::uint64_t perLine = SetFormat(command.format).literalLength() + (lineBreaks ? 2 : 0);
    const NumberMask twoDigits = NumberMask::upTo(99) & NumberMask::above(9);
    const NumberMask threeDigits = NumberMask::above(99);
    AnswerSize size;
    forEachNeverDrawnGroup(draws, query, [&](const int* prefix, const NumberMask& last) {
        std::uint64_t prefixDigits = 0;
        for (int i = 0; i + 1 < query.setSize; ++i)
            prefixDigits += 1 + (prefix[i] >= 10) + (prefix[i] >= 100);
        const auto sets = static_cast<std::uint64_t>(last.count());
        size.sets += sets;
        size.bytes += sets * (prefixDigits + perLine + 1) + (last & twoDigits).count() +
                      2 * static_cast<std::uint64_t>((last & threeDigits).count());
        return true;
    });
    if (size.sets == 0) return {0, std::strlen(command.notFound)};
    if (command.layout == Layout::Joined) size.bytes -= 2;  // no line break after the last
    return size;
}

void appendToResults(std::string& results, std::string_view answer) {
    if (!results.empty()) results += "\r\n";
    results += answer;
}

std::string runSearchCommand(const SearchCommand& command, std::string_view numbersBox,
                             std::string_view resultsBox) {
    TextBuffer answer;
    writeAnswer(command, numbersBox, answer);
    std::string results(resultsBox);
    appendToResults(results, answer.view());
    return results;
}

}  // namespace zestawy
