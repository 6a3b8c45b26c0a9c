// What a wheel surely hits, the chance of its best ticket's hits and its
// count over a history, each against the plain walk over every draw.
#include "wheel/hits.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "combinatorics/parse.hpp"
#include "commands/ranking_text.hpp"
#include "commands/wheel_text.hpp"
#include "history/history.hpp"
#include "wheel/designs.hpp"

namespace zestawy {
namespace {

// Every `size`-subset of 0..n-1 as a mask, by a bool selector.
template <class Visit>
void everySubset(int n, int size, Visit visit) {
    std::vector<bool> chosen(static_cast<std::size_t>(n), false);
    std::fill(chosen.begin(), chosen.begin() + size, true);
    do {
        WheelMask mask = 0;
        for (int i = 0; i < n; ++i)
            if (chosen[static_cast<std::size_t>(i)]) mask |= WheelMask{1} << i;
        visit(mask);
    } while (std::prev_permutation(chosen.begin(), chosen.end()));
}

int literalBest(const std::vector<WheelMask>& tickets, WheelMask drawn) {
    int best = 0;
    for (WheelMask ticket : tickets) best = std::max(best, __builtin_popcountll(ticket & drawn));
    return best;
}

TEST(WheelHits, SureHitsAndTheChanceOfTheBestTicketAgreeWithTheLiteralWalk) {
    for (unsigned seed = 1; seed <= 120; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        const int v = pick(1, 11), k = pick(1, v), most = pick(0, v);
        std::vector<WheelMask> tickets(static_cast<std::size_t>(pick(1, 8)));
        for (WheelMask& ticket : tickets)
            while (__builtin_popcountll(ticket) < k) ticket |= WheelMask{1} << pick(0, v - 1);

        // A small limit leaves some counts to be bounded by their neighbours.
        const std::uint64_t limit = seed % 3 == 0 ? pick(1, 40) : 1u << 30;
        const std::vector<SureHits> sure = sureHits(tickets, v, k, most, limit, 1 + seed % 2);
        ASSERT_EQ(sure.size(), static_cast<std::size_t>(most) + 1);
        for (int j = 0; j <= most; ++j) {
            int fewest = k;
            everySubset(v, j,
                        [&](WheelMask d) { fewest = std::min(fewest, literalBest(tickets, d)); });
            const SureHits& s = sure[static_cast<std::size_t>(j)];
            EXPECT_LE(s.low, fewest) << j;
            EXPECT_GE(s.high, fewest) << j;
            if (limit > 1000) {
                EXPECT_EQ(s.low, s.high) << j;
            }
        }

        // A game of maxNumber numbers whose first v are the player's.
        const int maxNumber = v + pick(0, 6), drawn = pick(1, std::min(maxNumber, 7));
        std::vector<double> expected(static_cast<std::size_t>(k) + 1, 0.0);
        double draws = 0;
        everySubset(maxNumber, drawn, [&](WheelMask d) {
            expected[static_cast<std::size_t>(
                literalBest(tickets, d & ((WheelMask{1} << v) - 1)))] += 1;
            draws += 1;
        });
        for (const bool sampled : {false, true}) {
            const HitsChance chance =
                bestHitsChance(tickets, v, k, maxNumber, drawn, sampled ? 0 : 1u << 30, 40000);
            ASSERT_EQ(chance.chance.size(), expected.size());
            for (std::size_t h = 0; h < expected.size(); ++h)
                EXPECT_NEAR(chance.chance[h], expected[h] / draws, sampled ? 0.02 : 1e-9)
                    << "hits " << h << (sampled ? ", sampled" : "");
        }
    }
}

TEST(WheelHits, TheBestTicketOverEachGamesHistoryIsTheBruteForcesCount) {
    struct Case {
        Game game;
        std::vector<int> numbers;
        int k;
    };
    const Case cases[] = {
        {Game::Lotto, {3, 5, 8, 11, 13, 17, 22, 27, 30, 33, 41, 49}, 6},
        {Game::MiniLotto, {1, 4, 9, 12, 15, 20, 26, 33, 37, 42}, 5},
        {Game::MultiMulti, {2, 7, 11, 19, 24, 38, 40, 41, 55, 63, 71, 80}, 5},
    };
    for (const Case& c : cases) {
        const GameRow& game = gameRow(c.game);
        SCOPED_TRACE(game.name);
        std::vector<std::string> lines;
        ASSERT_EQ(readHistoryFile(std::string(ZESTAWY_DATA_DIR) + "/" + game.historyFileUtf8, lines,
                                  kMaxHistoryBytes),
                  HistoryRead::Ok);
        const RankingDraws taken = rankingDraws(lines, 0, game.rules);
        const int v = static_cast<int>(c.numbers.size());
        // The table's system where it has one, else a made one.
        const WheelShape shape{v, c.k, 3, 3};
        const WheelMade made = makeSystem(shape, 0.2, 1, {});
        ASSERT_TRUE(made.verified);
        const std::vector<WheelMask>& tickets = made.found.tickets;

        std::vector<std::size_t> expected(static_cast<std::size_t>(c.k) + 1, 0);
        for (const std::string& draw : taken.draws) {
            std::set<int> drawn;
            forEachNumber(draw, [&](int n) { drawn.insert(n); });
            int best = 0;
            for (WheelMask ticket : tickets) {
                int hits = 0;
                for (int p : positionsOf(ticket))
                    hits += drawn.count(c.numbers[static_cast<std::size_t>(p)]) > 0;
                best = std::max(best, hits);
            }
            ++expected[static_cast<std::size_t>(best)];
        }
        EXPECT_EQ(bestHitsCounts(tickets, c.k, drawMasks(taken.draws, c.numbers)), expected);
    }
}

}  // namespace
}  // namespace zestawy
