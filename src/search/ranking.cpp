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

    // How many sets qualify over the lines of the index, counting no further
    // than limit. Throws Stopped.
    std::size_t countUpTo(const CompletionIndex& index, std::size_t limit) {
        const Sharing sharing = sharingOfWalk();
        const std::uint64_t count = countNeverDrawn(index, query_, sharing, limit);
        endWalk();
        return static_cast<std::size_t>(count);
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

    // The longest wait `floor` at which at least `wanted` sets still wait: the
    // answer is the fewer than `wanted` sets that wait longer, then the first
    // sets in order that wait exactly `floor`. The number of sets waiting at
    // least w, those that qualify over the last w lines, only falls as w grows:
    // the search doubles w until too few are left, then halves the gap. Its
    // index only ever takes in more lines, from a copy of the one at `floor`.
    CompletionIndex atFloor = ranking.empty();
    const std::size_t wanted = ranking.countUpTo(atFloor, top);
    if (wanted == 0) return {};
    std::size_t floor = 0, above = lines + 1;  // waits >= floor: enough; >= above: too few
    auto probe = [&](std::size_t w) {
        CompletionIndex next = ranking.grown(atFloor, floor, w);
        if (ranking.countUpTo(next, wanted) < wanted) {
            above = w;
        } else {
            floor = w;
            atFloor = std::move(next);
        }
    };
    for (std::size_t step = 1; floor < lines && above > lines; step *= 2)
        probe(std::min(floor + step, lines));
    ranking.expectWalks(bitsOf(above - floor) + 2);
    while (above - floor > 1) probe(floor + (above - floor) / 2);

    std::vector<RankedSet> result;  // first the sets that wait longer than floor
    if (floor < lines) {
        ranking.forEach(ranking.grown(atFloor, floor, floor + 1), [&](const int* numbers) {
            result.push_back(ranking.ranked(numbers));
            return true;
        });
        std::stable_sort(result.begin(), result.end(),
                         [](const RankedSet& a, const RankedSet& b) { return a.wait > b.wait; });
    }
    ranking.forEach(atFloor, [&](const int* numbers) {
        RankedSet set = ranking.ranked(numbers);
        if (set.wait == floor) result.push_back(std::move(set));
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
