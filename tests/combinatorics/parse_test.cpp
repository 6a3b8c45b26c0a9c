#include "combinatorics/parse.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <sstream>

namespace zestawy {
namespace {

void expectParsed(const std::string& line, const std::set<int>& set, const std::vector<int>& vec) {
    SCOPED_TRACE(testing::PrintToString(line));
    EXPECT_EQ(parseLine(line), set);
    EXPECT_EQ(parseLineForPairs(line), vec);
}

TEST(ParseLine, SortsAndDeduplicatesWhileForPairsKeepsWrittenOrder) {
    expectParsed("23,5,17", {5, 17, 23}, {23, 5, 17});
    expectParsed("5,5,9", {5, 9}, {5, 5, 9});
    expectParsed("3,17,22,40,41,58", {3, 17, 22, 40, 41, 58}, {3, 17, 22, 40, 41, 58});
}

TEST(ParseLine, IgnoresBlanksTabsAndATrailingCarriageReturn) {
    expectParsed(" 12 ,\t7\t, 3 \r", {3, 7, 12}, {12, 7, 3});
    expectParsed("12\r", {12}, {12});
    expectParsed("\t \t4 \t,5\r\n", {4, 5}, {4, 5});
}

TEST(ParseLine, SkipsEmptyTokensAndStartsNoneAfterAFinalComma) {
    expectParsed("1,,2", {1, 2}, {1, 2});
    expectParsed("1,2,", {1, 2}, {1, 2});
    expectParsed(",5", {5}, {5});
    for (const char* empty : {"", "\r", ",", ",,", " \t ", " , \t,\r"}) expectParsed(empty, {}, {});
}

TEST(ParseLine, OtherSeparatorsMakeOneTokenReadUpToItsFirstNumber) {
    expectParsed("1;2;3", {1}, {1});
    expectParsed("1 2 3", {1}, {1});
    expectParsed("4\t5,6", {4, 6}, {4, 6});
}

TEST(ParseLine, ReadsALeadingSignedNumberAndIgnoresTheRest) {
    expectParsed("7abc,3.9", {3, 7}, {7, 3});
    expectParsed("abc,x7,.5,8", {8}, {8});
    expectParsed("-4,+6,-0", {-4, 0, 6}, {-4, 6, 0});
    expectParsed("+,-,- 3,+-3,--3", {}, {});
    expectParsed("007,0x1f", {0, 7}, {7, 0});
}

TEST(ParseLine, KeepsEveryIntAndSkipsValuesBeyondIt) {
    expectParsed("2147483647,-2147483648", {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN});
    expectParsed("00000000002147483647", {INT_MAX}, {INT_MAX});
    // 4294967297 would wrap to 1 in 32 bits; the long runs would wrap in 64.
    expectParsed("2147483648,-2147483649,4294967297,99999999999999999999999,1", {1}, {1});
}

// The reading of a draw line stated as plainly as possible with the standard
// streams; the parsers must agree with it on any line.
std::vector<int> streamTokens(const std::string& line, bool stripBlanks) {
    std::vector<int> numbers;
    std::istringstream in(line);
    std::string token;
    while (std::getline(in, token, ',')) {
        if (stripBlanks) {
            token.erase(0, token.find_first_not_of(" \t"));
            token.erase(token.find_last_not_of(" \t") + 1);
        }
        std::istringstream tokenIn(token);
        int value;
        if (tokenIn >> value) numbers.push_back(value);
    }
    return numbers;
}

TEST(ParseLine, AgreesWithAStreamTokenizerOnRandomLines) {
    // Single characters (commas weighted up) and digit runs around the limits of int.
    std::vector<std::string> pieces = {
        "2147483647",           "2147483648", "4294967297", "00000000000",
        "99999999999999999999", ",",          ",",          ","};
    for (char c : std::string("012579, \t\r\n\f-+axZ.")) pieces.push_back(std::string(1, c));
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<std::size_t> length(0, 14), pick(0, pieces.size() - 1);
    for (int i = 0; i < 50000; ++i) {
        std::string line;
        for (std::size_t k = length(rng); k > 0; --k) line += pieces[pick(rng)];
        SCOPED_TRACE(testing::PrintToString(line));
        const std::vector<int> plain = streamTokens(line, false);
        ASSERT_EQ(parseLine(line), std::set<int>(plain.begin(), plain.end()));
        ASSERT_EQ(parseLineForPairs(line), streamTokens(line, true));
    }
}

}  // namespace
}  // namespace zestawy
