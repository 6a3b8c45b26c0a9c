// The numbers as a player types them, and the backtest's sentence: which
// groups it names, and in which direction.
#include "commands/analysis_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/games.hpp"
#include "history/polish.hpp"

namespace zestawy {
namespace {

TEST(AnalysisText, ATicketIsReadAsTypedOrRefused) {
    const DrawRules& lotto = gameRow(Game::Lotto).rules;
    const DrawRules& multi = gameRow(Game::MultiMulti).rules;
    struct Case {
        const char* typed;
        const DrawRules* rules;
        std::vector<int> numbers;  // empty: refused
    };
    const Case cases[] = {
        {"3, 17, 22", &lotto, {3, 17, 22}},
        {" 22;3\t17 ,", &lotto, {3, 17, 22}},
        {"007", &lotto, {7}},
        {"49, 1", &lotto, {1, 49}},
        {"1, 2, 3, 4, 5, 6, 7, 8, 9, 80", &multi, {1, 2, 3, 4, 5, 6, 7, 8, 9, 80}},
        {"1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11", &multi, {}},
        {"1, 2, 3, 4, 5, 6, 7", &lotto, {}},
        {"50", &lotto, {}},
        {"0", &lotto, {}},
        {"0049", &lotto, {}},
        {"3, 3", &lotto, {}},
        {"3-5", &lotto, {}},
        {"", &lotto, {}},
        {" , ", &lotto, {}},
    };
    for (const Case& c : cases) {
        const TicketNumbers ticket = parseTicket(c.typed, *c.rules);
        EXPECT_EQ(ticket.numbers, c.numbers) << c.typed;
        EXPECT_EQ(ticket.error.empty(), !c.numbers.empty()) << c.typed << ": " << ticket.error;
    }
}

TEST(AnalysisText, TheSentenceNamesTheGroupsOutsideTheirIntervalsAndWhichWay) {
    auto result = [](double low4, double high4, double low0, double high0, bool sampled) {
        Backtest r;
        r.perDraw = 0.06;
        r.judged = 1000;
        r.sets = sampled ? 1000000 : 3160;
        r.followed = sampled ? kMostFollowedSets : 3160;
        r.sampled = sampled;
        for (GroupCount& g : r.groups) g = {1000, 60, 0.06, 0.05, 0.07};
        r.groups[4].low = low4;
        r.groups[4].high = high4;
        r.groups[0].low = low0;
        r.groups[0].high = high0;
        r.topChances = 10000;
        r.topAppearances = 600;
        r.topExpected = {600, 560, 640};
        return r;
    };
    struct Case {
        Backtest r;
        bool chance, more, less, sample;
    };
    const Case cases[] = {
        {result(0.05, 0.07, 0.05, 0.07, false), true, false, false, false},
        {result(0.065, 0.07, 0.05, 0.07, false), false, true, false, false},
        {result(0.05, 0.055, 0.05, 0.07, true), false, false, true, true},
        {result(0.05, 0.055, 0.062, 0.07, false), false, true, true, false},
    };
    for (const Case& c : cases) {
        const std::string s = backtestSentence(c.r);
        const bool named4 = s.find("„>5”") != std::string::npos;
        const bool named0 = s.find("„<1”") != std::string::npos;
        EXPECT_EQ(s.rfind("Czekanie nie pomaga", 0) == 0, c.chance) << s;
        EXPECT_EQ(named4, !c.chance) << s;
        EXPECT_EQ(named0, c.more && c.less) << s;
        EXPECT_EQ(s.find("częściej") != std::string::npos, c.more) << s;
        EXPECT_EQ(s.find("rzadziej") != std::string::npos, c.less) << s;
        EXPECT_EQ(s.find(grouped(kMostFollowedSets)) != std::string::npos, c.sample) << s;
    }
}

}  // namespace
}  // namespace zestawy
