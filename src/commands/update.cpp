#include "commands/update.hpp"

#include <algorithm>

#include "commands/update_scan.hpp"
#include "history/encoding.hpp"
#include "history/locked_file.hpp"
#include "history/replacing_file.hpp"

namespace zestawy {

using namespace update;

namespace {

constexpr int kLockWaitMs = 10000;  // for another update of the same file

}  // namespace

bool writeMerged(std::string_view history, std::string_view download, const GameRow& game,
                 const std::function<bool(std::string_view)>& write) {
    const History old(history);
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
    // The history is in order when a plan adds draws: both walk by number.
    HistoryCursor cursor(history);
    HistoryDraw next;
    bool hasNext = cursor.next(next);
    std::uint64_t previous = 0;
    bool ended = old.lastEnded;
    fresh.inOrder([&](DrawLine& draw, std::size_t) {
        if (!draw.valid(game.rules) || draw.number == previous) return true;
        previous = draw.number;
        while (hasNext && next.number < draw.number) hasNext = cursor.next(next);
        if (hasNext && next.number == draw.number) return true;
        keep(hasNext ? next.begin : old.keptEnd);
        if (!hasNext && !ended) {
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

namespace {

UpdatePlan failed(UpdateKind kind, const std::string& why) {
    UpdatePlan plan;
    plan.kind = kind;
    plan.message = {why};
    return plan;
}

// A path (UTF-8) as the messages (Windows-1250) name it.
std::string shown(const std::string& path) {
    return "„" + cp1250FromUtf8(path) + "”";
}

// "pliku wyników „C:\...\Lotto wyniki losowań.txt”"
std::string named(const std::string& path) {
    return "pliku wyników " + shown(path);
}

const char kStopped[] = "Przerwano: plik wyników pozostał bez zmian.";

// Why a history file is not replaced, after its name.
const struct {
    LockedFile::Status status;
    const char* why;
} kRefusals[] = {
    {LockedFile::Status::Busy,
     "uzupełnia właśnie inny program albo inne okno. Spróbuj ponownie, gdy skończy."},
    {LockedFile::Status::Linked,
     "ma kilka nazw (dowiązań twardych): zastąpienie rozdzieliłoby je."},
    {LockedFile::Status::Foreign,
     "należy do innego użytkownika: zastąpienie zmieniłoby jego właściciela. Uzupełnij go jako "
     "ten użytkownik."},
};

UpdatePlan unreadable(LockedFile::Status status, const std::string& path) {
    for (const auto& refusal : kRefusals)
        if (status == refusal.status)
            return failed(UpdateKind::Refused,
                          "Plik wyników " + shown(path) + " " + refusal.why + " Nic nie zapisano.");
    if (status == LockedFile::Status::Stopped) return failed(UpdateKind::Stopped, kStopped);
    if (status == LockedFile::Status::NotRegular)
        return failed(UpdateKind::Refused,
                      "To nie jest zwykły plik (urządzenie, potok albo folder): " + shown(path) +
                          "; plik wyników musi być plikiem tekstowym. Nic nie zapisano.");
    const std::string why = status == LockedFile::Status::TooLarge
                                ? "Plik " + shown(path) + " ma ponad " + historyLimitText() +
                                      ": to nie jest plik wyników losowań."
                                : "Nie można przeczytać " + named(path) + ".";
    return failed(UpdateKind::CannotRead, why + " Nic nie zapisano.");
}

// Writes the merged history through `file` to `target` (replacing it, or
// making it when `create`), the history checked again just before it goes
// when it is `held`.
UpdatePlan write(UpdatePlan plan, const std::string& target, LockedFile* held,
                 std::string_view history, std::string_view download, const GameRow& game,
                 const std::function<bool()>& keepGoing) {
    auto going = [&] { return !keepGoing || keepGoing(); };
    if (!going()) return failed(UpdateKind::Stopped, kStopped);
    ReplacingFile file;
    const bool written = file.open(target) &&
                         writeMerged(history, download, game,
                                     [&](std::string_view piece) {
                                         return going() && file.write(piece.data(), piece.size());
                                     }) &&
                         file.flush();
    if (!going()) return failed(UpdateKind::Stopped, kStopped);
    // Checked once the new file is on the disk, right before it takes the
    // history's place: whatever another program wrote meanwhile is not lost.
    if (written && held && !held->unchanged())
        return failed(UpdateKind::Refused,
                      "Plik wyników " + shown(target) +
                          " zmienił się w trakcie uzupełniania (czy zapisał go inny "
                          "program?). Nic nie zapisano; uzupełnij wyniki jeszcze raz.");
    if (written && !held && !file.commit(false))
        return failed(UpdateKind::Refused, "Plik wyników " + shown(target) +
                                               " utworzył w tym czasie inny program. Nic nie "
                                               "zapisano; uzupełnij wyniki jeszcze raz.");
    // Windows lets no file be replaced while it is open.
    if (written && held) held->closeFile();
    if (!written || (held && !file.commit(true)))
        return failed(UpdateKind::CannotWrite,
                      "Nie można zapisać " + named(target) +
                          " (folder albo plik tylko do odczytu?). Plik pozostał bez zmian.");
    plan.file = target;
    return plan;
}

}  // namespace

UpdatePlan updateHistoryFile(const std::string& path, std::string_view download,
                             const GameRow& game, const std::function<bool()>& keepGoing) {
    LockedFile held;
    std::string history;
    const LockedFile::Status status =
        held.open(path, history, kMaxHistoryBytes, kLockWaitMs, keepGoing);
    if (status == LockedFile::Status::Missing) {
        // A history found nowhere is made from the download alone.
        UpdatePlan plan = planUpdate("", download, game);
        if (plan.kind != UpdateKind::Added) return plan;
        plan.created = true;
        plan.message.front() = "Utworzono plik wyników " + shown(path) + ": " +
                               update::count(plan.added, "losowanie", "losowania", "losowań") +
                               ", do " + plan.newest + ".";
        return write(std::move(plan), path, nullptr, "", download, game, keepGoing);
    }
    if (status != LockedFile::Status::Ok) return unreadable(status, path);
    removeStaleTemporaries(held.target());
    UpdatePlan plan = planUpdate(history, download, game);
    if (plan.kind != UpdateKind::Added) return plan;
    return write(std::move(plan), held.target(), &held, history, download, game, keepGoing);
}

}  // namespace zestawy
