// The table of wheels: the shipped one reads and every system guarantees;
// a bad table names its line.
#include "wheel/designs.hpp"

#include <gtest/gtest.h>

#include <string>

#include "wheel/generate.hpp"
#include "wheel/verify.hpp"

namespace zestawy {
namespace {

TEST(WheelDesigns, TheShippedTableReadsAndEverySystemGuarantees) {
    const DesignsRead read = readDesigns(shippedDesignsText());
    ASSERT_EQ(read.error, "");
    // The shapes the table was made for, all of them there.
    const WheelShape wanted[] = {{10, 6, 3, 3}, {20, 6, 3, 3}, {13, 6, 4, 4}, {16, 5, 3, 3},
                                 {20, 6, 2, 2}, {10, 6, 4, 3}, {12, 6, 5, 3}, {9, 6, 5, 4},
                                 {11, 6, 6, 4}, {10, 5, 3, 3}};
    for (const WheelShape& shape : wanted) EXPECT_NE(findDesign(read.designs, shape), nullptr);
    EXPECT_GE(read.designs.size(), 37u);
    for (const WheelDesign& design : read.designs) {
        const WheelShape& s = design.shape;
        SCOPED_TRACE(std::to_string(s.v) + " " + std::to_string(s.k) + " " + std::to_string(s.m) +
                     " " + std::to_string(s.t));
        EXPECT_TRUE(verifyWheel(design.tickets, s, 2).guarantees);
        EXPECT_GE(design.tickets.size(), wheelLowerBound(s));
    }
    EXPECT_EQ(shippedDesigns().size(), read.designs.size());
}

TEST(WheelDesigns, ABadTableNamesItsLine) {
    const struct {
        const char* text;
        const char* error;  // its start; "" for a good table
    } cases[] = {
        {"# komentarz\nv=4 k=2 m=2 t=1\n1 2\n3, 4\n\nv=3 k=3 m=2 t=2\n1 2 3\n", ""},
        {"v=4 k=2 m=2 t=1\r\n1 2\r\n3 4\r\n", ""},
        {"v=4 k=2 m=2\n1 2\n", "tabela systemów, wiersz 1: oczekiwano nagłówka"},
        {"v=4 k=5 m=2 t=1\n1 2\n", "tabela systemów, wiersz 1: oczekiwano nagłówka"},
        {"v=4 k=2 m=2 t=3\n1 2\n", "tabela systemów, wiersz 1: oczekiwano nagłówka"},
        {"1 2\n", "tabela systemów, wiersz 1: oczekiwano nagłówka"},
        {"v=4 k=2 m=2 t=1\n1 5\n", "tabela systemów, wiersz 2: liczba 5 spoza 1-4"},
        {"v=4 k=2 m=2 t=1\n1 1\n", "tabela systemów, wiersz 2: liczba 1 dwa razy"},
        {"v=4 k=2 m=2 t=1\n1 2 3\n", "tabela systemów, wiersz 2: zakład ma 3 liczb zamiast 2"},
        {"v=4 k=2 m=2 t=1\n1 x\n", "tabela systemów, wiersz 2: znak, który nie jest liczbą"},
        {"v=4 k=2 m=2 t=1\n1 2\n\nv=4 k=2 m=2 t=1\n3 4\n",
         "tabela systemów, wiersz 4: drugi system tych samych parametrów"},
        {"v=4 k=2 m=2 t=1\n", "tabela systemów: system bez zakładów"},
    };
    for (const auto& c : cases) {
        const DesignsRead read = readDesigns(c.text);
        EXPECT_EQ(read.error.substr(0, std::string(c.error).size()), c.error) << c.text;
        if (*c.error == 0) {
            EXPECT_FALSE(read.designs.empty());
        }
    }
    const DesignsRead two = readDesigns(cases[0].text);
    ASSERT_EQ(two.designs.size(), 2u);
    EXPECT_EQ(two.designs[0].tickets, (std::vector<WheelMask>{0b0011, 0b1100}));
}

}  // namespace
}  // namespace zestawy
