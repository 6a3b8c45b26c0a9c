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

History::History(std::string_view text, const DrawRules& rules) : bytes(text), eol(eolOf(text)) {
    keptEnd = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    LineScanner scanner(text);
    std::size_t number = 0;
    for (TextLine line; scanner.next(line);) {
        ++number;
        DrawLine draw = DrawLine::read(line.text);
        if (draw.kind != DrawLine::Blank) {
            keptEnd = line.end;
            lastEnded = text[line.end - 1] == '\n' || text[line.end - 1] == '\r';
            lastLine = line;
            lastLineNumber = number;
        }
        // A draw with a note is a draw the merge must not pass by.
        const std::uint64_t noted = draw.kind == DrawLine::Letters ? leadingNumber(draw.text) : 0;
        if (draw.numberText.empty() && noted == 0) continue;
        draws.push_back({noted ? noted : draw.number, number, line.begin, line.text});
        if (draw.valid(rules)) byContent.emplace(draw.contentKey(), draws.size() - 1);
    }
    for (std::size_t i = 1; i < draws.size() && !unordered; ++i)
        if (draws[i].number <= draws[i - 1].number) unordered = &draws[i];
    byNumber.resize(draws.size());
    for (std::size_t i = 0; i < draws.size(); ++i) byNumber[i] = i;
    if (unordered)
        std::stable_sort(byNumber.begin(), byNumber.end(), [&](std::size_t a, std::size_t b) {
            return draws[a].number < draws[b].number;
        });
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
