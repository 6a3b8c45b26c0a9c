#include "commands/update.hpp"

#include <algorithm>
#include <map>

#include "history/check.hpp"
#include "history/history.hpp"
#include "history/polish.hpp"
#include "history/replacing_file.hpp"

namespace zestawy {

namespace {

// Conflicts or bad lines listed at most; the rest are counted.
constexpr std::size_t kListed = 10;

// One draw line of either file, in either layout.
struct Draw {
    std::size_t line = 0;  // 1-based
    unsigned long long number = 0;
    std::string date;
    std::vector<std::string> numbers;  // as written, leading zeros taken off
    std::string text;                  // the line as it stands in its file

    // The line in the history's layout, with the numbers in written order.
    std::string ownLine() const {
        std::string own = std::to_string(number) + ". " + date + " ";
        for (const std::string& n : numbers) own += n + ",";
        own.pop_back();
        return own;
    }
    // The same with ascending numbers: how a new draw is written.
    std::string sortedLine() const {
        Draw sorted = *this;
        std::sort(sorted.numbers.begin(), sorted.numbers.end(), byValue);
        return sorted.ownLine();
    }
    // Two versions of a draw agree when their dates and sets of numbers do.
    bool sameAs(const Draw& other) const {
        std::vector<std::string> mine = numbers, theirs = other.numbers;
        std::sort(mine.begin(), mine.end(), byValue);
        std::sort(theirs.begin(), theirs.end(), byValue);
        return date == other.date && mine == theirs;
    }
    // Decimal numbers without leading zeros order by length, then by text.
    static bool byValue(const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string withoutZeros(std::string_view s) {
    if (s.empty() || !std::all_of(s.begin(), s.end(), isDigit)) return std::string(s);
    const std::size_t first = s.find_first_not_of('0');
    return first == std::string_view::npos ? "0" : std::string(s.substr(first));
}

std::vector<std::string_view> fieldsOf(std::string_view s, char separator) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;; ++start) {
        const std::size_t end = s.find(separator, start);
        fields.push_back(s.substr(start, end - start));
        if (end == std::string_view::npos) return fields;
        start = end;
    }
}

// A line as a draw: "<number>. <date> n1,n2,..." or "<number>,<date>[,<time>],n1,n2,...
// [,plus]". False for a line of neither layout.
bool readDraw(std::string_view line, Draw& draw) {
    draw.text = std::string(line);
    const std::size_t digits = line.find_first_not_of("0123456789");
    // Draw numbers are far below 18 digits; a longer one is no draw of ours.
    if (digits == 0 || digits == std::string_view::npos || digits > 18) return false;
    draw.number = std::stoull(std::string(line.substr(0, digits)));
    std::vector<std::string_view> numbers;
    if (line.compare(digits, 2, ". ") == 0) {
        const std::size_t date = digits + 2, end = line.find(' ', date);
        if (end == std::string_view::npos) return false;
        draw.date = std::string(line.substr(date, end - date));
        numbers = fieldsOf(line.substr(end + 1), ',');
    } else if (line[digits] == ',') {
        std::vector<std::string_view> fields = fieldsOf(line, ',');
        for (std::string_view& field : fields) field = trimmed(field);
        if (fields.size() < 3) return false;
        draw.date = std::string(fields[1]);
        // After a time, the last field is the "Plus" number, one of the draw's.
        const bool timed = fields[2].find(':') != std::string_view::npos;
        if (fields.size() < (timed ? 5u : 3u)) return false;
        numbers.assign(fields.begin() + (timed ? 3 : 2), fields.end() - (timed ? 1 : 0));
    } else {
        return false;
    }
    draw.numbers.clear();
    for (std::string_view n : numbers) draw.numbers.push_back(withoutZeros(n));
    return true;
}

struct Lines {
    std::vector<Draw> draws;
    std::vector<Draw> strays;  // lines with digits that are no draw of either layout
};

// The draw lines of a file, BOM and line ends taken off. Lines without a
// digit (headers, blank lines) are passed over.
Lines readLines(std::string_view text) {
    const std::vector<std::string> lines = splitHistoryLines(text);
    Lines read;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (std::none_of(lines[i].begin(), lines[i].end(), isDigit)) continue;
        Draw draw;
        draw.line = i + 1;
        (readDraw(trimmed(lines[i]), draw) ? read.draws : read.strays).push_back(draw);
    }
    return read;
}

// How many numbers most of the draws have; 0 for no draws.
int usualCount(const std::vector<Draw>& draws) {
    std::map<std::size_t, std::size_t> counts;
    for (const Draw& draw : draws) ++counts[draw.numbers.size()];
    std::size_t best = 0, most = 0;
    for (const auto& [count, times] : counts)
        if (times > most) best = count, most = times;
    return static_cast<int>(best);
}

const GameRow* gameWithCount(int count) {
    for (const GameRow& game : kGames)
        if (game.rules.numbersPerDraw == count) return &game;
    return nullptr;
}

std::string count(std::size_t n, const char* one, const char* few, const char* many) {
    return std::to_string(n) + " " + nounForm(n, one, few, many);
}

std::string label(const Draw& draw) {
    return std::to_string(draw.number) + ". " + draw.date;
}

// Shown in a message: at most 120 characters of a line.
std::string quoted(const std::string& line) {
    return "„" + line.substr(0, 120) + (line.size() > 120 ? "…" : "") + "”";
}

void listSome(std::vector<std::string>& message, const std::vector<std::string>& items) {
    for (std::size_t i = 0; i < items.size() && i < kListed; ++i)
        message.push_back("  " + items[i]);
    if (items.size() > kListed)
        message.push_back("  i " + count(items.size() - kListed, "inny", "inne", "innych"));
}

// "16963–16964, 16970": the numbers missing between the history's last draw
// and the new ones, and among these.
std::string gapsBetween(unsigned long long last, const std::vector<Draw>& added) {
    std::vector<std::string> gaps;
    for (const Draw& draw : added) {
        if (last && draw.number > last + 1) {
            const unsigned long long from = last + 1, to = draw.number - 1;
            gaps.push_back(std::to_string(from) + (from == to ? "" : "–" + std::to_string(to)));
        }
        last = draw.number;
    }
    std::string text;
    for (std::size_t i = 0; i < gaps.size() && i < kListed; ++i) text += (i ? ", " : "") + gaps[i];
    if (gaps.size() > kListed) text += " i " + std::to_string(gaps.size() - kListed) + " innych";
    return text;
}

}  // namespace

const GameRow* recogniseGame(std::string_view download) {
    return gameWithCount(usualCount(readLines(download).draws));
}

UpdatePlan planUpdate(std::string_view history, std::string_view download, const GameRow& game) {
    UpdatePlan plan;
    const Lines fresh = readLines(download);
    if (fresh.draws.empty()) {
        plan.message = {
            "W pobranym pliku nie ma żadnego losowania w układzie „nr. data liczby” "
            "ani „nr,data,liczby”. Nic nie zapisano."};
        return plan;
    }
    plan.kind = UpdateKind::Refused;
    const int perDraw = game.rules.numbersPerDraw;
    if (std::none_of(fresh.draws.begin(), fresh.draws.end(),
                     [&](const Draw& d) { return d.numbers.size() == std::size_t(perDraw); })) {
        const int usual = usualCount(fresh.draws);
        const GameRow* other = gameWithCount(usual);
        plan.message = {"Pobrany plik nie zawiera losowań gry " + std::string(game.name) + " (po " +
                        std::to_string(perDraw) + " liczb): jego losowania mają po " +
                        std::to_string(usual) + " liczb" +
                        (other ? std::string(", jak w grze ") + other->name : std::string()) +
                        ". Nic nie zapisano."};
        return plan;
    }

    // The history's draws by number, and its last.
    std::map<unsigned long long, Draw> known;
    const Draw* last = nullptr;
    for (const Draw& draw : readLines(history).draws) {
        const Draw& kept = known.insert_or_assign(draw.number, draw).first->second;
        if (!last || draw.number >= last->number) last = &kept;
    }
    const unsigned long long lastNumber = last ? last->number : 0;

    std::vector<Draw> draws = fresh.draws;
    std::stable_sort(draws.begin(), draws.end(),
                     [](const Draw& a, const Draw& b) { return a.number < b.number; });
    std::vector<std::string> conflicts, bad;
    std::vector<Draw> added;
    std::size_t olderMissing = 0;
    for (const Draw& stray : fresh.strays)
        bad.push_back("wiersz " + std::to_string(stray.line) + ": " + quoted(stray.text) +
                      " nie jest losowaniem");
    for (const Draw& draw : draws) {
        const auto mine = known.find(draw.number);
        if (mine != known.end() || (!added.empty() && added.back().number == draw.number)) {
            const Draw& other = mine != known.end() ? mine->second : added.back();
            if (!draw.sameAs(other))
                conflicts.push_back("nr " + std::to_string(draw.number) + ": " +
                                    (mine != known.end() ? "w pliku wyników " : "wcześniej ") +
                                    quoted(other.text) + ", w pobranym " + quoted(draw.text));
        } else if (draw.number <= lastNumber) {
            ++olderMissing;
        } else if (const std::string why = lineProblems(draw.ownLine(), game.rules); !why.empty()) {
            bad.push_back("wiersz " + std::to_string(draw.line) + ": " + why);
        } else {
            added.push_back(draw);
        }
    }
    if (!conflicts.empty()) {
        plan.message.push_back("Pobrany plik nie zgadza się z plikiem wyników w " +
                               count(conflicts.size(), "losowaniu", "losowaniach", "losowaniach") +
                               " (data albo liczby):");
        listSome(plan.message, conflicts);
    }
    if (!bad.empty()) {
        plan.message.push_back("Błędne wiersze w pobranym pliku (" + std::to_string(bad.size()) +
                               "):");
        listSome(plan.message, bad);
    }
    if (!plan.message.empty()) {
        plan.message.push_back("Nic nie zapisano.");
        return plan;
    }
    if (added.empty()) {
        plan.kind = UpdateKind::NothingNew;
        plan.message = {
            "Nic nowego: w pobranym pliku nie ma losowań nowszych niż ostatnie w "
            "pliku wyników" +
            (last ? " (" + label(*last) + ")" : std::string()) + ". Plik pozostał bez zmian."};
        return plan;
    }

    // Line ends as the history's first line has them.
    const std::size_t end = history.find_first_of("\r\n");
    const std::string eol = end == std::string_view::npos          ? "\r\n"
                            : history[end] == '\n'                 ? "\n"
                            : history.compare(end, 2, "\r\n") == 0 ? "\r\n"
                                                                   : "\r";
    plan.kind = UpdateKind::Added;
    if (!history.empty() && history.back() != '\n' && history.back() != '\r') plan.appended = eol;
    for (const Draw& draw : added) plan.appended += draw.sortedLine() + eol;
    plan.message.push_back("Dopisano " + count(added.size(), "losowanie", "losowania", "losowań") +
                           ": od " + label(added.front()) + " do " + label(added.back()) + ".");
    const std::string gaps = gapsBetween(lastNumber, added);
    if (!gaps.empty())
        plan.message.push_back("Brak w numeracji losowań (tak jest w pobranym pliku): " + gaps +
                               ".");
    if (olderMissing)
        plan.message.push_back(
            "Pominięto " +
            count(olderMissing, "starsze losowanie", "starsze losowania", "starszych losowań") +
            " niż ostatnie w pliku wyników, których w nim brak: dopisywane są tylko nowsze.");
    return plan;
}

UpdatePlan updateHistoryFile(const std::string& path, std::string_view download,
                             const GameRow& game) {
    std::string history;
    if (readWholeFile(path, history, kMaxHistoryBytes) != HistoryRead::Ok) {
        UpdatePlan plan;
        plan.kind = UpdateKind::CannotRead;
        plan.message = {"Nie można przeczytać pliku wyników. Nic nie zapisano."};
        return plan;
    }
    UpdatePlan plan = planUpdate(history, download, game);
    if (plan.kind == UpdateKind::Added && !replaceFile(path, history + plan.appended)) {
        plan.kind = UpdateKind::CannotWrite;
        plan.message = {
            "Nie można zapisać pliku wyników (folder albo plik tylko do odczytu?). "
            "Plik pozostał bez zmian."};
    }
    return plan;
}

}  // namespace zestawy
