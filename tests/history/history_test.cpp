// Reading draw-history files and choosing what the load command shows.
#include "history/history.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <random>

#include "search/draw_lists.hpp"
#include "test_folder.hpp"

namespace zestawy {
namespace {

using Lines = std::vector<std::string>;

TEST(HistoryLines, AreWholeLinesWithoutTheirLineEnds) {
    EXPECT_EQ(splitHistoryLines(""), Lines{});
    EXPECT_EQ(splitHistoryLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitHistoryLines("a\r\n\r\n\r\n"), (Lines{"a", "", ""}));
    EXPECT_EQ(splitHistoryLines("a\r\r\nb\r"), (Lines{"a", "b"}));
    // A lone CR ends a line too (old Mac files, and files mixed from several).
    EXPECT_EQ(splitHistoryLines("a\rb\rc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitHistoryLines("a\rb\r\nc\nd\r\r\ne\r"), (Lines{"a", "b", "c", "d", "e"}));
    const std::string longLine(5000, '7');
    EXPECT_EQ(splitHistoryLines(longLine + "\r\nx\r\n"), (Lines{longLine, "x"}));
}

// A zero byte would end the text of the boxes there, and with it every later
// draw; as reading line by line with fgets does, only its own line loses its tail.
TEST(HistoryLines, EndAtAZeroByte) {
    const std::string text("1 a 1,2\0junk\r\n2 b\0 3,4\r\n3 c 5,6", 31);
    EXPECT_EQ(splitHistoryLines(text), (Lines{"1 a 1,2", "2 b", "3 c 5,6"}));
    const LoadedDraws shown = latestDraws(splitHistoryLines(text), 3);
    EXPECT_EQ(shown.dates, "1 a\r\n3 c");
    EXPECT_EQ(shown.numbers, "1,2\r\n5,6");
}

// Read a megabyte at a time, a file splits into the lines its whole text
// does, wherever a piece ends: in a run of CRs, between a CR and its LF,
// after a byte-order mark; and the file's outcomes are readHistoryFile's.
TEST(HistoryLines, ReadPieceByPieceAsWhole) {
    const std::string folder = testing_folder::testFolder(), path = folder + "/pieces.txt";
    std::mt19937 random(9);
    const char* const ends[] = {"\n", "\r\n", "\r", "\r\r\n", "\r\r", ""};
    std::string text = "\xEF\xBB\xBF";
    while (text.size() < 3u << 20) {
        text += std::string(random() % 3 == 0 ? random() % 5000 : random() % 60, 'x');
        if (random() % 50 == 0) text += '\0';
        text += ends[random() % 6];
    }
    for (const std::string& whole : {text, std::string(text.size(), '\r'), text.substr(3)}) {
        std::ofstream(path, std::ios::binary) << whole;
        Lines read;
        EXPECT_EQ(forEachLineOf(path, SIZE_MAX,
                                [&](std::string_view line) {
                                    read.emplace_back(line);
                                    return true;
                                }),
                  HistoryRead::Ok);
        EXPECT_TRUE(read == splitHistoryLines(whole)) << read.size();
    }
    std::size_t visited = 0;
    EXPECT_EQ(forEachLineOf(path, 1000, [&](std::string_view) { return ++visited > 0; }),
              HistoryRead::TooLarge);
    EXPECT_EQ(visited, 0u);
    EXPECT_EQ(forEachLineOf(path + ".missing", SIZE_MAX, [](std::string_view) { return true; }),
              HistoryRead::CannotOpen);
    std::filesystem::remove_all(folder);
}

TEST(HistoryLines, ReadTheRealHistoriesAndReportAMissingFile) {
    Lines lines;
    ASSERT_TRUE(readHistoryLines(draw_lists::historyPath(draw_lists::Game::Lotto), lines));
    EXPECT_EQ(lines.size(), 7394u);
    EXPECT_EQ(lines.front().substr(0, 14), "1. 27.01.1957 ");
    EXPECT_FALSE(readHistoryLines(draw_lists::dataDir + "/no such file.txt", lines));
    EXPECT_EQ(lines.size(), 7394u);  // untouched
}

#ifndef _WIN32
TEST(HistoryLines, TellAReadErrorAndRefuseAFileTooLarge) {
    Lines lines = {"old"};
    EXPECT_EQ(readHistoryFile("/", lines, 1000), HistoryRead::ReadError);  // a folder
    EXPECT_EQ(readHistoryFile("/dev/zero", lines, 1 << 20), HistoryRead::TooLarge);
    EXPECT_TRUE(lines.empty());
    const std::string lotto = draw_lists::historyPath(draw_lists::Game::Lotto);
    EXPECT_EQ(readHistoryFile(lotto, lines, 1000), HistoryRead::TooLarge);
    EXPECT_EQ(readHistoryFile(lotto, lines, 1 << 20), HistoryRead::Ok);
    EXPECT_EQ(lines.size(), 7394u);
    EXPECT_EQ(readHistoryFile(lotto + ".missing", lines, 1 << 20), HistoryRead::CannotOpen);
}
#endif

TEST(CountBox, ReadsTheNumberAtTheStartOfItsFirst19Characters) {
    EXPECT_EQ(parseCount("100"), 100);
    EXPECT_EQ(parseCount(" 12abc"), 12);
    EXPECT_EQ(parseCount("\t+7\r\n"), 7);
    EXPECT_EQ(parseCount("0"), 0);
    EXPECT_EQ(parseCount("-5"), -5);
    EXPECT_EQ(parseCount("abc"), 0);
    EXPECT_EQ(parseCount(""), 0);
    EXPECT_EQ(parseCount("- 5"), 0);
    EXPECT_EQ(parseCount("99999999999"), 99999999999LL);
    EXPECT_EQ(parseCount("9999999999999999999"), LLONG_MAX);  // 19 digits, over the type
    EXPECT_EQ(parseCount("-9999999999999999999"), -999999999999999999LL);  // 18 nines read
    EXPECT_EQ(parseCount("00000000000000000012345"), 1);  // only 19 characters are read
}

TEST(LatestDraws, SplitEachLineAtItsSecondBlank) {
    const Lines lines = {"1. 01.01.2020 1,2,3", "2. 02.01.2020 4,5,6", "3. 03.01.2020 7,8,9",
                         "7000 2020-05-12 1,5,7"};
    LoadedDraws shown = latestDraws(lines, 2);
    EXPECT_EQ(shown.dates, "3. 03.01.2020\r\n7000 2020-05-12");
    EXPECT_EQ(shown.numbers, "7,8,9\r\n1,5,7");
    shown = latestDraws(lines, LLONG_MAX);
    EXPECT_EQ(shown.dates.substr(0, 15), "1. 01.01.2020\r\n");
    EXPECT_EQ(shown.numbers, "1,2,3\r\n4,5,6\r\n7,8,9\r\n1,5,7");
}

TEST(LatestDraws, SkipLinesWithFewerThanTwoBlanksAndKeepEverythingAfterTheSecond) {
    const Lines lines = {"1234 12.05.2020",        "no-blanks", "7000 2020-05-12  1,5,7",
                         "7001 2020-05-13\t1,2 3", "",          ""};
    const LoadedDraws shown = latestDraws(lines, 6);
    // A tab is no separator: the second blank of the last line is after "1,2".
    EXPECT_EQ(shown.dates, "7000 2020-05-12\r\n7001 2020-05-13\t1,2");
    EXPECT_EQ(shown.numbers, " 1,5,7\r\n3");
    // The two empty lines at the end are counted among the latest but show nothing.
    EXPECT_EQ(latestDraws(lines, 2).numbers, "");
}

TEST(LatestDraws, EmptyNumbersPartsGiveEmptyLinesOnlyAfterTheFirst) {
    const Lines lines = {"1 a ", "2 b 1,2", "3 c ", "4 d 3"};
    const LoadedDraws shown = latestDraws(lines, 4);
    EXPECT_EQ(shown.dates, "1 a\r\n2 b\r\n3 c\r\n4 d");
    EXPECT_EQ(shown.numbers, "1,2\r\n\r\n3");
}

}  // namespace
}  // namespace zestawy
