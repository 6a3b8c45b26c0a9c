// The backtest: the counting walk (search/backtest_walk.hpp) goes over the
// draws a chunk at a time, its parts on their threads; after each chunk the
// top line goes over the chunk's draws one by one in the calling thread, over
// a list of the followed sets ordered by (last appearance, set order): the head holds
// the longest waits, and the sets that appear in a draw move to the tail in
// the order the parts listed them. Nothing here depends on the number of
// threads, so neither does the result.
#include "search/backtest.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "combinatorics/choose.hpp"
#include "combinatorics/number_mask.hpp"
#include "search/backtest_sample.hpp"
#include "search/backtest_walk.hpp"

namespace zestawy {

const WaitGroup kWaitGroups[kWaitGroupCount] = {
    {"<1", 0, 1}, {"1-2", 1, 2}, {"2-3", 2, 3}, {"3-5", 3, 5}, {">5", 5, 1e300},
};

std::string waitGroupName(int g) {
    auto number = [](double bound) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", bound);
        std::string s = text;
        std::replace(s.begin(), s.end(), '.', ',');
        return s;
    };
    const WaitGroup& group = kWaitGroups[g];
    if (g == 0) return "poniżej " + number(group.to) + "×";
    if (g == kWaitGroupCount - 1) return "ponad " + number(group.from) + "×";
    return number(group.from) + "–" + number(group.to) + "×";
}

namespace {

using namespace backtest_walk;

// The walk takes whole words of draws at a time, as many as keep the lists of
// appearing sets near a million entries, at most this many.
constexpr std::size_t kMostChunkWords = 16;
constexpr double kChunkAppearances = 1e6;
constexpr std::uint32_t kNoSet = UINT32_MAX;

// The followed sets in the order of their last appearance, and within one
// draw in set order; a circular list through the extra node `followed`.
class WaitOrder {
  public:
    explicit WaitOrder(std::uint32_t followed)
        : prev_(followed + std::size_t{1}), next_(followed + std::size_t{1}), end_(followed) {
        for (std::uint32_t s = 0; s <= followed; ++s) {
            prev_[s] = s == 0 ? followed : s - 1;
            next_[s] = s == followed ? 0 : s + 1;
        }
    }
    std::uint32_t first() const { return next_[end_]; }
    std::uint32_t after(std::uint32_t s) const { return next_[s] == end_ ? kNoSet : next_[s]; }
    void moveToEnd(std::uint32_t s) {
        next_[prev_[s]] = next_[s];
        prev_[next_[s]] = prev_[s];
        prev_[s] = prev_[end_];
        next_[s] = end_;
        next_[prev_[end_]] = s;
        prev_[end_] = s;
    }

  private:
    std::vector<std::uint32_t> prev_, next_;
    std::uint32_t end_;
};

// The 95% interval of a group's rate over draws (see GroupCount).
// appeared[t] and chances[t]: the group's counts in draw t, 1 <= t < endDraw.
void rateOf(GroupCount& group, const std::uint32_t* appeared, const std::int32_t* chances,
            std::size_t endDraw, double p) {
    for (std::size_t t = 1; t < endDraw; ++t) {
        group.chances += static_cast<std::uint64_t>(chances[t]);
        group.appearances += appeared[t];
    }
    if (group.chances == 0) return;
    const double c = static_cast<double>(group.chances);
    const double a = static_cast<double>(group.appearances);
    group.rate = a / c;
    double spread = 0;
    for (std::size_t t = 1; t < endDraw; ++t) {
        const double off = appeared[t] - group.rate * static_cast<double>(chances[t]);
        spread += off * off;
    }
    // Over draws it holds its 95%; only where chance expects fewer than ten
    // appearances is the spread too unsteady, and the binomial's width its floor.
    const double smoothed = (a + 2) / (c + 4);
    const double floor = c * p < 10 ? smoothed * (1 - smoothed) / c : 0;
    const double variance = std::max(spread / (c * c), floor);
    const double width = kBacktestRangeZ * std::sqrt(variance);
    group.low = std::max(0.0, group.rate - width);
    group.high = std::min(1.0, group.rate + width);
}

// The top line: before each judged draw, the head of the wait order.
class TopLine {
  public:
    TopLine(const Walk& walk, int drawn, std::uint32_t followed)
        : walk_(walk),
          p_(appearChance(drawn, walk.query)),
          count_(static_cast<int>(std::min<std::uint64_t>(kTopSets, followed))),
          covariance_(static_cast<std::size_t>(walk.query.setSize)) {
        // The covariance of two top sets' appearances by the numbers they share.
        for (int shared = 0; shared < walk.query.setSize; ++shared)
            covariance_[static_cast<std::size_t>(shared)] =
                bothAppearChance(drawn, walk.query, shared) - p_ * p_;
    }

    // Draw t >= 1, with the order as it stood before the draw.
    void judge(const WaitOrder& order, std::size_t t, Backtest& result) {
        const int n = walk_.query.setSize;
        NumberMask masks[kTopSets];
        std::uint32_t s = order.first();
        for (int i = 0; i < count_; ++i, s = order.after(s)) {
            const std::uint8_t* set = walk_.set(s);
            for (int j = 0; j < n; ++j) masks[i].set(set[j]);
            result.topAppearances += appearances(walk_, s, t / 64) >> (t % 64) & 1;
        }
        result.topChances += static_cast<std::uint64_t>(count_);
        variance_ += count_ * p_ * (1 - p_);
        for (int i = 0; i < count_; ++i)
            for (int j = i + 1; j < count_; ++j)
                variance_ +=
                    2 * covariance_[static_cast<std::size_t>((masks[i] & masks[j]).count())];
    }

    // What chance gives for the draws judged.
    void expect(Backtest& result) const {
        const double expected = static_cast<double>(result.topChances) * p_;
        const double spread = kBacktestRangeZ * std::sqrt(std::max(0.0, variance_));
        result.topExpected.expected = expected;
        result.topExpected.low =
            static_cast<std::uint64_t>(std::max(0.0, std::floor(expected - spread)));
        result.topExpected.high = static_cast<std::uint64_t>(std::ceil(expected + spread));
    }

  private:
    const Walk& walk_;
    double p_;
    int count_;
    std::vector<double> covariance_;
    double variance_ = 0;
};

// Each group's counts over the `done` draws walked, from the parts' runs and
// the number of sets that appeared in each draw.
void countGroups(const Walk& walk, std::vector<Part>& parts,
                 const std::vector<std::int32_t>& lastSeen,
                 const std::vector<std::uint32_t>& appearing, std::size_t done, Backtest& result) {
    const std::size_t lines = walk.lines;
    const auto followed = static_cast<std::uint32_t>(lastSeen.size());
    // Every set waits on from its last appearance to the last draw walked.
    Part& total = parts[0];
    for (std::uint32_t s = 0; s < followed; ++s)
        total.addChances(walk.starts, lines, lastSeen[s], static_cast<std::int64_t>(done) - 1);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        for (std::size_t j = 0; j < total.appeared.size(); ++j)
            total.appeared[j] += parts[i].appeared[j];
        for (std::size_t j = 0; j < total.change.size(); ++j) total.change[j] += parts[i].change[j];
    }
    // Each group's chances draw by draw, in place of their differences; the
    // first group has every set and appearance the others have not.
    std::int32_t* chances[kWaitGroupCount];
    std::uint32_t* appeared[kWaitGroupCount];
    for (int g = 0; g < kWaitGroupCount; ++g) {
        chances[g] = total.change.data() + static_cast<std::size_t>(g) * (lines + 1);
        appeared[g] = total.appeared.data() + static_cast<std::size_t>(g) * lines;
    }
    for (int g = 1; g < kWaitGroupCount; ++g)
        for (std::size_t t = 1; t < done; ++t) chances[g][t] += chances[g][t - 1];
    for (std::size_t t = 1; t < done; ++t) {
        chances[0][t] = static_cast<std::int32_t>(followed);
        appeared[0][t] = appearing[t];
        for (int g = 1; g < kWaitGroupCount; ++g) {
            chances[0][t] -= chances[g][t];
            appeared[0][t] -= appeared[g][t];
        }
    }
    for (int g = 0; g < kWaitGroupCount; ++g)
        rateOf(result.groups[g], appeared[g], chances[g], done, result.perDraw);
}

}  // namespace

Backtest backtest(const std::vector<std::string>& draws, const NeverDrawnQuery& query, int drawn,
                  const BacktestProgress& progress, int threads, std::uint64_t mostFollowed) {
    Backtest result;
    const double p = appearChance(drawn, query);
    const std::size_t lines = draws.size();
    result.perDraw = p;
    result.sets = choose<std::uint64_t>(query.maxNumber, query.setSize);
    const Walk walk{query, lines, drawBits(draws, query),
                    followedSets(query, result.sets, mostFollowed),
                    GroupStarts(1 / p, static_cast<std::int64_t>(lines) + 1)};
    const auto followed = static_cast<std::uint32_t>(walk.numbers.size() / query.setSize);
    result.followed = followed;
    result.sampled = followed < result.sets;

    const double perWord = 64.0 * followed * p;
    const std::size_t chunkDraws =
        64 * static_cast<std::size_t>(std::clamp(std::floor(kChunkAppearances / perWord), 1.0,
                                                 static_cast<double>(kMostChunkWords)));
    std::vector<Part> parts = partsOf(followed, threads, lines, chunkDraws);
    TopLine top(walk, drawn, followed);
    std::vector<std::int32_t> lastSeen(followed, -1);
    std::vector<std::uint32_t> appearing(lines);  // sets that appeared in each draw
    WaitOrder order(followed);
    std::size_t done = 0;  // draws walked
    while (done < lines) {
        if (progress && !progress(static_cast<double>(done) / static_cast<double>(lines))) {
            result.stopped = true;
            break;
        }
        const std::size_t end = std::min(lines, done + chunkDraws);
        walkParts(walk, parts, lastSeen, done / 64, (end + 63) / 64);
        for (std::size_t t = done; t < end; ++t) {
            if (t >= 1) top.judge(order, t, result);
            for (Part& part : parts) {
                for (std::uint32_t s : part.byDraw[t - done]) order.moveToEnd(s);
                appearing[t] += static_cast<std::uint32_t>(part.byDraw[t - done].size());
            }
        }
        for (Part& part : parts)
            for (auto& list : part.byDraw) list.clear();
        done = end;
    }
    result.judged = done >= 1 ? done - 1 : 0;
    countGroups(walk, parts, lastSeen, appearing, done, result);
    top.expect(result);
    return result;
}

}  // namespace zestawy
