// The plan of an update: one pass of the merge over the download's draws in
// ascending number, with the history's beside them.
#include <algorithm>
#include <unordered_map>

#include "commands/update.hpp"
#include "commands/update_merge.hpp"
#include "commands/update_scan.hpp"
#include "history/check.hpp"

namespace zestawy {

using namespace update;

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
    // Only a download that shares a draw with the history, or goes on right
    // after its last one, shows that it numbers the draws as the history does.
    const std::uint64_t last = history_.lastNumber;
    if (added_ > 0 && last > 0 && shared_ == 0 && download_.first != last + 1)
        message.push_back(
            "Pobrany plik nie ma ani jednego wspólnego losowania z plikiem wyników (jego "
            "losowania to " +
            range(download_.first, download_.last) + ", plik wyników kończy się na " +
            std::to_string(last) +
            "), więc nie da się sprawdzić, że numeruje losowania tak samo. Pobierz plik, który "
            "sięga losowania " +
            std::to_string(last) + ".");
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
    const std::uint64_t last = history_.lastNumber;
    if (slips_.total) {
        warning = true;
        slips_.appendTo(message,
                        "Uwaga: w pobranym pliku data cofa się między kolejnymi losowaniami "
                        "(pomyłka źródła?); dopisano je tak, jak są:");
    }
    if (download_.cutLine && !cutHeld_) {
        warning = true;
        message.push_back("Uwaga: ostatni wiersz pobranego pliku (wiersz " +
                          std::to_string(download_.cutLine) + ": " + quoted(download_.cutText) +
                          ") nie kończy się końcem wiersza; pominięty, bo mógł zostać ucięty.");
    }
    if (download_.last > 0 && download_.last < last) {
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
    if (added_ == 0 && history_.lastLineNumber == 0) {
        // A new history from a download whose only draw may have been cut.
        plan.kind = UpdateKind::NoDraws;
        plan.message.push_back(
            "W pobranym pliku nie ma żadnego całego losowania. Nic nie zapisano.");
    } else if (added_ == 0) {
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
    const History old(history);
    const std::string check = "Sprawdź plik: zestawy-cli --game " + std::string(game.option) +
                              " --check. Nic nie zapisano.";
    if (old.lastLineNumber) {
        const std::string why = lineProblems(old.lastLine.text, game.rules);
        if (!why.empty()) {
            plan.message = {
                "Ostatni wiersz pliku wyników (wiersz " + std::to_string(old.lastLineNumber) +
                    ": " + quoted(old.lastLine.text) + ") nie jest całym losowaniem: " + why + ".",
                check};
            return plan;
        }
    }
    // The merge walks both files in the order of their numbers.
    if (!old.ordered) {
        plan.message = {"Numery losowań w pliku wyników nie rosną: wiersz " +
                            std::to_string(old.unordered.line) + " " + quoted(old.unordered.text) +
                            " ma numer nie wyższy niż losowanie przed nim. Popraw kolejność.",
                        check};
        return plan;
    }
    Merge merge(old, fresh, game);
    merge.run();
    return merge.plan();
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

}  // namespace zestawy
