#include "net/sources.hpp"

#include <gtest/gtest.h>

namespace zestawy {
namespace {

// Each line that zrodla.txt may hold, and the first one that is wrong named
// by its number, with nothing taken from the file then.
TEST(Sources, TakeEachGamesAddressAndTheTimeOrNameTheBadLine) {
    const Sources defaults = defaultSources();
    for (const std::string& url : defaults.urls) EXPECT_TRUE(isWebAddress(url)) << url;
    const struct {
        const char* text;
        const char* multi;  // nullptr: the default
        int idleSeconds;
        const char* error;  // the start of the message; "" when none
    } cases[] = {
        {"", nullptr, 30, ""},
        {"\xEF\xBB\xBF# komentarz\r\n\r\n  MULTI =  http://127.0.0.1:8/m.csv \r\nczas=5\n",
         "http://127.0.0.1:8/m.csv", 5, ""},
        {"lotto = https://x/l.csv", nullptr, 30, ""},
        {"# a\nmulti = ftp://x/m.csv\n", nullptr, 30,
         "zrodla.txt, wiersz 2 („multi = ftp://x/m.csv”): adres"},
        {"multi http://x/m.csv", nullptr, 30,
         "zrodla.txt, wiersz 1 („multi http://x/m.csv”): oczekiwano"},
        {"keno = http://x/k.csv", nullptr, 30,
         "zrodla.txt, wiersz 1 („keno = http://x/k.csv”): nie ma"},
        {"czas = 0", nullptr, 30, "zrodla.txt, wiersz 1 („czas = 0”): czas to liczba"},
        {"czas = 99999999999", nullptr, 30, "zrodla.txt, wiersz 1"},
        {"mini = http://x/ą.csv", nullptr, 30, ""},
        {"multi = http://a b", nullptr, 30, "zrodla.txt, wiersz 1"},
        {"multi = http://x/a.csv\nMULTI = http://x/b.csv", nullptr, 30,
         "zrodla.txt, wiersz 2 („MULTI = http://x/b.csv”): „multi” jest już w wierszu 1; zostaw"},
        {"czas = 5\n# czas = 6\n\nczas=5", nullptr, 30,
         "zrodla.txt, wiersz 4 („czas=5”): „czas” jest już w wierszu 1"},
        {"mini = http://x/m.csv\nlotto = http://x/l.csv\nmini = http://x/m.csv", nullptr, 30,
         "zrodla.txt, wiersz 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Sources sources = readSources(c.text);
        EXPECT_EQ(sources.error.rfind(c.error, 0), 0u) << sources.error;
        EXPECT_EQ(sources.error.empty(), !*c.error);
        EXPECT_EQ(sources.urls[0], c.multi ? c.multi : defaults.urls[0]);
        EXPECT_EQ(sources.limits.idleSeconds, c.idleSeconds);
    }
}

}  // namespace
}  // namespace zestawy
