#include "search/backtest_chance.hpp"

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace zestawy {

namespace {

// A history of `lines` uniform draws, "3,17,42,...", from its own generator.
std::vector<std::string> uniformHistory(std::size_t lines, int top, int drawn, std::uint64_t seed) {
    std::mt19937_64 gen(seed);
    std::vector<int> pool(static_cast<std::size_t>(top));
    std::iota(pool.begin(), pool.end(), 1);
    std::vector<std::string> history(lines);
    for (std::string& line : history) {
        for (int j = 0; j < drawn; ++j) {
            std::uniform_int_distribution<int> pick(j, top - 1);
            std::swap(pool[static_cast<std::size_t>(j)], pool[static_cast<std::size_t>(pick(gen))]);
            line += (j ? "," : "") + std::to_string(pool[static_cast<std::size_t>(j)]);
        }
    }
    return history;
}

// The groups and top line of `simulated` outside their ranges, of those that
// `real` judged.
int outsideAsJudged(const Backtest& real, const Backtest& simulated) {
    const double p = simulated.perDraw;
    int outside = 0;
    for (int g = 0; g < kWaitGroupCount; ++g) {
        const GroupCount& group = simulated.groups[g];
        outside += judgedGroup(real, g) && group.chances > 0 && (group.low > p || group.high < p);
    }
    const CountRange& top = simulated.topExpected;
    outside += judgedTop(real) &&
               (simulated.topAppearances > top.high || simulated.topAppearances < top.low);
    return outside;
}

}  // namespace

ChanceOutside chanceOutside(const Backtest& real, std::size_t lines, const NeverDrawnQuery& query,
                            int drawn, const BacktestProgress& progress, int threads,
                            int histories) {
    ChanceOutside chance;
    chance.least = std::max(1, outsideCount(real));
    const std::uint64_t seed =
        0x63686e63ull ^ (std::uint64_t{lines} << 24) ^
        static_cast<std::uint64_t>(query.maxNumber << 16 | query.setSize << 8 | query.subsetSize);
    for (int h = 0; h < histories; ++h) {
        const double before = static_cast<double>(h) / histories;
        const BacktestProgress part = [&](double done) {
            return !progress || progress(before + done / histories);
        };
        const Backtest simulated = backtest(
            uniformHistory(lines, query.maxNumber, drawn, seed + static_cast<std::uint64_t>(h)),
            query, drawn, part, threads, kChanceFollowedSets);
        if (simulated.stopped) {
            chance.stopped = true;
            return chance;
        }
        ++chance.histories;
        chance.outside += outsideAsJudged(real, simulated) >= chance.least;
    }
    return chance;
}

// The verdict on one backtest (search/backtest.hpp), against which the
// simulated histories above are judged too.
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
