#include "commands/update.hpp"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "commands/draw_line.hpp"
#include "history/check.hpp"
#include "history/history.hpp"
#include "history/locked_file.hpp"
#include "history/polish.hpp"
#include "history/replacing_file.hpp"

namespace zestawy {

namespace {

constexpr std::size_t kListed = 10;       // items of a kind named; the rest counted
constexpr int kLockWaitMs = 10000;        // for another update of the same file
constexpr std::size_t kPiece = 1u << 20;  // what writeMerged hands on at a time

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

// A history line that begins with a draw number.
struct HistoryDraw {
    std::uint64_t number;
    std::size_t line;   // 1-based
    std::size_t begin;  // where its bytes start
    std::string_view text;
};

// A history as the merge reads it. The lines that are kept run up to the end
// of the last line that is not blank: empty lines at the end go.
struct History {
    std::string_view bytes;
    std::vector<HistoryDraw> draws;                                 // in file order
    std::vector<std::size_t> byNumber;                              // indices of draws, by number
    std::unordered_multimap<std::uint64_t, std::size_t> byContent;  // contentKey -> draw
    std::size_t keptEnd = 0;
    bool lastEnded = true;  // the last kept line has its line end
    std::string eol;        // as the first line ends
    TextLine lastLine;      // the last line that is not blank, if any
    std::size_t lastLineNumber = 0;
    // The first draw numbered no higher than the one before it, if any.
    const HistoryDraw* unordered = nullptr;

    History(std::string_view text, const DrawRules& rules) : bytes(text), eol(eolOf(text)) {
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
            if (draw.numberText.empty()) continue;
            draws.push_back({draw.number, number, line.begin, line.text});
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

    std::uint64_t lastNumber() const { return draws.empty() ? 0 : draws[byNumber.back()].number; }

    // Line ends as the first line has them; CR LF for a file of one line.
    static std::string eolOf(std::string_view text) {
        const std::size_t end = text.find_first_of("\r\n");
        return end == std::string_view::npos       ? "\r\n"
               : text[end] == '\n'                 ? "\n"
               : text.compare(end, 2, "\r\n") == 0 ? "\r\n"
                                                   : "\r";
    }
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

    explicit Download(std::string_view bytes) : text(bytes) {
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
            ascending = ascending && (draws == 0 || draw.number >= last);
            first = draws == 0 ? draw.number : std::min(first, draw.number);
            last = std::max(last, draw.number);
            ++draws;
            ++counts[draw.count];
        }
    }

    // Calls visit(draw, line number) for each draw, by ascending draw number
    // (equal ones in file order), until it returns false.
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
            if (draw.kind != DrawLine::Draw) continue;
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

const char kNoDraws[] =
    "W pobranym pliku nie ma żadnego losowania (wierszy „nr. data liczby” ani "
    "„nr,data,liczby”). Nic nie zapisano.";

// One pass of the merge over the download's draws in ascending number, with
// the history's beside them: what would be added, and what forbids it.
class Merge {
  public:
    Merge(const History& history, const Download& download, const GameRow& game)
        : history_(history),
          download_(download),
          game_(game),
          rules_(game.rules),
          eol_(history.eol),
          whole_(history.draws.size(), -1) {}

    void run() {
        std::size_t at = 0;  // in history_.byNumber
        download_.inOrder([&](DrawLine& draw, std::size_t line) {
            if (!draw.valid(rules_)) {
                bad_.add("wiersz " + std::to_string(line) + ": " + draw.problems(rules_));
                return true;
            }
            if (previous_.count && draw.number == previous_.number) {
                if (!draw.sameDraw(previous_))
                    conflicts_.add("nr " + std::to_string(draw.number) + ": wcześniej " +
                                   quoted(previous_.text) + ", w wierszu " + std::to_string(line) +
                                   " " + quoted(draw.text));
                return true;
            }
            remember(draw);
            while (at < history_.byNumber.size() && drawAt(at).number < draw.number)
                visit(drawAt(at++).number);
            if (at < history_.byNumber.size() && drawAt(at).number == draw.number)
                compare(history_.byNumber[at], draw);
            else
                add(draw, at);
            return true;
        });
        while (at < history_.byNumber.size()) visit(drawAt(at++).number);
    }

    UpdatePlan plan() const;

  private:
    const HistoryDraw& drawAt(std::size_t at) const {
        return history_.draws[history_.byNumber[at]];
    }

    // The previous draw of the download, for a second line of one number.
    void remember(const DrawLine& draw) {
        previous_.number = draw.number;
        previous_.day = draw.day;
        previous_.count = draw.count;
        previous_.text = draw.text;
        std::copy(draw.values.begin(), draw.values.begin() + draw.count, previous_.values.begin());
    }

    // The history draw as a draw; false, once named, for a line that is not
    // a well-formed draw of the game.
    bool wellFormed(std::size_t i, DrawLine& draw) {
        const HistoryDraw& mine = history_.draws[i];
        if (whole_[i] < 0) {
            const std::string why = lineProblems(mine.text, rules_);
            whole_[i] = why.empty();
            if (!why.empty())
                historyBad_.add("wiersz " + std::to_string(mine.line) + ": " + quoted(mine.text) +
                                " (" + why + ")");
        }
        if (parsedIndex_ != i) {
            parsed_ = DrawLine::read(mine.text);
            parsedValid_ = parsed_.valid(rules_);
            parsedIndex_ = i;
        }
        draw = parsed_;
        return whole_[i] && parsedValid_;
    }

    void compare(std::size_t i, const DrawLine& draw) {
        DrawLine mine;
        if (wellFormed(i, mine) && !mine.sameDraw(draw))
            conflicts_.add("nr " + std::to_string(draw.number) + ": w pliku wyników " +
                           quoted(mine.text) + ", w pobranym " + quoted(draw.text));
    }

    void add(const DrawLine& draw, std::size_t at) {
        const auto same = history_.byContent.equal_range(draw.contentKey());
        for (auto it = same.first; it != same.second; ++it) {
            DrawLine mine;
            if (wellFormed(it->second, mine) && mine.sameDraw(draw))
                renumbered_.add("nr " + std::to_string(draw.number) + " pobranego pliku to nr " +
                                std::to_string(mine.number) + " pliku wyników (" +
                                std::string(draw.date) + ")");
        }
        if (at > 0) fits(history_.byNumber[at - 1], draw);
        if (at < history_.byNumber.size()) fits(history_.byNumber[at], draw);
        if (added_ == 0) firstAdded_ = draw.label();
        lastAdded_ = draw.text;
        ++added_;
        if (draw.number < history_.lastNumber()) ++intoGaps_;
        bytes_ += draw.ownLineSize() + eol_.size();
        visit(draw.number);
    }

    // Whether a new draw fits beside a history draw: dates never go back as
    // numbers go up, and no more draws are missing between the two than the
    // game can have drawn from the one's day to the other's.
    void fits(std::size_t i, const DrawLine& draw) {
        DrawLine mine;
        if (!wellFormed(i, mine)) return;
        const bool below = mine.number < draw.number;
        const DrawLine& older = below ? mine : draw;
        const DrawLine& newer = below ? draw : mine;
        const std::uint64_t days =
            static_cast<std::uint64_t>(std::max(0L, newer.day - older.day)) + 1;
        const std::uint64_t most = days * static_cast<std::uint64_t>(rules_.drawsPerDay);
        const std::uint64_t missing = newer.number - older.number - 1;
        if (older.day <= newer.day && missing + 2 <= most) return;
        const std::string pair = "nr " + std::to_string(draw.number) + " z " +
                                 std::string(draw.date) + " a nr " + std::to_string(mine.number) +
                                 " pliku wyników z " + std::string(mine.date);
        if (older.day > newer.day)
            misplaced_.add(pair + ": daty cofają się, choć numery rosną");
        else
            misplaced_.add(pair + ": między nimi brakowałoby " +
                           count(missing, "losowania", "losowań", "losowań") + ", a w " +
                           count(days, "dzień", "dni", "dni") + " gra ma najwyżej " +
                           count(most, "losowanie", "losowania", "losowań"));
    }

    // Each draw number of the merged history in ascending order, for its gaps.
    void visit(std::uint64_t number) {
        if (merged_ && number > merged_ + 1) {
            const std::string gap = range(merged_ + 1, number - 1);
            if (number - 1 < download_.first)
                gapsBefore_.add(gap);
            else if (merged_ + 1 > download_.last)
                gapsAfter_.add(gap);
            else
                gapsShared_.add(gap);
        }
        merged_ = std::max(merged_, number);
    }

    void refusals(std::vector<std::string>& message) const;
    void gapsAndWarnings(std::vector<std::string>& message, bool& warning) const;
    void skipped(std::vector<std::string>& message) const;  // the lines with letters

    const History& history_;
    const Download& download_;
    const GameRow& game_;
    const DrawRules& rules_;
    std::string eol_;
    std::vector<signed char> whole_;  // each history draw: 1 well-formed, 0 not, -1 not yet read
    DrawLine previous_;
    // The history draw read last: the same one borders every draw appended.
    DrawLine parsed_;
    bool parsedValid_ = false;
    std::size_t parsedIndex_ = SIZE_MAX;
    Listed bad_, conflicts_, renumbered_, misplaced_, historyBad_;
    Listed gapsBefore_, gapsShared_, gapsAfter_;
    std::size_t added_ = 0, intoGaps_ = 0, bytes_ = 0;
    std::string firstAdded_;
    std::string_view lastAdded_;  // its line; the label is made at the end
    std::uint64_t merged_ = 0;
};

void Merge::refusals(std::vector<std::string>& message) const {
    const std::string check = "zestawy-cli --game " + std::string(game_.option) + " --check";
    conflicts_.appendTo(message,
                        "Pobrany plik nie zgadza się z plikiem wyników w " +
                            count(conflicts_.total, "losowaniu", "losowaniach", "losowaniach") +
                            " (data albo liczby):");
    renumbered_.appendTo(message,
                         "Pobrany plik numeruje losowania inaczej niż plik wyników: te same daty "
                         "i liczby mają tam inne numery:");
    misplaced_.appendTo(message, "Losowania, które nie pasują do dat pliku wyników:");
    download_.strays.appendTo(message, "Wiersze pobranego pliku, które nie są losowaniami:");
    bad_.appendTo(message,
                  "Błędne losowania w pobranym pliku (" + std::to_string(bad_.total) + "):");
    historyBad_.appendTo(message,
                         "Wiersze pliku wyników, których dotyczy uzupełnienie, nie są "
                         "poprawnymi losowaniami (sprawdź plik: " +
                             check + "):");
    if (added_ > 0 && history_.unordered)
        message.push_back("Numery losowań w pliku wyników nie rosną: wiersz " +
                          std::to_string(history_.unordered->line) + " " +
                          quoted(history_.unordered->text) +
                          " ma numer nie wyższy niż losowanie przed nim. Popraw kolejność.");
    if (history_.keptEnd + bytes_ + 2 > kMaxHistoryBytes)
        message.push_back("Uzupełniony plik wyników miałby ponad " + historyLimitText() +
                          ": tak dużego pliku program nie przeczyta.");
}

void Merge::gapsAndWarnings(std::vector<std::string>& message, bool& warning) const {
    if (gapsShared_.total)
        message.push_back(
            "Brak w numeracji losowań, także w pobranym pliku: " + gapsShared_.inLine() + ".");
    if (gapsBefore_.total)
        message.push_back("Brak w numeracji losowań: " + gapsBefore_.inLine() +
                          "; pobrany plik zaczyna się od losowania " +
                          std::to_string(download_.first) + ", więc ich nie uzupełnił.");
    if (gapsAfter_.total)
        message.push_back("Brak w numeracji losowań: " + gapsAfter_.inLine() +
                          "; pobrany plik kończy się na losowaniu " +
                          std::to_string(download_.last) + ".");
    const std::uint64_t last = history_.lastNumber();
    if (last && download_.first > last + 1) {
        warning = true;
        message.push_back("Uwaga: pobrany plik zaczyna się od losowania " +
                          std::to_string(download_.first) +
                          ", a plik wyników kończył się na losowaniu " + std::to_string(last) +
                          ": losowań " + range(last + 1, download_.first - 1) +
                          " nie ma w żadnym z nich. Pobierz plik, który sięga losowania " +
                          std::to_string(last) + ", i uzupełnij wyniki jeszcze raz.");
    }
    if (download_.last < last) {
        warning = true;
        message.push_back("Uwaga: pobrany plik kończy się na losowaniu " +
                          std::to_string(download_.last) +
                          ", starszym niż ostatnie w pliku wyników (" + std::to_string(last) +
                          "): to nie są najnowsze wyniki.");
    }
    skipped(message);
}

void Merge::skipped(std::vector<std::string>& message) const {
    if (download_.letters.total)
        message.push_back("Pominięto " +
                          count(download_.letters.total, "wiersz bez losowania",
                                "wiersze bez losowania", "wierszy bez losowania") +
                          " (z literami): " + download_.letters.inLine() + ".");
}

UpdatePlan Merge::plan() const {
    UpdatePlan plan;
    plan.kind = UpdateKind::Refused;
    refusals(plan.message);
    if (!plan.message.empty()) {
        skipped(plan.message);
        plan.message.push_back("Nic nie zapisano.");
        return plan;
    }
    if (added_ == 0) {
        plan.kind = UpdateKind::NothingNew;
        plan.message.push_back(
            "Nic nowego: plik wyników ma już każde losowanie pobranego pliku (ostatnie: " +
            DrawLine::read(history_.lastLine.text).label() + "). Plik pozostał bez zmian.");
        plan.newest = DrawLine::read(history_.lastLine.text).label();
    } else {
        plan.kind = UpdateKind::Added;
        plan.added = added_;
        plan.bytes = history_.keptEnd + bytes_ +
                     (!history_.lastEnded && intoGaps_ < added_ ? eol_.size() : 0);
        plan.message.push_back("Dopisano " + count(added_, "losowanie", "losowania", "losowań") +
                               ": od " + firstAdded_ + " do " + DrawLine::read(lastAdded_).label() +
                               ".");
        const DrawLine last = DrawLine::read(history_.lastLine.text);
        const DrawLine added = DrawLine::read(lastAdded_);
        plan.newest =
            (last.kind == DrawLine::Draw && last.number > added.number ? last : added).label();
        if (intoGaps_)
            plan.message.push_back("W tym w luki w numeracji pliku wyników: " +
                                   count(intoGaps_, "losowanie", "losowania", "losowań") + ".");
    }
    gapsAndWarnings(plan.message, plan.warning);
    return plan;
}

}  // namespace

UpdatePlan planUpdate(std::string_view history, std::string_view download, const GameRow& game) {
    UpdatePlan plan;
    const Download fresh(download);
    if (fresh.draws == 0) {
        plan.message = {kNoDraws};
        return plan;
    }
    plan.kind = UpdateKind::Refused;
    const int perDraw = game.rules.numbersPerDraw;
    if (!fresh.counts.count(perDraw)) {
        const int usual = usualCount(fresh);
        const GameRow* other = gameWithCount(usual);
        plan.message = {"Pobrany plik nie zawiera losowań gry " + std::string(game.name) + " (" +
                        numbersEach(perDraw) + "): jego losowania mają " + numbersEach(usual) +
                        (other ? std::string(", jak w grze ") + other->name : std::string()) +
                        ". Nic nie zapisano."};
        return plan;
    }
    const History old(history, game.rules);
    if (old.lastLineNumber) {
        const std::string why = lineProblems(old.lastLine.text, game.rules);
        if (!why.empty()) {
            plan.message = {
                "Ostatni wiersz pliku wyników (wiersz " + std::to_string(old.lastLineNumber) +
                    ": " + quoted(old.lastLine.text) + ") nie jest całym losowaniem: " + why + ".",
                "Sprawdź plik: zestawy-cli --game " + std::string(game.option) +
                    " --check. Nic nie zapisano."};
            return plan;
        }
    }
    Merge merge(old, fresh, game);
    merge.run();
    return merge.plan();
}

bool writeMerged(std::string_view history, std::string_view download, const GameRow& game,
                 const std::function<bool(std::string_view)>& write) {
    const History old(history, game.rules);
    const Download fresh(download);
    std::string out;
    bool ok = true;
    auto flush = [&] {
        ok = ok && (out.empty() || write(out));
        out.clear();
    };
    // The history's bytes go on as they are, a piece at a time.
    std::size_t done = 0;
    auto keep = [&](std::size_t upto) {
        flush();
        for (; ok && done < upto; done += std::min(kPiece, upto - done))
            ok = write(history.substr(done, std::min(kPiece, upto - done)));
    };
    std::size_t at = 0;  // the history is in order when a plan adds draws
    std::uint64_t previous = 0;
    bool ended = old.lastEnded;
    fresh.inOrder([&](DrawLine& draw, std::size_t) {
        if (!draw.valid(game.rules) || draw.number == previous) return true;
        previous = draw.number;
        while (at < old.draws.size() && old.draws[at].number < draw.number) ++at;
        if (at < old.draws.size() && old.draws[at].number == draw.number) return true;
        keep(at < old.draws.size() ? old.draws[at].begin : old.keptEnd);
        if (at == old.draws.size() && !ended) {
            out += old.eol;
            ended = true;
        }
        out += draw.ownLine(true) + old.eol;
        if (out.size() >= kPiece) flush();
        return ok;
    });
    keep(old.keptEnd);
    flush();
    return ok;
}

std::string mergedHistory(std::string_view history, std::string_view download,
                          const GameRow& game) {
    std::string merged;
    writeMerged(history, download, game, [&](std::string_view piece) {
        merged += piece;
        return true;
    });
    return merged;
}

const GameRow* recogniseGame(std::string_view download) {
    return gameWithCount(usualCount(Download(download)));
}

std::vector<std::string> unrecognisedGame(std::string_view download) {
    const Download fresh(download);
    if (fresh.draws == 0) return {kNoDraws};
    std::string games;
    for (const GameRow& game : kGames)
        games += std::string(games.empty() ? "" : ", ") +
                 std::to_string(game.rules.numbersPerDraw) + " (" + game.name + ")";
    return {"Nie rozpoznano gry: losowania w tym pliku mają " + numbersEach(usualCount(fresh)) +
            ", a gry mają ich " + games + ". Nic nie zapisano."};
}

namespace {

UpdatePlan failed(UpdateKind kind, const std::string& why) {
    UpdatePlan plan;
    plan.kind = kind;
    plan.message = {why};
    return plan;
}

UpdatePlan unreadable(LockedFile::Status status) {
    switch (status) {
        case LockedFile::Status::Missing:
            return failed(UpdateKind::CannotRead,
                          "Nie ma takiego pliku wyników. Nic nie zapisano.");
        case LockedFile::Status::NotRegular:
            return failed(UpdateKind::Refused,
                          "To nie jest zwykły plik (urządzenie, potok albo folder): plik wyników "
                          "musi być plikiem tekstowym. Nic nie zapisano.");
        case LockedFile::Status::Busy:
            return failed(UpdateKind::Refused,
                          "Plik wyników uzupełnia właśnie inny program albo inne okno. Spróbuj "
                          "ponownie, gdy skończy. Nic nie zapisano.");
        case LockedFile::Status::TooLarge:
            return failed(UpdateKind::CannotRead,
                          "Plik wyników ma ponad " + historyLimitText() +
                              ": to nie jest plik wyników losowań. Nic nie zapisano.");
        default:
            return failed(UpdateKind::CannotRead,
                          "Nie można przeczytać pliku wyników. Nic nie zapisano.");
    }
}

}  // namespace

UpdatePlan updateHistoryFile(const std::string& path, std::string_view download,
                             const GameRow& game, const std::function<bool()>& keepGoing) {
    LockedFile held;
    std::string history;
    const LockedFile::Status status = held.open(path, history, kMaxHistoryBytes, kLockWaitMs);
    if (status != LockedFile::Status::Ok) return unreadable(status);
    removeStaleTemporaries(held.target());
    UpdatePlan plan = planUpdate(history, download, game);
    if (plan.kind != UpdateKind::Added) return plan;

    auto going = [&] { return !keepGoing || keepGoing(); };
    if (!going()) return failed(UpdateKind::Stopped, "Przerwano: plik wyników pozostał bez zmian.");
    ReplacingFile file;
    const bool written = file.open(held.target()) &&
                         writeMerged(history, download, game, [&](std::string_view piece) {
                             return going() && file.write(piece.data(), piece.size());
                         });
    if (!going()) return failed(UpdateKind::Stopped, "Przerwano: plik wyników pozostał bez zmian.");
    if (written && !held.unchanged())
        return failed(UpdateKind::Refused,
                      "Plik wyników zmienił się w trakcie uzupełniania (czy zapisał go inny "
                      "program?). Nic nie zapisano; uzupełnij wyniki jeszcze raz.");
    if (!written || !file.commit())
        return failed(UpdateKind::CannotWrite,
                      "Nie można zapisać pliku wyników (folder albo plik tylko do odczytu?). "
                      "Plik pozostał bez zmian.");
    return plan;
}

}  // namespace zestawy
