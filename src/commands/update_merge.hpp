// The merge of an update: one pass over the download's draws in ascending
// number, with the history's beside them, and what it finds. Only the plan
// (update_plan.cpp) uses it.
#pragma once

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "commands/update.hpp"
#include "commands/update_scan.hpp"
#include "history/check.hpp"

namespace zestawy::update {

// A date going back by this many days at most between two consecutive draws
// of a download is taken for the source's slip.
constexpr long kMostSlipDays = 31;

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
          indexHistory_(download.draws > history.draws) {}

    void run() {
        // Which side's draws are looked up by date and numbers: the fewer.
        if (indexHistory_) {
            HistoryCursor cursor(history_.bytes);
            for (HistoryDraw draw; cursor.next(draw);) {
                Mine mine;
                mine.draw = draw;
                if (wellFormed(mine, false))
                    historyByContent_.emplace(mine.parsed.contentKey(), draw);
            }
        }
        HistoryCursor cursor(history_.bytes);
        hasNext_ = cursor.next(next_.draw);
        download_.inOrder([&](DrawLine& draw, std::size_t line) {
            if (!draw.valid(rules_)) {
                // The line, its draw's number where it has one, what is wrong.
                bad_.add("wiersz " + std::to_string(line) +
                         (draw.number ? " (nr " + std::to_string(draw.number) + ")" : "") + ": " +
                         draw.problems(rules_));
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
            while (hasNext_ && next_.draw.number < draw.number) pass(cursor);
            if (hasNext_ && next_.draw.number == draw.number)
                compare(next_, draw);
            else
                add(draw);
            return true;
        });
        while (hasNext_) pass(cursor);
        if (!indexHistory_) renumberedInHistory();
        if (download_.cutLine) cutHeld_ = held(DrawLine::read(download_.cutText));
    }

    UpdatePlan plan() const;

  private:
    // A history draw as the merge sees it: read once, named once if bad.
    struct Mine {
        HistoryDraw draw;
        signed char whole = -1;  // 1 a well-formed draw, 0 not, -1 not yet read
        DrawLine parsed;
    };

    // The next history draw becomes the one before the download's.
    void pass(HistoryCursor& cursor) {
        visit(next_.draw.number);
        before_ = std::move(next_);
        hasBefore_ = true;
        passedHistory_ = true;
        next_ = Mine();
        hasNext_ = cursor.next(next_.draw);
    }

    // The previous draw of the download, for a second line of one number.
    void remember(const DrawLine& draw) {
        previous_.number = draw.number;
        previous_.day = draw.day;
        previous_.count = draw.count;
        previous_.text = draw.text;
        std::copy(draw.values.begin(), draw.values.begin() + draw.count, previous_.values.begin());
    }

    // Whether the history draw is a well-formed draw of the game (its
    // parsed form then ready); the first time it is not, it is named, where
    // the merge touches it.
    bool wellFormed(Mine& mine, bool touched = true) {
        if (mine.whole < 0) {
            const std::string why = lineProblems(mine.draw.text, rules_);
            mine.parsed = DrawLine::read(mine.draw.text);
            mine.whole = why.empty() && mine.parsed.valid(rules_);
            if (!why.empty() && touched)
                historyBad_.add("wiersz " + std::to_string(mine.draw.line) + ": " +
                                quoted(mine.draw.text) + " (" + why + ")");
        }
        return mine.whole > 0;
    }

    void compare(Mine& mine, const DrawLine& draw) {
        if (!wellFormed(mine)) return;
        if (mine.parsed.sameDraw(draw))
            ++shared_;
        else
            conflicts_.add("nr " + std::to_string(draw.number) + ": w pliku wyników " +
                           quoted(mine.draw.text) + ", w pobranym " + quoted(draw.text));
    }

    // Whether the history holds this draw, under its number.
    bool held(DrawLine draw) const {
        if (!draw.valid(rules_)) return false;
        HistoryCursor cursor(history_.bytes);
        for (HistoryDraw mine; cursor.next(mine);) {
            if (mine.number != draw.number) continue;
            DrawLine read = DrawLine::read(mine.text);
            if (read.valid(rules_) && read.sameDraw(draw)) return true;
        }
        return false;
    }

    void renumbered(const DrawLine& draw, const DrawLine& mine) {
        if (mine.number != draw.number && mine.sameDraw(draw))
            renumbered_.add("nr " + std::to_string(draw.number) + " pobranego pliku to nr " +
                            std::to_string(mine.number) + " pliku wyników (" +
                            std::string(draw.date) + ")");
    }

    // The added draws against every history draw of the same date and numbers.
    void renumberedInHistory() {
        if (addedByContent_.empty()) return;
        HistoryCursor cursor(history_.bytes);
        for (Mine mine; cursor.next(mine.draw); mine = Mine()) {
            DrawLine read = DrawLine::read(mine.draw.text);
            if (!read.valid(rules_)) continue;
            const auto same = addedByContent_.equal_range(read.contentKey());
            for (auto it = same.first; it != same.second; ++it) {
                DrawLine added = DrawLine::read(it->second);
                if (added.valid(rules_) && wellFormed(mine, false)) renumbered(added, mine.parsed);
            }
        }
    }

    void add(const DrawLine& draw) {
        if (indexHistory_) {
            const auto same = historyByContent_.equal_range(draw.contentKey());
            for (auto it = same.first; it != same.second; ++it) {
                DrawLine mine = DrawLine::read(it->second.text);
                if (mine.valid(rules_)) renumbered(draw, mine);
            }
        } else {
            addedByContent_.emplace(draw.contentKey(), draw.text);
        }
        // Its neighbours in the merged history: the draw added before it where
        // no history draw lies between them, else the history's.
        if (added_ > 0 && !passedHistory_)
            fitsNew(previousNew_, draw);
        else if (hasBefore_)
            fits(before_, draw);
        if (hasNext_) fits(next_, draw);
        previousNew_ = draw;
        passedHistory_ = false;
        if (added_ == 0) firstAdded_ = draw.label();
        lastAdded_ = draw.text;
        ++added_;
        if (draw.number < history_.lastNumber) ++intoGaps_;
        bytes_ += draw.ownLineSize() + eol_.size();
        visit(draw.number);
    }

    // Whether a new draw fits beside a history draw: dates never go back as
    // numbers go up, and no more draws are missing between the two than the
    // game can have drawn from the one's day to the other's.
    void fits(Mine& history, const DrawLine& draw) {
        if (!wellFormed(history)) return;
        const DrawLine& mine = history.parsed;
        const std::string why = misfit(mine, draw);
        if (!why.empty())
            misplaced_.add("nr " + std::to_string(draw.number) + " z " + std::string(draw.date) +
                           " a nr " + std::to_string(mine.number) + " pliku wyników z " +
                           std::string(mine.date) + ": " + why);
    }

    // The same for two new draws, the one before the other in number, save
    // that a date going back by at most a month between two consecutive
    // numbers is the source's own slip (real histories have such) and passes
    // with a warning.
    void fitsNew(const DrawLine& before, const DrawLine& draw) {
        const std::string why = misfit(before, draw);
        if (why.empty()) return;
        const std::string pair = quoted(before.text) + " i " + quoted(draw.text);
        if (draw.number == before.number + 1 && draw.day < before.day &&
            before.day - draw.day <= kMostSlipDays)
            slips_.add(
                pair + " (o " +
                count(static_cast<std::size_t>(before.day - draw.day), "dzień", "dni", "dni") +
                ")");
        else
            misplaced_.add("nr " + std::to_string(before.number) + " z " +
                           std::string(before.date) + " a nr " + std::to_string(draw.number) +
                           " z " + std::string(draw.date) + " pobranego pliku: " + why);
    }

    // Why two draws cannot stand side by side in one history, "" when they can.
    std::string misfit(const DrawLine& a, const DrawLine& b) const {
        const DrawLine& older = a.number < b.number ? a : b;
        const DrawLine& newer = a.number < b.number ? b : a;
        const std::uint64_t days =
            static_cast<std::uint64_t>(std::max(0L, newer.day - older.day)) + 1;
        const std::uint64_t most = days * static_cast<std::uint64_t>(rules_.drawsPerDay);
        const std::uint64_t missing = newer.number - older.number - 1;
        if (older.day > newer.day) return "daty cofają się, choć numery rosną";
        if (missing + 2 <= most) return "";
        return "między nimi brakowałoby " + count(missing, "losowania", "losowań", "losowań") +
               ", a w " + count(days, "dzień", "dni", "dni") + " gra ma najwyżej " +
               count(most, "losowanie", "losowania", "losowań");
    }

    // Each draw number of the merged history in ascending order, for its gaps.
    // The download's first and last draws are in the merged history, so a gap
    // lies wholly before the first, wholly after the last, or between them.
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
    // The history draws on either side of the download's draw at hand.
    Mine before_, next_;
    bool hasBefore_ = false, hasNext_ = false;
    bool passedHistory_ = false;  // a history draw since the draw added last
    const bool indexHistory_;     // the history's draws are looked up, else the added ones
    std::unordered_multimap<std::uint64_t, HistoryDraw> historyByContent_;
    std::unordered_multimap<std::uint64_t, std::string_view> addedByContent_;
    DrawLine previous_;
    Listed bad_, conflicts_, renumbered_, misplaced_, historyBad_, slips_;
    DrawLine previousNew_;    // the draw added last
    std::size_t shared_ = 0;  // draws both files hold alike
    bool cutHeld_ = false;    // the download's cut last line is a history draw
    Listed gapsBefore_, gapsShared_, gapsAfter_;
    std::size_t added_ = 0, intoGaps_ = 0, bytes_ = 0;
    std::string firstAdded_;
    std::string_view lastAdded_;  // its line; the label is made at the end
    std::uint64_t merged_ = 0;
};

}  // namespace zestawy::update
