// What an update appends to a history, on small texts: line ends, layouts,
// and draws that must not be appended.
#include "commands/update.hpp"

#include <gtest/gtest.h>

namespace zestawy {
namespace {

TEST(Update, AppendsOnlyNewWellFormedDrawsInTheHistorysOwnLayout) {
    const GameRow& mini = gameRow(Game::MiniLotto);
    const std::string five = "1,2,3,4,5";
    struct Case {
        const char* name;
        std::string history, download;
        UpdateKind kind;
        std::string appended;
    };
    const Case cases[] = {
        {"LF ends, the last one missing", "1. 01.01.2020 " + five + "\n2. 02.01.2020 " + five,
         "nr,data,liczby\n3,03.01.2020,05,04,03,02,01\n", UpdateKind::Added,
         "\n3. 03.01.2020 1,2,3,4,5\n"},
        {"lone CR ends, own layout padded", "1. 01.01.2020 " + five + "\r",
         "0004. 04.01.2020 42,07,1,2,3\r\n", UpdateKind::Added, "4. 04.01.2020 1,2,3,7,42\r"},
        {"an empty history takes CR LF", "", "1,01.01.2020," + five, UpdateKind::Added,
         "1. 01.01.2020 1,2,3,4,5\r\n"},
        {"an older draw the history lacks is left out", "5. 05.01.2020 " + five + "\n",
         "3,03.01.2020," + five + "\n6,06.01.2020," + five, UpdateKind::Added,
         "6. 06.01.2020 1,2,3,4,5\n"},
        {"the same new draw twice", "", "6,06.01.2020," + five + "\n6. 06.01.2020 5,4,3,2,1",
         UpdateKind::Added, "6. 06.01.2020 1,2,3,4,5\r\n"},
        {"two versions of a new draw", "", "6,06.01.2020," + five + "\n6,07.01.2020," + five,
         UpdateKind::Refused, ""},
        {"a bad date", "", "6,31.06.2020," + five, UpdateKind::Refused, ""},
        {"a time and nothing after it", "", "6,06.01.2020," + five + "\n7,07.01.2020,14:00",
         UpdateKind::Refused, ""},
        {"a line that is no draw", "", "6,06.01.2020," + five + "\n7;07.01.2020",
         UpdateKind::Refused, ""},
        {"no draw at all", "1. 01.01.2020 " + five, "\xEF\xBB\xBFnr,data\n\n", UpdateKind::NoDraws,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const UpdatePlan plan = planUpdate(c.history, c.download, mini);
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(plan.appended, c.appended);
        EXPECT_FALSE(plan.message.empty());
    }
}

TEST(Update, RecognisesTheGameByTheCountOfNumbers) {
    EXPECT_EQ(recogniseGame("1,01.01.2020,22:00,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,"
                            "20,00\n"),
              &gameRow(Game::MultiMulti));
    EXPECT_EQ(recogniseGame("1. 01.01.2020 1,2,3,4,5\n"), &gameRow(Game::MiniLotto));
    EXPECT_EQ(recogniseGame("1,01.01.2020,1,2,3,4,5,6\n2,02.01.2020,1,2\n3,02.01.2020,1,2,3,4,5,6"),
              &gameRow(Game::Lotto));
    EXPECT_EQ(recogniseGame("1,01.01.2020,1,2,3\n"), nullptr);
    EXPECT_EQ(recogniseGame("Multi Multi\n"), nullptr);
}

}  // namespace
}  // namespace zestawy
