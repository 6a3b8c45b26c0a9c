// The search command frame: reading and cutting the numbers box, the answer
// layouts and format strings, the not-found sentences as Windows-1250 bytes,
// and appending to the results box.
#include "commands/search_command.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <set>

#include "combinatorics/random.hpp"
#include "results_box_text.hpp"
#include "search/draw_lists.hpp"
#include "search/engine.hpp"
#include "search/multi_random.hpp"
#include "search/reference.hpp"

namespace zestawy {
namespace {

using draw_lists::randomDrawList;
using draw_lists::rangeLine;

const SearchCommand& command(int id) {
    const SearchCommand* c = findSearchCommand(id);
    EXPECT_NE(c, nullptr) << id;
    return *c;
}

std::string answerOf(int id, const std::string& box) {
    TextBuffer out;
    writeAnswer(command(id), box, out);
    return std::string(out.view());
}

// The numbers box as the load command writes it: CR LF between lines.
std::string boxOf(const std::vector<std::string>& lines) {
    std::string box;
    for (const std::string& line : lines) box += (box.empty() ? "" : "\r\n") + line;
    return box;
}

std::string printfSet(const char* format, const std::vector<int>& v) {
    char line[1024];
    std::snprintf(line, sizeof line, format, v[0], v.size() > 1 ? v[1] : 0, v.size() > 2 ? v[2] : 0,
                  v.size() > 3 ? v[3] : 0, v.size() > 4 ? v[4] : 0, v.size() > 5 ? v[5] : 0,
                  v.size() > 6 ? v[6] : 0, v.size() > 7 ? v[7] : 0, v.size() > 8 ? v[8] : 0,
                  v.size() > 9 ? v[9] : 0);
    return line;
}

TEST(SetFormat, WritesWhatPrintfWrites) {
    const char* formats[] = {"%d, %d",     "%d,%d,%d", "%d, %d, %d,% d, %d", "% d% d", "%d%%x",
                             "%d, %d\r\n", "(%d)"};
    std::mt19937 gen(7);
    for (const char* f : formats) {
        const SetFormat format(f);
        for (int i = 0; i < 2000; ++i) {
            std::vector<int> v(10);
            for (int& x : v) {
                const int kind = static_cast<int>(gen() % 4);
                x = kind == 0   ? static_cast<int>(gen() % 100)
                    : kind == 1 ? static_cast<int>(gen())
                    : kind == 2 ? -static_cast<int>(gen() % 1000)
                                : (gen() % 2 ? INT_MIN : INT_MAX);
            }
            char out[256];
            ASSERT_LE(format.maxLength(), sizeof out);
            const std::string written(out, format.write(out, v.data()));
            ASSERT_EQ(written, printfSet(f, v)) << f;
        }
    }
    EXPECT_EQ(SetFormat("%d, %d, %d,% d, %d").conversions(), 5);
}

// A group written at once is the lines that write() gives one by one, cut
// at the first line that reaches `full`: with short and long prefixes (over
// 32 characters the group goes line by line) and last numbers in both words.
TEST(SetLines, AGroupIsItsLinesWrittenOneByOne) {
    std::mt19937 gen(11);
    for (int i = 0; i < 300; ++i) {
        const int n = 2 + static_cast<int>(gen() % 10);
        std::vector<int> set(static_cast<std::size_t>(n));
        for (int& v : set) v = 1 + static_cast<int>(gen() % (i % 2 ? 999 : 80));
        NumberMask last;
        for (int j = 0; j < 20; ++j) last.set(1 + static_cast<int>(gen() % 128));
        SetLines lines(", ", "\n");
        std::string expected;
        const std::size_t room = gen() % 200;
        char line[256];
        for (NumberMask rest = last; !rest.empty() && expected.size() < room; rest.removeLowest()) {
            set.back() = rest.lowest();
            expected += std::string(line, lines.write(line, set.data(), n));
        }
        std::vector<char> out(room + SetLines::maxLength(n));
        lines.setPrefix(set.data(), n - 1);
        NumberMask rest = last;
        const std::string group(out.data(), lines.writeGroup(out.data(), out.data() + room, rest));
        ASSERT_EQ(group, expected) << i;
        EXPECT_EQ(rest.count() + std::count(group.begin(), group.end(), '\n'), last.count());
    }
}

// Over a long history a cut would drop the newest draws and answer "never
// drawn" for sets drawn among them.
TEST(NumbersBox, IsReadWholeByEveryButton) {
    std::string box;
    while (box.size() < 1200000) box += "1,1,1\r\n";
    box += rangeLine(1, 80);  // the newest draw holds every number
    for (std::size_t i = 0; i < kSearchCommandCount; ++i) {
        const SearchCommand& c = kSearchCommands[i];
        const std::string answer = runSearchCommand(c, box, "");
        EXPECT_TRUE(answer == c.notFound) << c.id << ": " << answer.substr(0, 40);
    }
}

// Past the 153 draws that fill 8,999 characters: the nines against the plain
// search that records every hash of every line, the tens against their own
// search over every line.
TEST(NumbersBox, RandomNinesAndTensReadEveryLoadedDraw) {
    const std::uint32_t saved = randomState();
    // (The plain search takes seconds to record 300 lines: the nines once.)
    for (std::size_t count : {200, 300}) {
        const std::vector<std::string> draws =
            draw_lists::lastDraws(draw_lists::Game::MultiMulti, count);
        const std::string box = boxOf(draws);
        ASSERT_GT(box.size(), 8999u);
        for (int id : {41, 42}) {
            if (id == 41 && count == 300) continue;
            const std::uint32_t state = static_cast<std::uint32_t>(count * 7 + id);
            setRandomState(state);
            const std::string answer = answerOf(id, box);
            setRandomState(state);
            const auto sets = id == 41 ? reference::findTenNeverAppearedNine6from9_Hash(draws)
                                       : findTenNeverAppearedTen7from10(draws);
            TextBuffer expected;
            AnswerWriter writer = answerWriter(command(id), expected);
            for (const auto& set : sets) writer.put(set.data(), static_cast<int>(set.size()));
            writer.finish();
            EXPECT_EQ(answer, expected.view()) << id << " over " << count;
        }
    }
    setRandomState(saved);
}

TEST(NumbersBox, SplitsIntoNonEmptyLinesKeepingTheirCarriageReturns) {
    EXPECT_EQ(splitDrawList(""), DrawList{});
    EXPECT_EQ(splitDrawList("1,2\r\n3,4"), (DrawList{"1,2\r", "3,4"}));
    EXPECT_EQ(splitDrawList("1,2\r\n\r\n3,4\r\n"), (DrawList{"1,2\r", "\r", "3,4\r"}));
    EXPECT_EQ(splitDrawList("\n\n5\n"), (DrawList{"5"}));
}

TEST(Answers, SingleSetsAndNotFoundSentencesAsWindows1250Bytes) {
    EXPECT_EQ(answerOf(1, rangeLine(1, 20)), "1, 21");
    EXPECT_EQ(answerOf(1, rangeLine(1, 80)), "Wszystkie pary wyst\xb9pi\xb3y.");
    EXPECT_EQ(answerOf(2, rangeLine(1, 20)), "1, 21, 22");
    EXPECT_EQ(answerOf(2, rangeLine(1, 80)), "Wszystkie pary w tr\xf3jkach wyst\xb9pi\xb3y.");
    EXPECT_EQ(answerOf(20, "1,2,3,4,5"), "6");
    EXPECT_EQ(answerOf(20, rangeLine(1, 42)), "Wszystkie liczby wyst\xb9pi\xb3y.");
    EXPECT_EQ(answerOf(30, ""), "1");
    EXPECT_EQ(answerOf(31, rangeLine(1, 6)), "1, 7");
    EXPECT_EQ(answerOf(31, rangeLine(1, 49)), "Wszystkie pary wyst\xb9pi\xb3y.");
    EXPECT_EQ(answerOf(32, rangeLine(1, 6)), "1, 7, 8");
    EXPECT_EQ(answerOf(33, rangeLine(1, 6)), "1,2,7");
    EXPECT_EQ(answerOf(34, rangeLine(1, 6)), "1, 2, 7, 8");
    EXPECT_EQ(answerOf(35, ""), "1, 2, 3, 4, 5");
    EXPECT_EQ(answerOf(35, rangeLine(1, 49)),
              "Nie znaleziono: wszystkie pi\xb9tki z nowymi tr\xf3jkami wyst\xb9pi\xb3y.");
    EXPECT_EQ(answerOf(24, rangeLine(1, 42)),
              "Wszystkie pi\xb9tki 1\x96"
              "42 zawieraj\xb9 tr\xf3jki, kt\xf3re ju\xbf wyst\xb9pi\xb3y.");
    EXPECT_EQ(answerOf(11, rangeLine(1, 80)), "Wszystkie pi\xb9tki w \xf3semkach wyst\xb9pi\xb3y.");
    EXPECT_EQ(answerOf(10, rangeLine(1, 80)),
              "Wszystkie pi\xb9tki w si\xf3"
              "demkach wyst\xb9pi\xb3y.");
}

TEST(Answers, ListLayoutsMatchTheFullListPrintedLineByLine) {
    // Draw lists with tens to tens of thousands of qualifying sets.
    struct Case {
        int id, setSize, subsetSize, top;
        std::size_t lines;
        int drawSize;
    };
    const Case cases[] = {{4, 4, 3, 80, 60, 30},   {5, 4, 4, 80, 60, 50},  {6, 5, 3, 80, 30, 30},
                          {7, 5, 4, 80, 40, 40},   {16, 5, 5, 80, 30, 60}, {8, 6, 4, 80, 40, 36},
                          {9, 6, 5, 80, 40, 50},   {21, 2, 2, 42, 60, 5},  {22, 3, 2, 42, 25, 5},
                          {23, 4, 3, 42, 100, 10}, {24, 5, 3, 42, 100, 10}};
    for (const Case& c : cases) {
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            const std::vector<std::string> lines =
                randomDrawList(seed, {c.lines, c.top, c.drawSize, 4, 10});
            const SearchCommand& cmd = command(c.id);
            ASSERT_EQ(cmd.sets.setSize, c.setSize);
            ASSERT_EQ(cmd.sets.subsetSize, c.subsetSize);
            ASSERT_EQ(cmd.sets.maxNumber, c.top);
            const auto sets = allNeverDrawn(lines, cmd.sets);
            std::string expected;
            for (const auto& set : sets) {
                if (cmd.layout == Layout::Joined && !expected.empty()) expected += "\r\n";
                expected += printfSet(cmd.format, set);
                if (cmd.layout == Layout::Terminated) expected += "\r\n";
            }
            if (sets.empty()) expected = cmd.notFound;
            ASSERT_EQ(answerOf(c.id, boxOf(lines)), expected) << "id " << c.id << " seed " << seed;
            // Measured without writing it, and written in pieces on two
            // threads, over one index as the window does.
            ASSERT_TRUE(listsEverySet(cmd));
            const auto index = indexFor(cmd, lines);
            const AnswerSize size = measureAnswer(cmd, lines, 1, index.get());
            EXPECT_EQ(size.sets, sets.size()) << "id " << c.id << " seed " << seed;
            EXPECT_EQ(size.bytes, expected.size()) << "id " << c.id << " seed " << seed;
            std::string streamed;
            EXPECT_TRUE(streamAnswer(
                cmd, lines,
                [&](std::string_view piece) {
                    streamed += piece;
                    return true;
                },
                2, index.get()));
            EXPECT_EQ(streamed, expected);
        }
    }
}

TEST(Answers, OnlyTheListsOfExhaustiveSearchesCanRunToGigabytes) {
    std::set<int> lists;
    for (std::size_t i = 0; i < kSearchCommandCount; ++i)
        if (listsEverySet(kSearchCommands[i])) lists.insert(kSearchCommands[i].id);
    EXPECT_EQ(lists, (std::set<int>{4, 5, 6, 7, 16, 8, 9, 21, 22, 23, 24}));
    // All 24,040,016 five-sets of an empty box, measured, then streamed in
    // pieces of about a megabyte until the writer says stop.
    const DrawList none;
    const AnswerSize all = measureAnswer(command(16), none);
    EXPECT_EQ(all.sets, 24040016u);
    EXPECT_EQ(all.bytes, 467277809u);
    std::vector<std::size_t> pieces;
    EXPECT_FALSE(streamAnswer(command(16), none, [&](std::string_view piece) {
        pieces.push_back(piece.size());
        return pieces.size() < 3;
    }));
    ASSERT_EQ(pieces.size(), 3u);
    for (std::size_t piece : pieces) EXPECT_NEAR(piece, 1 << 20, 100);
}

TEST(Answers, ShortenedLayoutsStopEarly) {
    // "5 z 7": every number of each set joined by ", ", each line ended by CR
    // LF, and the whole cut to 699 characters, inside a line if need be.
    const std::string sevens = answerOf(10, rangeLine(1, 20));
    ASSERT_EQ(sevens.size(), 699u);
    EXPECT_EQ(sevens.substr(0, 31), "1, 2, 3, 4, 21, 22, 23\r\n1, 2, 3");
    // "5 z 8": the first set only.
    EXPECT_EQ(answerOf(11, rangeLine(1, 20)), "1, 2, 3, 4, 21, 22, 23, 24");
    // "2" of Mini Lotto: the CR LF is part of each line's format.
    const std::string pairs = answerOf(21, "1,2,3,4,5");
    EXPECT_EQ(pairs.substr(0, 12), "1, 6\r\n1, 7\r\n");
    EXPECT_EQ(pairs.substr(pairs.size() - 8), "41, 42\r\n");

    // After text already in the buffer, with a flush that leaves it there,
    // the answer is still cut 699 characters after its own start.
    TextBuffer buffer;
    buffer.append("earlier\r\n");
    AnswerWriter writer = answerWriter(*findSearchCommand(10), buffer);
    writer.setFlush(1, [](TextBuffer&) { return true; });
    runSearch(*findSearchCommand(10), {rangeLine(1, 20)}, writer);
    EXPECT_EQ(buffer.view(), "earlier\r\n" + sevens);
}

TEST(Answers, RandomCommandsAnswerAsTheLiteralSearches) {
    const std::vector<std::string> lines = draw_lists::lastDraws(draw_lists::Game::MultiMulti, 40);
    const std::uint32_t saved = randomState();
    for (int id : {3, 41, 42}) {
        setRandomState(12345);
        const std::string answer = answerOf(id, boxOf(lines));
        const std::uint32_t after = randomState();
        setRandomState(12345);
        std::vector<std::vector<int>> sets;
        if (id == 3) sets = {reference::findNeverAppearedTripleInFlight(lines)};
        if (id == 41) sets = reference::findTenNeverAppearedNine6from9_Hash(lines);
        if (id == 42) sets = reference::findTenNeverAppearedTen7from10(lines);
        std::string expected;
        for (const auto& set : sets)
            expected += (expected.empty() ? "" : "\r\n") + printfSet(command(id).format, set);
        EXPECT_EQ(answer, expected) << id;
        EXPECT_EQ(randomState(), after) << id;
    }
    setRandomState(saved);
}

TEST(ResultsBox, AnswersAreAppendedAfterOneLineBreak) {
    const SearchCommand& pair = command(1);
    const std::string box = rangeLine(1, 20);
    std::string results = runSearchCommand(pair, box, "");
    EXPECT_EQ(results, "1, 21");
    results = runSearchCommand(pair, box, results);
    EXPECT_EQ(results, "1, 21\r\n1, 21");
    // After a terminated list the next answer stands after an empty line.
    const std::string sixes = runSearchCommand(command(8), rangeLine(1, 75), "");
    ASSERT_EQ(sixes.substr(sixes.size() - 2), "\r\n");
    EXPECT_EQ(runSearchCommand(pair, box, sixes), sixes + "\r\n1, 21");
    // An empty numbers box still runs the search.
    EXPECT_EQ(runSearchCommand(pair, "", "x"), "x\r\n1, 2");
}

}  // namespace
}  // namespace zestawy
