#include "commands/update_scan.hpp"

#include <algorithm>

#include "history/polish.hpp"

namespace zestawy::update {

std::string count(std::size_t n, const char* one, const char* few, const char* many) {
    return std::to_string(n) + " " + nounForm(n, one, few, many);
}

// Shown in a message: at most 120 bytes of a line, never half a UTF-8 letter.
std::string quoted(std::string_view line) {
    std::size_t cut = std::min<std::size_t>(line.size(), 120);
    while (cut < line.size() && cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
        --cut;
    return "„" + std::string(line.substr(0, cut)) + (cut < line.size() ? "…" : "") + "”";
}

std::string range(std::uint64_t from, std::uint64_t to) {
    return std::to_string(from) + (from == to ? "" : "–" + std::to_string(to));
}

namespace {

// Line ends as the first line has them; CR LF for a file of one line.
std::string eolOf(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    return end == std::string_view::npos       ? "\r\n"
           : text[end] == '\n'                 ? "\n"
           : text.compare(end, 2, "\r\n") == 0 ? "\r\n"
                                               : "\r";
}

// The draw number a line with letters begins with, "7300." (at most 9 digits
// after its zeros, not 0), or 0 when it begins with none.
std::uint64_t leadingNumber(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits == 0 || digits == text.size() || text[digits] != '.') return 0;
    return DrawLine::read(text.substr(0, digits)).number;
}

}  // namespace

namespace {

// The draw a history line begins with, if any: a draw, or one with a note,
// which the merge must not pass by either.
bool drawOfLine(const DrawLine& read, std::size_t number, const TextLine& line, HistoryDraw& draw) {
    const std::uint64_t noted = read.kind == DrawLine::Letters ? leadingNumber(read.text) : 0;
    if (read.numberText.empty() && noted == 0) return false;
    draw = {noted ? noted : read.number, number, line.begin, line.text};
    return true;
}

}  // namespace

bool HistoryCursor::next(HistoryDraw& draw) {
    for (TextLine line; scanner_.next(line);)
        if (drawOfLine(DrawLine::read(line.text), ++line_, line, draw)) return true;
    return false;
}

History::History(std::string_view text) : bytes(text), eol(eolOf(text)) {
    keptEnd = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    LineScanner scanner(text);
    std::size_t number = 0;
    HistoryDraw draw;
    for (TextLine line; scanner.next(line);) {
        const DrawLine read = DrawLine::read(line.text);
        ++number;
        if (read.kind != DrawLine::Blank) {
            keptEnd = line.end;
            lastEnded = text[line.end - 1] == '\n' || text[line.end - 1] == '\r';
            lastLine = line;
            lastLineNumber = number;
        }
        const std::uint64_t previous = draw.number;
        if (!drawOfLine(read, number, line, draw)) continue;
        if (draws++ > 0 && draw.number <= previous && ordered) {
            ordered = false;
            unordered = draw;
        }
        lastNumber = std::max(lastNumber, draw.number);
    }
}

Download::Download(std::string_view bytes) : text(bytes) {
    LineScanner scanner(text);
    std::size_t number = 0;
    for (TextLine line; scanner.next(line);) {
        const DrawLine draw = DrawLine::read(line.text);
        ++number;
        if (draw.kind == DrawLine::Letters) letters.add(std::to_string(number));
        if (draw.kind == DrawLine::Stray)
            strays.add("wiersz " + std::to_string(number) + ": " + quoted(draw.text) +
                       " nie jest losowaniem");
        if (draw.kind != DrawLine::Draw) continue;
        const char end = text[line.end - 1];
        ++draws;
        ++counts[draw.count];
        if (line.end == text.size() && end != '\n' && end != '\r') {
            cutLine = number;
            cutText = draw.text;
            continue;
        }
        ascending = ascending && (draws == 1 || draw.number >= last);
        first = draws == 1 ? draw.number : std::min(first, draw.number);
        last = std::max(last, draw.number);
    }
}

int usualCount(const Download& download) {
    int best = 0;
    std::size_t most = 0;
    for (const auto& [numbers, draws] : download.counts)
        if (draws > most) best = numbers, most = draws;
    return best;
}

const GameRow* gameWithCount(int numbers) {
    for (const GameRow& game : kGames)
        if (game.rules.numbersPerDraw == numbers) return &game;
    return nullptr;
}

std::string numbersEach(int n) {
    return "po " + count(static_cast<std::size_t>(n), "liczbie", "liczby", "liczb");
}

extern const char kNoDraws[];
const char kNoDraws[] =
    "W pobranym pliku nie ma żadnego losowania (wierszy „nr. data liczby” ani "
    "„nr,data,liczby”). Nic nie zapisano.";

}  // namespace zestawy::update
