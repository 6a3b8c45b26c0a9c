// The backtest in one pass over the draws, some multiple of 64 at a time.
//
// Each number's draws are a bitset over the draw list, 64 draws a word; a
// set's appearances among 64 draws are then one word, "at least k of its
// numbers' words have the bit", counted bit-sliced. For each word of draws
// each part of the followed sets (a contiguous range, one per thread) walks
// its sets in order and each set's appearances in time order: an appearance
// at t closes the run of draws since the set's previous one, over which its
// wait rose by one a draw, so the draws at which the wait stood in a group
// are one range per group, added to that group's difference array over the
// draws. Only runs that reach past the first group are counted so: at every
// draw the first group holds whatever sets and appearances the others do
// not, and most appearances end a short run. The part also lists its
// appearing sets draw by draw, in set order.
//
// The top line then goes draw by draw in the calling thread over a list of
// the followed sets ordered by (last appearance, set order): the head holds
// the longest waits, and the sets that appear in a draw move to the tail in
// the order the parts listed them. Nothing here depends on the number of
// threads, so neither does the result.
#include "search/backtest.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <random>
#include <system_error>
#include <thread>

#include "combinatorics/number_mask.hpp"
#include "combinatorics/parse.hpp"
#include "search/shared_walk.hpp"

namespace zestawy {

const WaitGroup kWaitGroups[kWaitGroupCount] = {
    {"<1", 0, 1}, {"1-2", 1, 2}, {"2-3", 2, 3}, {"3-5", 3, 5}, {">5", 5, 1e300},
};

namespace {

constexpr int kMostSetSize = 10;
// The walk takes whole words of draws at a time, as many as keep the lists of
// appearing sets near a million entries, at most this many.
constexpr std::size_t kMostChunkWords = 16;
constexpr double kChunkAppearances = 1e6;
constexpr std::uint32_t kNoSet = UINT32_MAX;
// Below this many sets a part is not worth a thread.
constexpr std::uint64_t kFewestSetsPerThread = 4096;

std::uint64_t exactChoose(int n, int k) {
    if (k < 0 || k > n) return 0;
    std::uint64_t c = 1;  // C(n - k + i, i) after step i: exact at every step
    for (int i = 1; i <= k; ++i) c = c * static_cast<std::uint64_t>(n - k + i) / i;
    return c;
}

// The chance that two sets of the query sharing `shared` numbers both appear
// in one draw: the draw's hits among the shared numbers, each set's own
// numbers and the rest, as a multivariate hypergeometric.
double bothAppear(int drawn, const NeverDrawnQuery& q, int shared) {
    const int own = q.setSize - shared, rest = q.maxNumber - 2 * q.setSize + shared;
    double ways = 0;
    for (int x = 0; x <= shared; ++x)
        for (int y = std::max(0, q.subsetSize - x); y <= own; ++y)
            for (int z = std::max(0, q.subsetSize - x); z <= own; ++z)
                ways += choose(shared, x) * choose(own, y) * choose(own, z) *
                        choose(rest, drawn - x - y - z);
    return ways / choose(q.maxNumber, drawn);
}

// The followed sets, query.setSize numbers each, in ascending lexicographic
// order: every set, or where there are twice `most` or more, a sample of
// `most` drawn by their lexicographic ranks from a generator seeded by the
// query alone (so that few picks repeat and the draw takes time in proportion
// to the sample).
std::vector<std::uint8_t> followedSets(const NeverDrawnQuery& q, std::uint64_t sets,
                                       std::uint64_t most) {
    const int n = q.setSize;
    std::vector<std::uint8_t> numbers;
    if (sets < 2 * most) {
        numbers.reserve(sets * static_cast<std::uint64_t>(n));
        int set[kMostSetSize];
        for (int i = 0; i < n; ++i) set[i] = i + 1;
        for (;;) {
            for (int i = 0; i < n; ++i) numbers.push_back(static_cast<std::uint8_t>(set[i]));
            int i = n - 1;
            while (i >= 0 && set[i] == q.maxNumber - (n - 1 - i)) --i;
            if (i < 0) break;
            ++set[i];
            for (int j = i + 1; j < n; ++j) set[j] = set[j - 1] + 1;
        }
        return numbers;
    }
    std::mt19937_64 gen(0x5a657374617779ull ^ (static_cast<std::uint64_t>(q.subsetSize) << 16 |
                                               static_cast<std::uint64_t>(n) << 8 |
                                               static_cast<std::uint64_t>(q.maxNumber)));
    std::vector<std::uint64_t> ranks;
    while (ranks.size() < most) {
        for (std::size_t i = ranks.size(); i < most; ++i)
            ranks.push_back(
                static_cast<std::uint64_t>((static_cast<unsigned __int128>(gen()) * sets) >> 64));
        std::sort(ranks.begin(), ranks.end());
        ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
    }
    numbers.reserve(most * static_cast<std::uint64_t>(n));
    for (std::uint64_t rank : ranks) {
        // Sets that start with v, then n - i - 1 numbers above it: C(max - v, n - i - 1).
        for (int i = 0, v = 1; i < n; ++i, ++v) {
            for (;; ++v) {
                const std::uint64_t starting = exactChoose(q.maxNumber - v, n - i - 1);
                if (rank < starting) break;
                rank -= starting;
            }
            numbers.push_back(static_cast<std::uint8_t>(v));
        }
    }
    return numbers;
}

// The waits at which each group starts: group g holds the waits
// starts[g] <= w < starts[g + 1], as w / gap compares with its bounds. Past
// the longest possible wait (the length of the list) every start is the same.
struct GroupStarts {
    std::int64_t at[kWaitGroupCount + 1];

    GroupStarts(double gap, std::int64_t beyond) {
        auto inOrAbove = [&](std::int64_t w, double from) {
            return static_cast<double>(w) / gap >= from;
        };
        for (int g = 0; g <= kWaitGroupCount; ++g) {
            const double from = g < kWaitGroupCount ? kWaitGroups[g].from : 1e300;
            const double guess = std::ceil(from * gap);
            if (!(guess < static_cast<double>(beyond))) {
                at[g] = beyond;
                continue;
            }
            std::int64_t w = std::max<std::int64_t>(0, static_cast<std::int64_t>(guess));
            while (w > 0 && inOrAbove(w - 1, from)) --w;
            while (w < beyond && !inOrAbove(w, from)) ++w;
            at[g] = w;
        }
    }
    int groupOf(std::int64_t wait) const {
        int g = 0;
        while (g + 1 < kWaitGroupCount && at[g + 1] <= wait) ++g;
        return g;
    }
};

// What the walk reads: the draws as bitsets and the followed sets.
struct Walk {
    const NeverDrawnQuery& query;
    std::size_t lines;                  // L
    std::vector<std::uint64_t> bits;    // word w of number v at w * (maxNumber + 1) + v
    std::vector<std::uint8_t> numbers;  // setSize per followed set
    GroupStarts starts;

    const std::uint64_t* wordsAt(std::size_t word) const {
        return &bits[word * static_cast<std::size_t>(query.maxNumber + 1)];
    }
    const std::uint8_t* set(std::uint32_t s) const {
        return &numbers[static_cast<std::size_t>(s) * static_cast<std::size_t>(query.setSize)];
    }
};

// The draws among one word's 64 in which at least K of the set's n numbers
// were drawn.
template <int K>
std::uint64_t appearances(const std::uint8_t* set, int n, const std::uint64_t* words) {
    if (K == n) {
        std::uint64_t all = ~0ull;
        for (int i = 0; i < n; ++i) all &= words[set[i]];
        return all;
    }
    if (K == 1) {
        std::uint64_t any = 0;
        for (int i = 0; i < n; ++i) any |= words[set[i]];
        return any;
    }
    // atLeast[j]: the draws with at least j of the numbers so far.
    std::uint64_t atLeast[K + 1] = {~0ull};
    for (int i = 0; i < n; ++i) {
        const std::uint64_t drawn = words[set[i]];
        for (int j = K; j >= 1; --j) atLeast[j] |= atLeast[j - 1] & drawn;
    }
    return atLeast[K];
}

std::uint64_t appearances(const Walk& walk, std::uint32_t s, std::size_t word) {
    const std::uint8_t* set = walk.set(s);
    const int n = walk.query.setSize;
    const std::uint64_t* words = walk.wordsAt(word);
    switch (walk.query.subsetSize) {
        case 1:
            return appearances<1>(set, n, words);
        case 2:
            return appearances<2>(set, n, words);
        case 3:
            return appearances<3>(set, n, words);
        case 4:
            return appearances<4>(set, n, words);
        default:
            return appearances<5>(set, n, words);
    }
}

// One thread's contiguous range of the followed sets and its own counts.
struct Part {
    std::uint32_t from = 0, to = 0;
    std::vector<std::uint32_t> appeared;             // group g, draw t at g * L + t
    std::vector<std::int32_t> change;                // chances: difference array, g * (L + 1) + t
    std::vector<std::vector<std::uint32_t>> byDraw;  // the chunk's draws: the sets that appeared

    // The set that last appeared in draw `last` (-1: never) waited in every
    // draw from last + 1 to `end`: its chances there, judged draws only, in
    // every group but the first (which gets what the others leave).
    void addChances(const GroupStarts& starts, std::size_t lines, std::int64_t last,
                    std::int64_t end) {
        const std::int64_t base = last + 1, first = std::max<std::int64_t>(1, base);
        for (int g = 1; g < kWaitGroupCount; ++g) {
            const std::int64_t low = std::max(first, base + starts.at[g]);
            const std::int64_t high = std::min(end + 1, base + starts.at[g + 1]);
            if (low > end) break;
            if (low >= high) continue;
            std::int32_t* row = &change[static_cast<std::size_t>(g) * (lines + 1)];
            ++row[low];
            --row[high];
        }
    }

    // The part's sets over the words [firstWord, endWord) of the draws.
    void walk(const Walk& w, std::vector<std::int32_t>& lastSeen, std::size_t firstWord,
              std::size_t endWord) {
        const std::size_t chunkStart = firstWord * 64;
        for (std::uint32_t s = from; s < to; ++s) {
            std::int64_t last = lastSeen[s];
            for (std::size_t word = firstWord; word < endWord; ++word) {
                for (std::uint64_t hits = appearances(w, s, word); hits != 0; hits &= hits - 1) {
                    const std::size_t t =
                        word * 64 + static_cast<std::size_t>(__builtin_ctzll(hits));
                    byDraw[t - chunkStart].push_back(s);
                    // A run within the first group: the draw's count of
                    // appearing sets counts it.
                    const auto at = static_cast<std::int64_t>(t);
                    if (at - last - 1 >= w.starts.at[1] && t >= 1) {
                        addChances(w.starts, w.lines, last, at);
                        const int g = w.starts.groupOf(at - last - 1);
                        ++appeared[static_cast<std::size_t>(g) * w.lines + t];
                    }
                    last = at;
                }
            }
            lastSeen[s] = static_cast<std::int32_t>(last);
        }
    }
};

// Runs every part's walk over the words, part 0 in the calling thread.
void walkParts(const Walk& walk, std::vector<Part>& parts, std::vector<std::int32_t>& lastSeen,
               std::size_t firstWord, std::size_t endWord) {
    std::vector<std::thread> others;
    std::vector<std::exception_ptr> failed(parts.size());
    std::size_t started = 1;
    try {
        for (; started < parts.size(); ++started)
            others.emplace_back([&, started] {
                try {
                    parts[started].walk(walk, lastSeen, firstWord, endWord);
                } catch (...) {
                    failed[started] = std::current_exception();
                }
            });
    } catch (const std::system_error&) {
        // A thread that would not start: its parts are walked here.
    }
    try {
        for (std::size_t p = 0; p < parts.size(); ++p)
            if (p == 0 || p >= started) parts[p].walk(walk, lastSeen, firstWord, endWord);
    } catch (...) {
        failed[0] = std::current_exception();
    }
    for (std::thread& thread : others) thread.join();
    for (const std::exception_ptr& e : failed)
        if (e) std::rethrow_exception(e);
}

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
    const double width = 1.96 * std::sqrt(variance);
    group.low = std::max(0.0, group.rate - width);
    group.high = std::min(1.0, group.rate + width);
}

}  // namespace

Backtest backtest(const std::vector<std::string>& draws, const NeverDrawnQuery& query, int drawn,
                  const BacktestProgress& progress, int threads, std::uint64_t mostFollowed) {
    Backtest result;
    const double p = appearChance(drawn, query);
    const std::size_t lines = draws.size();
    result.perDraw = p;
    result.sets = exactChoose(query.maxNumber, query.setSize);

    Walk walk{query,
              lines,
              {},
              followedSets(query, result.sets, mostFollowed),
              GroupStarts(1 / p, static_cast<std::int64_t>(lines) + 1)};
    const auto followed = static_cast<std::uint32_t>(walk.numbers.size() / query.setSize);
    result.followed = followed;
    result.sampled = followed < result.sets;

    const std::size_t words = (lines + 63) / 64;
    const auto width = static_cast<std::size_t>(query.maxNumber + 1);
    walk.bits.assign(words * width, 0);
    for (std::size_t t = 0; t < lines; ++t)
        forEachNumber(draws[t], [&](int v) {
            if (v >= 1 && v <= query.maxNumber)
                walk.bits[t / 64 * width + static_cast<std::size_t>(v)] |= 1ull << (t % 64);
        });

    const double perWord = 64.0 * followed * p;
    const std::size_t chunkDraws =
        64 * static_cast<std::size_t>(std::clamp(std::floor(kChunkAppearances / perWord), 1.0,
                                                 static_cast<double>(kMostChunkWords)));
    // The parts: nearly equal ranges of sets, in order.
    const std::uint64_t most = std::max<std::uint64_t>(1, followed / kFewestSetsPerThread);
    const auto partCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        most, static_cast<std::uint64_t>(std::clamp(threads, 1, kMaxWalkThreads))));
    std::vector<Part> parts(partCount);
    for (std::uint32_t i = 0; i < partCount; ++i) {
        Part& part = parts[i];
        part.from = static_cast<std::uint32_t>(std::uint64_t{followed} * i / partCount);
        part.to = static_cast<std::uint32_t>(std::uint64_t{followed} * (i + 1) / partCount);
        part.appeared.assign(kWaitGroupCount * lines, 0);
        part.change.assign(kWaitGroupCount * (lines + 1), 0);
        part.byDraw.resize(chunkDraws);
    }

    // The covariance of two top sets' appearances by the numbers they share.
    std::vector<double> covariance(static_cast<std::size_t>(query.setSize));
    for (int shared = 0; shared < query.setSize; ++shared)
        covariance[static_cast<std::size_t>(shared)] = bothAppear(drawn, query, shared) - p * p;
    const int topCount = static_cast<int>(std::min<std::uint64_t>(kTopSets, followed));
    double topVariance = 0;

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
            if (t >= 1) {
                // The top line: the head of the order, before draw t moves it.
                NumberMask masks[kTopSets];
                std::uint32_t s = order.first();
                for (int i = 0; i < topCount; ++i, s = order.after(s)) {
                    const std::uint8_t* set = walk.set(s);
                    for (int j = 0; j < query.setSize; ++j) masks[i].set(set[j]);
                    result.topAppearances += appearances(walk, s, t / 64) >> (t % 64) & 1;
                }
                result.topChances += static_cast<std::uint64_t>(topCount);
                topVariance += topCount * p * (1 - p);
                for (int i = 0; i < topCount; ++i)
                    for (int j = i + 1; j < topCount; ++j)
                        topVariance +=
                            2 * covariance[static_cast<std::size_t>((masks[i] & masks[j]).count())];
            }
            for (Part& part : parts) {
                for (std::uint32_t s : part.byDraw[t - done]) order.moveToEnd(s);
                appearing[t] += static_cast<std::uint32_t>(part.byDraw[t - done].size());
            }
        }
        for (Part& part : parts)
            for (auto& list : part.byDraw) list.clear();
        done = end;
    }

    // Every set waits on from its last appearance to the last draw walked.
    Part& total = parts[0];
    for (std::uint32_t s = 0; s < followed; ++s)
        total.addChances(walk.starts, lines, lastSeen[s], static_cast<std::int64_t>(done) - 1);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        for (std::size_t j = 0; j < total.appeared.size(); ++j)
            total.appeared[j] += parts[i].appeared[j];
        for (std::size_t j = 0; j < total.change.size(); ++j) total.change[j] += parts[i].change[j];
    }
    result.judged = done >= 1 ? done - 1 : 0;
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

    const double expected = static_cast<double>(result.topChances) * p;
    const double spread = 1.96 * std::sqrt(std::max(0.0, topVariance));
    result.topExpected.expected = expected;
    result.topExpected.low =
        static_cast<std::uint64_t>(std::max(0.0, std::floor(expected - spread)));
    result.topExpected.high = static_cast<std::uint64_t>(std::ceil(expected + spread));
    return result;
}

bool judgedGroup(const Backtest& r, int g) {
    return static_cast<double>(r.groups[g].chances) * r.perDraw >= kLeastExpected;
}

bool judgedTop(const Backtest& r) {
    return r.topExpected.expected >= kLeastExpected;
}

int sideOfGroup(const Backtest& r, int g) {
    if (!judgedGroup(r, g)) return 0;
    const GroupCount& group = r.groups[g];
    return group.low > r.perDraw ? 1 : group.high < r.perDraw ? -1 : 0;
}

int sideOfTop(const Backtest& r) {
    if (!judgedTop(r)) return 0;
    return r.topAppearances > r.topExpected.high  ? 1
           : r.topAppearances < r.topExpected.low ? -1
                                                  : 0;
}

int outsideCount(const Backtest& r) {
    int outside = sideOfTop(r) != 0;
    for (int g = 0; g < kWaitGroupCount; ++g) outside += sideOfGroup(r, g) != 0;
    return outside;
}

}  // namespace zestawy
