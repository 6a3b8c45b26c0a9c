// The reduced systems' texts that read what a player types: the price of a
// ticket, and back.
#include "commands/wheel_text.hpp"

#include <gtest/gtest.h>

namespace zestawy {
namespace {

TEST(WheelText, PricesReadAsAPlayerTypesThemAndNothingElse) {
    const struct {
        const char* typed;
        long long grosze;
        const char* shown;  // zloty(grosze)
    } rows[] = {
        {"3", 300, "3,00 zł"},
        {"2,5", 250, "2,50 zł"},
        {"2.50 zł", 250, "2,50 zł"},
        {" 1,05zł", 105, "1,05 zł"},
        {"0", 0, "0,00 zł"},
        {"1000", 100000,
         "1\xA0"
         "000,00 zł"},
        {"1000,01", -1, nullptr},
        {"", -1, nullptr},
        {"2,", -1, nullptr},
        {",5", -1, nullptr},
        {"2,505", -1, nullptr},
        {"-3", -1, nullptr},
        {"3 zł 50", -1, nullptr},
        {"12345", -1, nullptr},
        {"2,5,0", -1, nullptr},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(priceInGrosze(row.typed), row.grosze) << row.typed;
        if (row.shown) {
            EXPECT_EQ(zloty(row.grosze), row.shown) << row.typed;
        }
    }
    EXPECT_EQ(costLine(15, 300), "15 zakładów × 3,00 zł = 45,00 zł");
}

}  // namespace
}  // namespace zestawy
