// The ranking screen's worker, which never touches a control, and the odds
// line made from what it found.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/files.hpp"
#include "app/ranking_screen.hpp"
#include "app/ranking_state.hpp"
#include "app/screen.hpp"
#include "history/history.hpp"
#include "history/polish.hpp"
#include "search/shared_walk.hpp"

using namespace zestawy;

std::string decimal(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", x);
    // 999.96 rounds to 1000.0: from there on, whole numbers in groups.
    if (std::strtod(text, nullptr) >= 1000)
        return grouped(static_cast<std::uint64_t>(std::llround(x)));
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

namespace {

// The sets that never appeared are counted exactly where that takes no longer
// than this; past it, their number is estimated from a seeded sample of this
// many sets (the same estimate every time).
constexpr std::chrono::milliseconds kCountBudget{1000};
constexpr std::uint64_t kEstimateSamples = 1000000, kEstimateSeed = 2026;

// The ranking itself, into `result`.
void rank(const RankingJob& job, ProgressPoster& post, RankingResult& found) {
    RankingResult* result = &found;
    const NeverDrawnQuery query = rankingQuery(*job.command);
    result->error = readDraws(*job.game, job.last, result->taken);
    if (result->error.empty()) {
        const std::vector<std::string>& draws = result->taken.draws;
        result->ranking = longestWaits(
            draws, query, job.top, [&](double done) { return post(done); }, machineThreads());
        result->rows = rankingRows(result->ranking, result->taken.labels);
        result->odds = waitOdds(job.game->rules.numbersPerDraw, query, draws.size());
        result->stopped = post.stopped();
        result->numberWaits = waitsOfNumbers(draws, query.maxNumber);
        if (!result->stopped && !result->ranking.empty() && result->ranking.front().lastSeen < 0) {
            // The table is whole; a stop from here on stops the count alone.
            post.stage(2);
            const BoundedCount count = countNeverDrawnWithin(
                draws, query, machineThreads(), kCountBudget, [&] { return !post.stopped(); },
                [&](double done) { post(done); });
            result->counted = true;
            result->neverSeen = count.sets;
            result->neverSeenAtLeast = count.atLeast;
            result->countStopped = count.stopped;
            if (count.atLeast && !count.stopped) {
                result->estimate =
                    estimateNeverSeen(draws, query, kEstimateSamples, kEstimateSeed,
                                      machineThreads(), [&] { return !post.stopped(); });
                result->countStopped = result->estimate.stopped;
            }
        }
    }
}

}  // namespace

std::unique_ptr<RankingResult> rankInBackground(const RankingJob& job, ProgressPoster& post) {
    // A ranking that runs out of memory, or fails otherwise, ends with a
    // sentence in place of its table (made first, so that saying so needs no
    // memory).
    auto failed = std::make_unique<RankingResult>();
    failed->game = job.game;
    failed->command = job.command;
    try {
        auto result = std::make_unique<RankingResult>(*failed);
        rank(job, post, *result);
        return result;
    } catch (const std::bad_alloc&) {
        failed->error = "Za mało pamięci, by policzyć ten ranking.";
    } catch (const std::exception& e) {
        failed->error = std::string("Nie udało się policzyć rankingu: ") + e.what();
    }
    return failed;
}

namespace {

// "5 losowań", "1 losowanie", "1 551 losowań".
std::string draws(std::uint64_t n) {
    return grouped(n) + " " + nounForm(n, "losowanie", "losowania", "losowań");
}

// A count no larger than n that reads as "ponad ...": n to its first two
// digits ("ponad 1 200 000 000").
std::uint64_t roundedDown(std::uint64_t n) {
    std::uint64_t unit = 1;
    while (n / unit >= 100) unit *= 10;
    return n / unit * unit;
}

// What the never-seen count found, as the start of a sentence: the count, or
// where it ran out of time, the estimate from a sample with its interval.
std::string neverSeenText(const RankingResult& r) {
    if (r.neverSeenAtLeast && r.estimate.sampled > 0)
        return "Około " + compactCount(r.estimate.estimate) +
               " zestawów nie pojawiło się ani razu (95%: " + compactCount(r.estimate.low) + "–" +
               compactCount(r.estimate.high) + ", z losowej próby " + grouped(r.estimate.sampled) +
               " zestawów)";
    const std::uint64_t n = r.neverSeenAtLeast ? roundedDown(r.neverSeen) : r.neverSeen;
    return std::string(r.neverSeenAtLeast ? "Ponad " : "") + grouped(n) + " " +
           nounForm(n, "zestaw nie pojawił", "zestawy nie pojawiły", "zestawów nie pojawiło") +
           " się ani razu";
}

// Whether the count, or the interval of its estimate, meets chance's usual
// range.
std::string againstChance(const RankingResult& r, const NeverSeenOdds& chance) {
    const bool estimated = r.neverSeenAtLeast && r.estimate.sampled > 0;
    const double low = estimated ? r.estimate.low : static_cast<double>(r.neverSeen);
    const double high = estimated ? r.estimate.high : static_cast<double>(r.neverSeen);
    if (high < static_cast<double>(chance.low)) return ", czyli mniej, niż zwykle daje przypadek";
    if (low > static_cast<double>(chance.high)) return ", czyli więcej, niż zwykle daje przypadek";
    return ", czyli nic niezwykłego";
}

}  // namespace

std::string oddsLine(const RankingResult& r) {
    if (!r.error.empty()) return r.error;
    if (r.stopped) return "Przerwano.";
    const std::size_t taken = r.taken.draws.size();
    // The mean gap: a fraction takes "losowania", a whole number the rule.
    const double mean = 1 / r.odds.perDraw;
    const std::string gap = decimal(mean);
    const char* noun = gap.find(',') != std::string::npos
                           ? "losowania"
                           : nounForm(static_cast<std::uint64_t>(std::llround(mean)), "losowanie",
                                      "losowania", "losowań");
    std::string text = std::string("„") + r.command->caption + "” (" + r.game->name + "), " +
                       draws(taken) + ": taki zestaw pojawia się średnio co " + gap + " " + noun +
                       ".";
    const std::string sets = grouped(static_cast<std::uint64_t>(r.odds.sets)) + " zestawów";
    if (!r.ranking.empty()) {
        text += " Najdłużej czeka " + draws(r.ranking.front().wait);
        if (!capped(r.odds, taken)) {
            // For "a z b" kinds, whose sets overlap most, the range is taken
            // as if the sets were independent and holds only about 80-90%.
            const bool rough = r.odds.query.subsetSize < r.odds.query.setSize;
            text += std::string("; sam przypadek daje zwykle ") + (rough ? "około " : "") +
                    grouped(r.odds.low) + "–" + grouped(r.odds.high) + " (mediana " +
                    grouped(r.odds.median) + ") wśród " + sets + ".";
        } else {
            // The longest wait is the whole history: what chance tells is how
            // many sets never appear.
            text += ", całą wybraną historię.";
            const NeverSeenOdds chance = neverSeenOdds(r.odds, taken);
            const std::string expected =
                "sam przypadek daje średnio " +
                grouped(static_cast<std::uint64_t>(std::llround(chance.expected))) + " (zwykle " +
                grouped(chance.low) + "–" + grouped(chance.high) + ") wśród " + sets;
            if (r.counted && !r.countStopped && (!r.neverSeenAtLeast || r.estimate.sampled))
                text += " " + neverSeenText(r) + ", a " + expected + againstChance(r, chance) + ".";
            else
                text += " Zestawów, które nie pojawiły się ani razu, " + expected + ".";
        }
    }
    if (r.counted && r.countStopped)
        text += " Liczenie zestawów, które nie pojawiły się ani razu, przerwano.";
    else if (r.counted && !capped(r.odds, taken))
        text += " " + neverSeenText(r) + ": ich oczekiwanie to długość historii, a nie przerwa.";
    if (r.taken.skipped > 0)
        text += " Pominięto " + grouped(r.taken.skipped) + " " +
                nounForm(r.taken.skipped, "wiersz, który nie jest losowaniem",
                         "wiersze, które nie są losowaniami", "wierszy, które nie są losowaniami") +
                " (pierwszy: " + r.taken.firstSkipped + ").";
    return text + "\nLosowania są niezależne: długie oczekiwanie nie zwiększa szansy zestawu.";
}
