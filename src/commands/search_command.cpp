#include "commands/search_command.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "search/engine.hpp"
#include "search/multi_random.hpp"
#include "search/shared_walk.hpp"

namespace zestawy {

namespace {

void putAll(const std::vector<std::vector<int>>& sets, AnswerWriter& out) {
    for (const std::vector<int>& set : sets)
        if (!out.put(set.data(), static_cast<int>(set.size()))) break;
}

// The random searches, with their bound on draws left at its default.
void randomTriple(const DrawList& draws, AnswerWriter& out) {
    const std::vector<int> set = findNeverAppearedTripleInFlight(draws);
    if (!set.empty()) out.put(set.data(), static_cast<int>(set.size()));
}
// (The nines and tens can draw for seconds before their first set.)
void randomNines(const DrawList& draws, AnswerWriter& out) {
    putAll(findTenNeverAppearedNine6from9_Hash(draws, kMaxRandomDraws,
                                               [&out] { return out.keepGoing(); }),
           out);
}
void randomTens(const DrawList& draws, AnswerWriter& out) {
    putAll(
        findTenNeverAppearedTen7from10(draws, kMaxRandomDraws, [&out] { return out.keepGoing(); }),
        out);
}

using G = Game;
using L = Layout;
constexpr NeverDrawnQuery kRandom{0, 0, 0};

}  // namespace

// clang-format off
// The largest number of each game, from its row.
constexpr int kMultiTop = kMultiRules.maxNumber, kMiniTop = kMiniRules.maxNumber,
              kLottoTop = kLottoRules.maxNumber;

const SearchCommand kSearchCommands[] = {
    // Multi Multi, numbers 1..80.
    {kMulti2, G::MultiMulti, "Wyszukaj 2", {2, 2, kMultiTop}, nullptr, L::Single,
     "%d, %d", "Wszystkie pary wystąpiły."},
    {kMulti2z3, G::MultiMulti, "Wyszukaj 2 z 3", {2, 3, kMultiTop}, nullptr, L::Single,
     "%d, %d, %d", "Wszystkie pary w trójkach wystąpiły."},
    {kMulti3, G::MultiMulti, "Wyszukaj 3", kRandom, randomTriple, L::Single,
     "%d, %d, %d", "Wszystkie możliwe trójki wystąpiły."},
    {kMulti3z4, G::MultiMulti, "Wyszukaj 3 z 4", {3, 4, kMultiTop}, nullptr, L::Joined,
     "%d, %d, %d, %d", "Wszystkie możliwe trójki z czwórek wystąpiły."},
    {kMulti4, G::MultiMulti, "Wyszukaj 4", {4, 4, kMultiTop}, nullptr, L::Joined,
     "%d, %d, %d, %d", "Wszystkie możliwe czwórki 4 z 4 wystąpiły."},
    {kMulti3z5, G::MultiMulti, "Wyszukaj 3 z 5", {3, 5, kMultiTop}, nullptr, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie możliwe trójki w piątkach wystąpiły."},
    {kMulti4z5, G::MultiMulti, "Wyszukaj 4 z 5", {4, 5, kMultiTop}, nullptr, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie możliwe czwórki z piątek wystąpiły."},
    {kMulti5z5, G::MultiMulti, "Wyszukaj 5 z 5", {5, 5, kMultiTop}, nullptr, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie możliwe piątki 5 z 80 wystąpiły."},
    {kMulti4z6, G::MultiMulti, "Wyszukaj 4 z 6", {4, 6, kMultiTop}, nullptr, L::Terminated,
     "%d, %d, %d, %d, %d, %d", "Wszystkie możliwe czwórki z szóstek wystąpiły."},
    {kMulti5z6, G::MultiMulti, "Wyszukaj 5 z 6", {5, 6, kMultiTop}, nullptr, L::Joined,
     "%d, %d, %d, %d, %d, %d", "Wszystkie możliwe piątki z szóstek wystąpiły."},
    {kMulti5z7, G::MultiMulti, "Wyszukaj 5 z 7", {5, 7, kMultiTop}, nullptr, L::FreeLength,
     nullptr, "Wszystkie piątki w siódemkach wystąpiły."},
    {kMulti5z8, G::MultiMulti, "Wyszukaj 5 z 8", {5, 8, kMultiTop}, nullptr, L::FirstOnly,
     "%d, %d, %d, %d, %d, %d, %d, %d", "Wszystkie piątki w ósemkach wystąpiły."},
    {kMulti6z9, G::MultiMulti, "Wyszukaj 6 z 9", kRandom, randomNines, L::Joined,
     "%d, %d, %d, %d, %d, %d, %d, %d, %d", "Wszystkie możliwe szóstki z dziewiątek wystąpiły."},
    {kMulti7z10, G::MultiMulti, "Wyszukaj 7 z 10", kRandom, randomTens, L::Joined,
     "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", "Nie znaleziono w limicie prób."},
    // Mini Lotto, numbers 1..42.
    {kMini1, G::MiniLotto, "Wyszukaj 1", {1, 1, kMiniTop}, nullptr, L::Single,
     "%d", "Wszystkie liczby wystąpiły."},
    {kMini2, G::MiniLotto, "Wyszukaj 2", {2, 2, kMiniTop}, nullptr, L::Concatenated,
     "%d, %d\r\n", "Wszystkie pary wystąpiły."},
    {kMini2z3, G::MiniLotto, "Wyszukaj 2 z 3", {2, 3, kMiniTop}, nullptr, L::Joined,
     "%d, %d, %d", "Wszystkie trójki wystąpiły."},
    {kMini3z4, G::MiniLotto, "Wyszukaj 3 z 4", {3, 4, kMiniTop}, nullptr, L::Joined,
     "%d, %d, %d, %d", "Wszystkie czwórki wystąpiły."},
    {kMini3z5, G::MiniLotto, "Wyszukaj 3 z 5", {3, 5, kMiniTop}, nullptr, L::Joined,
     "%d, %d, %d, %d, %d", "Wszystkie piątki 1–42 zawierają trójki, które już wystąpiły."},
    // Lotto, numbers 1..49.
    {kLotto1, G::Lotto, "Wyszukaj 1", {1, 1, kLottoTop}, nullptr, L::Single,
     "%d", "Wszystkie liczby wystąpiły."},
    {kLotto2, G::Lotto, "Wyszukaj 2", {2, 2, kLottoTop}, nullptr, L::Single,
     "%d, %d", "Wszystkie pary wystąpiły."},
    {kLotto2z3, G::Lotto, "Wyszukaj 2 z 3", {2, 3, kLottoTop}, nullptr, L::Single,
     "%d, %d, %d", "Wszystkie trójki wystąpiły."},
    {kLotto3, G::Lotto, "Wyszukaj 3", {3, 3, kLottoTop}, nullptr, L::Single,
     "%d,%d,%d", "Wszystkie trójki wystąpiły."},
    {kLotto3z4, G::Lotto, "Wyszukaj 3 z 4", {3, 4, kLottoTop}, nullptr, L::Single,
     "%d, %d, %d, %d", "Nie znaleziono: wszystkie czwórki z nowymi trójkami wystąpiły."},
    {kLotto3z5, G::Lotto, "Wyszukaj 3 z 5", {3, 5, kLottoTop}, nullptr, L::Single,
     "%d, %d, %d,% d, %d", "Nie znaleziono: wszystkie piątki z nowymi trójkami wystąpiły."},
};
// clang-format on
const std::size_t kSearchCommandCount = sizeof kSearchCommands / sizeof kSearchCommands[0];

const SearchCommand* findSearchCommand(int id) {
    for (const SearchCommand& command : kSearchCommands)
        if (command.id == id) return &command;
    return nullptr;
}

NeverDrawnQuery rankingQuery(const SearchCommand& command) {
    if (command.sets.setSize) return command.sets;
    // "Wyszukaj K" or "Wyszukaj K z N".
    int subset = 0, size = 0;
    char z = 0;
    const int read = std::sscanf(command.caption, "Wyszukaj %d %c %d", &subset, &z, &size);
    if (read == 1) size = subset;
    if ((read != 1 && (read != 3 || z != 'z')) || subset < 1 || subset > size ||
        subset > kMaxSubsetSize || size > kMaxSetSize)
        return {};
    return {subset, size, gameRow(command.game).rules.maxNumber};
}

std::vector<int> searchButtonsOf(Game game) {
    std::vector<int> ids;
    for (const SearchCommand& command : kSearchCommands)
        if (command.game == game) ids.push_back(command.id);
    return ids;
}

AnswerWriter answerWriter(const SearchCommand& command, TextBuffer& out) {
    return AnswerWriter(command.layout, command.format, command.notFound, out);
}

std::unique_ptr<const CompletionIndex> indexFor(const SearchCommand& command, const DrawList& draws,
                                                int threads) {
    if (command.random) return nullptr;
    return std::make_unique<const CompletionIndex>(
        draws, command.sets.subsetSize, command.sets.maxNumber, threads, command.sets.setSize);
}

void runSearch(const SearchCommand& command, const DrawList& draws, AnswerWriter& out, int threads,
               const CompletionIndex* index) {
    if (command.random) return command.random(draws, out);
    // The exhaustive searches stream their sets from the engine, so that no
    // command ever holds millions of vectors and a layout that shows only the
    // first sets stops the walk early.
    const int setSize = command.sets.setSize;
    auto put = [&](const int* set) { return out.put(set, setSize); };
    std::unique_ptr<const CompletionIndex> built;
    if (!index) index = (built = indexFor(command, draws, threads)).get();
    Sharing sharing;
    sharing.threads = threads;
    forEachNeverDrawn(*index, command.sets, sharing, put);
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

void writeAnswer(const SearchCommand& command, const DrawList& draws, TextBuffer& out, int threads,
                 const CompletionIndex* index) {
    AnswerWriter writer = answerWriter(command, out);
    runSearch(command, draws, writer, threads, index);
    writer.finish();
}

void writeAnswer(const SearchCommand& command, std::string_view numbersBox, TextBuffer& out,
                 int threads) {
    writeAnswer(command, splitDrawList(numbersBox), out, threads);
}

bool streamAnswer(const SearchCommand& command, const DrawList& draws,
                  const std::function<bool(std::string_view)>& write, int threads,
                  const CompletionIndex* index) {
    constexpr std::size_t kPiece = 1 << 20;
    TextBuffer piece;
    bool written = true;
    AnswerWriter writer = answerWriter(command, piece);
    writer.setFlush(kPiece, [&](TextBuffer& text) {
        written = write(text.view());
        text.clear();
        return written;
    });
    runSearch(command, draws, writer, threads, index);
    if (!written) return false;
    writer.finish();
    return piece.empty() || write(piece.view());
}

bool listsEverySet(const SearchCommand& command) {
    const Layout layout = command.layout;
    return command.sets.setSize > 0 && (layout == Layout::Joined || layout == Layout::Terminated ||
                                        layout == Layout::Concatenated);
}

AnswerSize measureAnswer(const SearchCommand& command, const DrawList& draws, int threads,
                         const CompletionIndex* index) {
    const NeverDrawnQuery& query = command.sets;
    // Every list format is the numbers by "%d" between fixed separators, so a
    // line is its numbers' digits plus the format's other characters.
    const bool lineBreaks =
        command.layout == Layout::Joined || command.layout == Layout::Terminated;
    const std::uint64_t perLine = SetFormat(command.format).literalLength() + (lineBreaks ? 2 : 0);
    const NumberMask twoDigits = NumberMask::upTo(99) & NumberMask::above(9);
    const NumberMask threeDigits = NumberMask::above(99);
    // Each thread adds up its own parts; the sums are added at the end.
    std::vector<AnswerSize> sums(static_cast<std::size_t>(std::clamp(threads, 1, kMaxWalkThreads)));
    std::unique_ptr<const CompletionIndex> built;
    if (!index) index = (built = indexFor(command, draws, threads)).get();
    Sharing sharing;
    sharing.threads = threads;
    shareFirstNumbers(query.maxNumber, sharing, [&](int worker, int first, WalkStop& stop) {
        AnswerSize& sum = sums[static_cast<std::size_t>(worker)];
        NumberMask only;
        only.set(first);
        auto measure = [&](const int* prefix, const NumberMask& last) {
            std::uint64_t prefixDigits = 0;
            for (int i = 0; i + 1 < query.setSize; ++i)
                prefixDigits += 1 + (prefix[i] >= 10) + (prefix[i] >= 100);
            const auto sets = static_cast<std::uint64_t>(last.count());
            sum.sets += sets;
            sum.bytes += sets * (prefixDigits + perLine + 1) + (last & twoDigits).count() +
                         2 * static_cast<std::uint64_t>((last & threeDigits).count());
            return true;
        };
        forEachNeverDrawn(*index, query, only, measure, &stop);
    });
    AnswerSize size;
    for (const AnswerSize& sum : sums) {
        size.sets += sum.sets;
        size.bytes += sum.bytes;
    }
    if (size.sets == 0) return {0, std::strlen(command.notFound)};
    if (command.layout == Layout::Joined) size.bytes -= 2;  // no line break after the last
    return size;
}

}  // namespace zestawy
