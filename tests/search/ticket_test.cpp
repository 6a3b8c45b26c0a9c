// The ticket check against a brute force over the real histories, and the
// binomial ranges of chance against the distribution summed term by term.
#include "search/ticket.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <vector>

#include "combinatorics/parse.hpp"
#include "commands/games.hpp"
#include "search/draw_lists.hpp"

namespace zestawy {
namespace {

TEST(Ticket, EqualsABruteForceOverTheRealHistories) {
    struct Case {
        Game game;
        std::vector<int> ticket;
    };
    const Case cases[] = {
        {Game::MultiMulti, {3, 17, 22, 41, 56}},
        {Game::MultiMulti, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {Game::MultiMulti, {80}},
        {Game::MiniLotto, {1, 12, 23, 34, 42}},
        {Game::Lotto, {3, 8, 17, 22, 41, 49}},
        {Game::Lotto, {7, 13}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> draws = draw_lists::lastDraws(c.game, SIZE_MAX);
        const DrawRules& rules = gameRow(c.game).rules;
        const TicketCheck check = checkTicket(draws, c.ticket, rules);
        const std::size_t size = c.ticket.size();
        std::vector<std::size_t> count(size + 1);
        std::vector<long long> last(size + 1, -1);
        std::vector<std::size_t> waits(static_cast<std::size_t>(rules.maxNumber) + 1, draws.size());
        waits[0] = 0;  // no number
        for (std::size_t i = 0; i < draws.size(); ++i) {
            const std::set<int> drawn = parseLine(draws[i]);
            for (int v : drawn) waits[static_cast<std::size_t>(v)] = draws.size() - 1 - i;
            std::vector<int> both;
            std::set_intersection(drawn.begin(), drawn.end(), c.ticket.begin(), c.ticket.end(),
                                  std::back_inserter(both));
            ++count[both.size()];
            last[both.size()] = static_cast<long long>(i);
        }
        ASSERT_EQ(check.rows.size(), size + 1);
        double expected = 0;
        for (std::size_t r = 0; r <= size; ++r) {
            const HitsRow& row = check.rows[r];
            const std::size_t h = size - r;
            EXPECT_EQ(row.hits, static_cast<int>(h));
            EXPECT_EQ(row.draws, count[h]) << c.ticket.size() << " numbers, " << h << " hits";
            EXPECT_EQ(row.last, last[h]);
            EXPECT_EQ(row.ago, last[h] < 0 ? 0 : draws.size() - 1 - last[h]);
            expected += row.chance.expected;
        }
        EXPECT_NEAR(expected, static_cast<double>(draws.size()), 1e-6);
        EXPECT_EQ(check.numberWaits, waits);
    }
}

// The points of the range against the binomial distribution summed from 0:
// the low point is the first count whose cumulative chance reaches the lower
// tail, the high one the first that reaches the upper.
TEST(Ticket, ChanceRangesAreTheBinomialsPoints) {
    struct Case {
        std::uint64_t trials;
        double p, level;
    };
    for (const Case c : {Case{16962, 0.0601, 0.9},
                         {7394, 0.000529, 0.9},
                         {7394, 0.44, 0.95},
                         {40, 0.5, 0.95},
                         {170000, 0.0139, 0.95},
                         {3, 0.9, 0.9}}) {
        const CountRange range = countRange(c.trials, c.p, c.level);
        const double n = static_cast<double>(c.trials), tail = (1 - c.level) / 2;
        double sum = 0;
        std::uint64_t low = c.trials + 1, high = c.trials + 1;
        for (std::uint64_t k = 0; k <= c.trials && high > c.trials; ++k) {
            const double x = static_cast<double>(k);
            sum += std::exp(std::lgamma(n + 1) - std::lgamma(x + 1) - std::lgamma(n - x + 1) +
                            x * std::log(c.p) + (n - x) * std::log1p(-c.p));
            if (low > c.trials && sum >= tail) low = k;
            if (sum >= 1 - tail) high = k;
        }
        EXPECT_DOUBLE_EQ(range.expected, n * c.p);
        EXPECT_EQ(range.low, low) << c.trials << " x " << c.p;
        EXPECT_EQ(range.high, high) << c.trials << " x " << c.p;
    }
}

}  // namespace
}  // namespace zestawy
