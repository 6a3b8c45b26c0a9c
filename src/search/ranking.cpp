#include "search/ranking.hpp"

#include <algorithm>

#include "combinatorics/parse.hpp"

namespace zestawy {

namespace {

// The lines' numbers of 1..maxNumber, oldest first.
std::vector<NumberMask> masksOf(const std::vector<std::string>& draws, int maxNumber) {
    std::vector<NumberMask> lines;
    for (const std::string& line : draws) {
        NumberMask numbers;
        for (int v : parseLine(line))
            if (v >= 1 && v <= maxNumber) numbers.set(v);
        lines.push_back(numbers);
    }
    return lines;
}

// waits[v]: lines after the newest that holds v and all of `with`.
std::vector<std::size_t> waitsWith(const std::vector<std::string>& draws, int maxNumber,
                                   const NumberMask& with) {
    const std::vector<NumberMask> lines = masksOf(draws, maxNumber);
    std::vector<std::size_t> waits(static_cast<std::size_t>(maxNumber) + 1, lines.size());
    NumberMask seen;
    for (std::size_t back = 0; back < lines.size(); ++back) {
        const NumberMask& line = lines[lines.size() - 1 - back];
        if (with.count() > 0 && !(line & with).hasAtLeast(with.count())) continue;
        for (int v = 1; v <= maxNumber; ++v)
            if (line.test(v) && !seen.test(v)) {
                seen.set(v);
                waits[static_cast<std::size_t>(v)] = back;
            }
    }
    return waits;
}

struct Stopped {};

class Ranking {
  public:
    Ranking(const std::vector<std::string>& draws, const NeverDrawnQuery& query,
            const RankingProgress& progress, int threads)
        : draws_(draws),
          query_(query),
          progress_(progress),
          threads_(threads),
          lines_(masksOf(draws, query.maxNumber)) {}

    std::size_t length() const { return draws_.size(); }

    // An index of the last `to` lines from one of the last `from`.
    CompletionIndex grown(const CompletionIndex& index, std::size_t from, std::size_t to) const {
        CompletionIndex more = index;
        more.add(draws_.data() + (draws_.size() - to), to - from, threads_);
        return more;
    }
    CompletionIndex empty() const { return CompletionIndex(query_.subsetSize, query_.maxNumber); }

    // Visits the sets that qualify over the lines of the index, in ascending
    // order, until visit returns false.
    // The walk goes first number by first number, so that progress is told,
    // and a stop seen, every few milliseconds. Throws Stopped.
    template <class Visit>
    void forEach(const CompletionIndex& index, Visit&& visit) {
        const Sharing sharing = sharingOfWalk();
        forEachNeverDrawn(index, query_, sharing, visit);
        endWalk();
    }

    // The set with its wait, found by looking back from the newest line for
    // one that holds k of its numbers.
    RankedSet ranked(const int* numbers) const {
        NumberMask set;
        for (int i = 0; i < query_.setSize; ++i) set.set(numbers[i]);
        std::size_t line = lines_.size();
        while (line > 0 && !(set & lines_[line - 1]).hasAtLeast(query_.subsetSize)) --line;
        return {std::vector<int>(numbers, numbers + query_.setSize), lines_.size() - line,
                static_cast<long long>(line) - 1};
    }

    void expectWalks(int more) { walksInAll_ = walks_ + more; }

  private:
    // Progress is told before each part of a walk; a stop ends the walk and
    // then, through endWalk(), the ranking.
    Sharing sharingOfWalk() {
        Sharing sharing;
        sharing.threads = threads_;
        if (!progress_) return sharing;
        const int inAll = std::max(walks_ + 1, walksInAll_);
        sharing.beforePart = [this, inAll](int first) {
            const double done = (walks_ + (first - 1.0) / query_.maxNumber) / inAll;
            if (!progress_(done)) stopped_ = true;
            return !stopped_;
        };
        return sharing;
    }
    void endWalk() {
        if (stopped_) throw Stopped();
        ++walks_;
    }

    const std::vector<std::string>& draws_;
    const NeverDrawnQuery query_;
    const RankingProgress& progress_;
    const int threads_;
    bool stopped_ = false;
    std::vector<NumberMask> lines_;  // each line's numbers of 1..maxNumber
    int walks_ = 0, walksInAll_ = 0;
};

int bitsOf(std::size_t n) {
    int bits = 0;
    for (; n > 0; n >>= 1) ++bits;
    return bits;
}

std::vector<RankedSet> rank(const std::vector<std::string>& draws, const NeverDrawnQuery& query,
                            std::size_t top, const RankingProgress& progress, int threads) {
    Ranking ranking(draws, query, progress, threads);
    const std::size_t lines = ranking.length();
    ranking.expectWalks(2 * bitsOf(lines) + 3);

    // The sets that wait at least w are those that qualify over the last w
    // lines, and their number only falls as w grows. A walk at a w where at
    // least `top` of them and no more than `most` qualify lists every set that
    // could be in the answer: it is then their `top` longest waits, sets with
    // equal waits in the walk's order. The search for such a w doubles w while
    // too many sets qualify, then halves the gap between too many (`low`) and
    // too few (`high`). Its index only ever takes in more lines, from a copy
    // of the one at `low`.
    const std::size_t most = std::max<std::size_t>(2 * top, 4096);
    const std::size_t n = static_cast<std::size_t>(query.setSize);
    std::vector<int> found;  // the sets of the last walk, in its order; more than `most`: too many
    auto list = [&](const CompletionIndex& index) {
        found.clear();
        ranking.forEach(index, [&](const int* numbers) {
            found.insert(found.end(), numbers, numbers + n);
            return found.size() <= most * n;
        });
        return found.size() / n;
    };
    CompletionIndex atLow = ranking.empty();
    std::size_t low = 0, high = lines + 1, atLowCount = list(atLow);
    if (atLowCount == 0) return {};
    const std::size_t wanted = std::min(top, atLowCount);
    for (std::size_t step = 1; atLowCount > most && high - low > 1; step *= 2) {
        const std::size_t w = high > lines ? std::min(low + step, lines) : low + (high - low) / 2;
        CompletionIndex next = ranking.grown(atLow, low, w);
        const std::size_t count = list(next);
        if (count < wanted) {
            if (high > lines) ranking.expectWalks(bitsOf(w - low) + 2);
            high = w;
        } else {
            low = w;
            atLow = std::move(next);
            atLowCount = count;
        }
    }
    // Longest wait first; equal waits keep the walk's order.
    auto sortByWait = [](std::vector<RankedSet>& sets) {
        std::stable_sort(sets.begin(), sets.end(),
                         [](const RankedSet& a, const RankedSet& b) { return a.wait > b.wait; });
    };
    std::vector<RankedSet> result;
    if (atLowCount <= most) {
        for (std::size_t at = 0; at < found.size(); at += n)
            result.push_back(ranking.ranked(found.data() + at));
        sortByWait(result);
        result.resize(wanted);
        return result;
    }

    // More than `most` sets wait exactly `low`: the fewer than `wanted` sets
    // that wait longer, then the first sets in order that wait `low`.
    if (low < lines) {
        ranking.forEach(ranking.grown(atLow, low, low + 1), [&](const int* numbers) {
            result.push_back(ranking.ranked(numbers));
            return true;
        });
        sortByWait(result);
    }
    ranking.forEach(atLow, [&](const int* numbers) {
        RankedSet set = ranking.ranked(numbers);
        if (set.wait == low) result.push_back(std::move(set));
        return result.size() < wanted;
    });
    return result;
}

}  // namespace

std::vector<RankedSet> longestWaits(const std::vector<std::string>& draws,
                                    const NeverDrawnQuery& query, std::size_t top,
                                    const RankingProgress& progress, int threads) {
    try {
        return rank(draws, query, top, progress, threads);
    } catch (const Stopped&) {
        return {};
    }
}

std::vector<std::size_t> waitsOfNumbers(const std::vector<std::string>& draws, int maxNumber) {
    return waitsWith(draws, maxNumber, NumberMask());
}

std::vector<std::size_t> waitsOfPairsWith(const std::vector<std::string>& draws, int maxNumber,
                                          int number) {
    NumberMask with;
    with.set(number);
    return waitsWith(draws, maxNumber, with);
}

}  // namespace zestawy
