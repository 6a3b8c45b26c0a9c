#include "search/ranking.hpp"

#include <algorithm>

#include "combinatorics/parse.hpp"

namespace zestawy {

namespace {

class Ranking {
  public:
    Ranking(const std::vector<std::string>& draws, const NeverDrawnQuery& query,
            const RankingProgress& progress)
        : draws_(draws), query_(query), progress_(progress) {
        for (const std::string& line : draws) {
            NumberMask numbers;
            for (int v : parseLine(line))
                if (v >= 1 && v <= query.maxNumber) numbers.set(v);
            lines_.push_back(numbers);
        }
    }

    std::size_t length() const { return draws_.size(); }

    // Visits the sets that wait at least w, that is the sets that qualify over
    // the last w lines, in ascending order, until visit returns false.
    template <class Visit>
    void forEachWaitingAtLeast(std::size_t w, Visit&& visit) {
        if (progress_) progress_(walks_, walksInAll_);
        ++walks_;
        const std::vector<std::string> last(draws_.end() - static_cast<std::ptrdiff_t>(w),
                                            draws_.end());
        forEachNeverDrawn(last, query_, visit);
    }

    // How many sets wait at least w, counting no further than limit.
    std::size_t countWaitingAtLeast(std::size_t w, std::size_t limit) {
        std::size_t count = 0;
        forEachWaitingAtLeast(w, [&](const int*) { return ++count < limit; });
        return count;
    }

    // Whether the set appeared in the line: the line holds k of its numbers.
    bool appearedIn(const NumberMask& set, std::size_t line) const {
        return (set & lines_[line]).hasAtLeast(query_.subsetSize);
    }

    RankedSet ranked(const int* numbers) const {
        NumberMask set;
        for (int i = 0; i < query_.setSize; ++i) set.set(numbers[i]);
        std::size_t line = lines_.size();
        while (line > 0 && !appearedIn(set, line - 1)) --line;
        return {std::vector<int>(numbers, numbers + query_.setSize), lines_.size() - line,
                static_cast<long long>(line) - 1};
    }

    void expectWalks(int walks) { walksInAll_ = walks_ + walks; }

  private:
    const std::vector<std::string>& draws_;
    const NeverDrawnQuery query_;
    const RankingProgress& progress_;
    std::vector<NumberMask> lines_;  // each line's numbers of 1..maxNumber
    int walks_ = 0, walksInAll_ = 0;
};

int log2Ceil(std::size_t n) {
    int bits = 0;
    while ((std::size_t{1} << bits) < n) ++bits;
    return bits;
}

}  // namespace

std::vector<RankedSet> longestWaits(const std::vector<std::string>& draws,
                                    const NeverDrawnQuery& query, std::size_t top,
                                    const RankingProgress& progress) {
    Ranking ranking(draws, query, progress);
    const std::size_t lines = ranking.length();
    ranking.expectWalks(log2Ceil(lines + 1) + 3);

    // The longest wait `floor` at which at least `wanted` sets still wait: the
    // answer is the fewer than `wanted` sets that wait longer, then the first
    // sets in order that wait exactly `floor`. The number of sets waiting at
    // least w only falls as w grows, so a binary search finds it.
    const std::size_t wanted = ranking.countWaitingAtLeast(0, top);
    if (wanted == 0) return {};
    std::size_t floor = 0, above = lines + 1;  // waits >= floor: enough; >= above: too few
    while (above - floor > 1) {
        const std::size_t middle = floor + (above - floor) / 2;
        if (ranking.countWaitingAtLeast(middle, wanted) >= wanted)
            floor = middle;
        else
            above = middle;
    }
    ranking.expectWalks(floor < lines ? 2 : 1);

    std::vector<RankedSet> longer;  // the sets that wait longer than floor
    if (floor < lines) {
        ranking.forEachWaitingAtLeast(floor + 1, [&](const int* numbers) {
            longer.push_back(ranking.ranked(numbers));
            return true;
        });
        std::stable_sort(longer.begin(), longer.end(),
                         [](const RankedSet& a, const RankedSet& b) { return a.wait > b.wait; });
    }
    std::vector<RankedSet> result = std::move(longer);
    ranking.forEachWaitingAtLeast(floor, [&](const int* numbers) {
        RankedSet set = ranking.ranked(numbers);
        if (set.wait == floor) result.push_back(std::move(set));
        return result.size() < wanted;
    });
    return result;
}

}  // namespace zestawy
