// Does waiting pay? The history's own answer: before each draw every set of a
// query has a wait (as the ranking counts it, over the draws before that one);
// the draw then shows which sets came up. Sets are grouped by their wait
// against the mean gap 1/p, and each group's chances (sets x draws) and
// appearances are counted; were long waits a promise, the groups of long
// waits would come up more often than p. No I/O.
//
// Over a draw list 0..L-1 (oldest first), draw t >= 1 is judged: a set's wait
// before it is the number of draws among 0..t-1 after the newest one it
// appeared in, or t when it appeared in none. Draw 0 only starts the count.
// A set appears in a draw when at least query.subsetSize of its numbers are
// among the draw's numbers (the ranking's rule).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "search/engine.hpp"
#include "search/odds.hpp"

namespace zestawy {

// The groups by wait / mean gap: [0, 1), [1, 2), [2, 3), [3, 5), [5, inf).
struct WaitGroup {
    const char* label;  // "<1", "1-2", "2-3", "3-5", ">5"
    double from, to;    // wait / mean gap
};
constexpr int kWaitGroupCount = 5;
extern const WaitGroup kWaitGroups[kWaitGroupCount];
// Group g's name for a reader, in UTF-8, from its bounds: "poniżej 1×",
// "1–2×", ..., "ponad 5×".
std::string waitGroupName(int g);

// The level of every range of the backtest: 95%, within 1.96 standard
// deviations of the mean.
constexpr int kBacktestRangePercent = 95;
constexpr double kBacktestRangeZ = 1.96;

// Where a query has twice this many sets or more, a seeded sample of this
// many is followed instead of all of them.
constexpr std::uint64_t kMostFollowedSets = 200000;
// The longest-waiting sets before each draw that the top line follows.
constexpr int kTopSets = 10;

struct GroupCount {
    std::uint64_t chances = 0;      // (set, draw) with the set's wait in the group
    std::uint64_t appearances = 0;  // those in which the set came up
    // appearances / chances, and its 95% interval: draws are independent,
    // the sets of one draw are not (they share numbers), so the interval is
    // taken over draws (the spread of each draw's appearances against
    // rate x its chances); where chance expects fewer than ten appearances,
    // never narrower than the binomial one. All 0 when the group had no chances.
    double rate = 0, low = 0, high = 0;
};

struct Backtest {
    double perDraw = 0;          // p: the chance that one set appears in one draw
    std::uint64_t sets = 0;      // C(maxNumber, setSize)
    std::uint64_t followed = 0;  // sets followed: all of them, or the sample
    bool sampled = false;        // followed < sets
    std::size_t judged = 0;      // draws judged: L - 1 (0 when L < 2); when stopped,
                                 // those judged before it stopped
    GroupCount groups[kWaitGroupCount];
    // Before each judged draw, the kTopSets followed sets with the longest
    // waits (equal waits: the sets in ascending order): how many came up.
    std::uint64_t topChances = 0, topAppearances = 0;
    // What chance gives for topAppearances: topChances x p, and its 95% range
    // (from the variance of each draw's count, the top sets' overlaps taken
    // into account).
    CountRange topExpected{};
    // progress stopped it; the counts are then those of the first judged + 1
    // draws, as if the list ended there.
    bool stopped = false;
};

// Called now and then in the calling thread with the part done, 0..1;
// returns false to stop.
using BacktestProgress = std::function<bool(double done)>;

// The backtest of the query over the draw lines (read as parseLine reads them;
// numbers outside 1..query.maxNumber are ignored), draws of `drawn` numbers.
// The sample, where there is one (of `mostFollowed` sets), is the same for
// the same query on every run. `threads` may share the work; the result is the same for any count.
// Memory: some 20 bytes a followed set, 40 bytes a draw and thread, and the
// sets that appear in the draws walked at a time (about 10 MB in all for
// 200,000 sets over the whole Multi Multi history).
// REQUIRES the query as waitOdds requires it, query.setSize <= 10.
Backtest backtest(const std::vector<std::string>& draws, const NeverDrawnQuery& query, int drawn,
                  const BacktestProgress& progress = nullptr, int threads = 1,
                  std::uint64_t mostFollowed = kMostFollowedSets);

// What the verdict judges: a group where chance expects at least this many
// appearances, and the top line where it expects as many; the others are
// shown but say too little.
constexpr double kLeastExpected = 10;
bool judgedGroup(const Backtest& result, int group);
bool judgedTop(const Backtest& result);
// A judged group's or the top line's place against chance: -1 below its
// range, +1 above, 0 within (or not judged).
int sideOfGroup(const Backtest& result, int group);
int sideOfTop(const Backtest& result);
// The judged groups and top line outside their ranges.
int outsideCount(const Backtest& result);

}  // namespace zestawy
