// The numbers as a player types them, and the backtest's sentence: which
// groups it names, and in which direction.
#include "commands/analysis_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/games.hpp"
#include "history/polish.hpp"
#include "search/draw_lists.hpp"

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

// The conclusion first, from the groups that can be judged (at least ten
// appearances expected); the others named; the verb of "10 ... zestawów"
// agrees with the ten, whatever they came to.
TEST(AnalysisText, TheSentenceConcludesFromTheGroupsItCanJudge) {
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
    Backtest few = result(0.05, 0.055, 0.05, 0.07, false);  // ">5" low, but too few to judge
    few.groups[4].chances = few.groups[3].chances = 100;
    Backtest none = few;
    for (GroupCount& g : none.groups) g.chances = 0;
    // Chance's simulation: as many outside seldom (1 of 40), often (8 of 40).
    const ChanceOutside seldom{40, 1, 1}, often{40, 8, 1}, unknown{};
    struct Case {
        Backtest r;
        ChanceOutside chance;
        const char* starts;
        bool more, less, named0, named4, sample;
        const char* also;  // a further part of the sentence
    };
    const Case cases[] = {
        {result(0.05, 0.07, 0.05, 0.07, false), often,
         "Nic nie wskazuje, że czekanie pomaga: ", false, false, false, false, false,
         "w grupie „>5” szansę poniżej 5,00% lub powyżej 7,00% na losowanie (o około 16,7% inną "
         "niż przypadek). Sam przypadek wyrzuca choć jedną z ocenianych grup poza jej zakres w 8 "
         "z 40 symulowanych"},
        // A lone excursion is no finding, unless chance seldom gives one.
        {result(0.065, 0.07, 0.05, 0.07, false), unknown, "Nic nie wskazuje wyraźnie", true, false,
         false, true, false, "Jedna grupa poza swoim zakresem"},
        {result(0.065, 0.07, 0.05, 0.07, false), often, "Nic nie wskazuje wyraźnie", true, false,
         false, true, false, "w 8 z 40"},
        {result(0.065, 0.07, 0.05, 0.07, false), seldom,
         "Długo czekające zestawy pojawiały się częściej", true, false, false, true, false,
         "w 1 z 40"},
        {result(0.05, 0.055, 0.05, 0.07, true), unknown, "Czekanie nie pomogło: ", false, true,
         false, true, true, ""},
        {result(0.05, 0.055, 0.062, 0.07, false), seldom, "Czekanie nie pomogło: ", true, true,
         true, true, false, ""},
        {few, unknown, "Nic nie wskazuje", false, false, false, false, false,
         " Za mało losowań, by ocenić grupy „3-5”, „>5”."},
        {none, unknown, "Za mało losowań, by ocenić którąkolwiek grupę oczekiwania.", false, false,
         false, false, false, ""},
    };
    for (const Case& c : cases) {
        const std::string s = backtestSentence(c.r, c.chance);
        EXPECT_EQ(s.rfind(c.starts, 0), 0u) << s;
        EXPECT_EQ(s.find("zestawy z grup") != std::string::npos && s.find("„>5”") < s.find("Za"),
                  c.named4)
            << s;
        EXPECT_EQ(s.find("„<1”") != std::string::npos, c.named0) << s;
        EXPECT_EQ(s.find("częściej, a zestawy") != std::string::npos, c.more && c.less) << s;
        EXPECT_EQ(s.find("rzadziej") != std::string::npos, c.less) << s;
        EXPECT_EQ(s.find(grouped(kMostFollowedSets)) != std::string::npos, c.sample) << s;
        EXPECT_NE(s.find(c.also), std::string::npos) << s;
    }
    // However many times the ten came up, they "pojawiło się" so many "razy".
    const struct {
        std::uint64_t times;
        const char* said;
    } counts[] = {{1, "pojawiło się łącznie 1 raz "},
                  {2, "pojawiło się łącznie 2 razy "},
                  {5, "pojawiło się łącznie 5 razy "},
                  {22, "pojawiło się łącznie 22 razy "},
                  {8804,
                   "pojawiło się łącznie 8\xA0"
                   "804 razy "}};
    for (const auto& c : counts) {
        Backtest r = result(0.05, 0.07, 0.05, 0.07, false);
        r.topAppearances = c.times;
        EXPECT_NE(backtestSentence(r).find(c.said), std::string::npos) << backtestSentence(r);
    }
}

// The whole ticket's line: its verdict against chance's range first, then the
// newest draw that held it, "ostatnim" only for the newest draw of all.
TEST(AnalysisText, TheWholeTicketLineConcludesFirst) {
    const std::vector<std::string> labels = {"1. 01.01.2020", "2. 02.01.2020", "3. 03.01.2020"};
    const struct {
        HitsRow all;
        const char* line;
    } cases[] = {
        {{6, 0, {0.000588, 0, 0}, -1, 0},
         "Wszystkie te liczby razem: nic niezwykłego – nie padły ani razu w 3 losowaniach wobec "
         "średnio 0,00059 z samego przypadku (zwykle 0–0)."},
        {{6, 1, {0.000588, 0, 0}, 2, 0},
         "Wszystkie te liczby razem: częściej, niż daje sam przypadek – razem padły 1 raz w 3 "
         "losowaniach wobec średnio 0,00059 z samego przypadku (zwykle 0–0); ostatnio w "
         "losowaniu 3. 03.01.2020, ostatnim."},
        {{1, 1, {2.5, 2, 3}, 1, 1},
         "Ta liczba: rzadziej, niż daje sam przypadek – padła 1 raz w 3 losowaniach wobec "
         "średnio 2,50 z samego przypadku (zwykle 2–3); ostatnio w losowaniu 2. 02.01.2020, 1 "
         "losowanie temu."},
        {{2, 2, {1.2, 0, 3}, 0, 2},
         "Wszystkie te liczby razem: nic niezwykłego – razem padły 2 razy w 3 losowaniach wobec "
         "średnio 1,20 z samego przypadku (zwykle 0–3); ostatnio w losowaniu 1. 01.01.2020, 2 "
         "losowania temu."},
    };
    for (const auto& c : cases) {
        TicketCheck check;
        check.rows = {c.all};
        EXPECT_EQ(wholeTicketLine(check, labels), c.line);
    }
}

// Independent draws give no finding: over 10 seeded Mini Lotto histories of
// 1,000 draws the verdict is that waiting did not help in at least 9, with
// chance's simulation the same on any number of threads.
TEST(AnalysisText, IndependentHistoriesShowNoHelpFromWaiting) {
    const NeverDrawnQuery pairs{2, 2, 42};
    int noHelp = 0;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        const auto draws = draw_lists::randomDrawList(seed, {1000, 42, 5, 0, 0});
        const Backtest r = backtest(draws, pairs, 5);
        const ChanceOutside chance = chanceOutside(r, draws.size(), pairs, 5, nullptr, 2);
        if (seed == 1) {
            const ChanceOutside alone = chanceOutside(r, draws.size(), pairs, 5);
            EXPECT_EQ(alone.outside, chance.outside);
            EXPECT_EQ(chance.histories, kChanceHistories);
            EXPECT_TRUE(chance.outside >= 1 && chance.outside <= 20) << chance.outside;
        }
        const std::string s = backtestSentence(r, chance);
        noHelp += s.rfind("Nic nie wskazuje", 0) == 0 || s.rfind("Czekanie nie pomogło", 0) == 0;
    }
    EXPECT_GE(noHelp, 9);
}

// The form of a noun after a count, by its last two digits.
TEST(AnalysisText, PolishNounsAgreeWithTheirCounts) {
    const struct {
        std::uint64_t n;
        const char* form;
    } cases[] = {{0, "losowań"},   {1, "losowanie"},   {2, "losowania"},    {4, "losowania"},
                 {5, "losowań"},   {11, "losowań"},    {12, "losowań"},     {14, "losowań"},
                 {21, "losowań"},  {22, "losowania"},  {25, "losowań"},     {101, "losowań"},
                 {112, "losowań"}, {122, "losowania"}, {1000000, "losowań"}};
    for (const auto& c : cases)
        EXPECT_STREQ(nounForm(c.n, "losowanie", "losowania", "losowań"), c.form) << c.n;
}

}  // namespace
}  // namespace zestawy
