// The texts with which the window asks where a very long answer goes.
#include "commands/large_answer.hpp"

#include <gtest/gtest.h>

namespace zestawy {
namespace {

TEST(LargeAnswer, CountsSetsAndSizesInPolish) {
    const std::pair<std::uint64_t, const char*> counts[] = {
        {1, "1 zestaw"},          {2, "2 zestawy"},         {4, "4 zestawy"},
        {5, "5 zestawów"},        {12, "12 zestawów"},      {14, "14 zestawów"},
        {22, "22 zestawy"},       {111, "111 zestawów"},    {1000, "1 000 zestawów"},
        {23955408, "23 955 408 zestawów"}, {219145123, "219 145 123 zestawy"}};
    for (const auto& [sets, text] : counts) EXPECT_EQ(setCount(sets), text);
    const std::pair<std::uint64_t, const char*> sizes[] = {
        {0, "0 B"},           {999, "999 B"},         {950000, "950 kB"},
        {2000000, "2 MB"},    {2345678, "2,3 MB"},    {464281960, "464 MB"},
        {5110340000, "5,1 GB"}, {64000000, "64 MB"}};
    for (const auto& [bytes, text] : sizes) EXPECT_EQ(textSize(bytes), text);
}

TEST(LargeAnswer, OffersTheBoxOnlyWhenItCanTakeTheAnswer) {
    const SearchCommand& fives = *findSearchCommand(16);
    const AnswerSize size = {23886000, 464281960};
    const std::string both = largeAnswerQuestion(fives, size, true);
    EXPECT_EQ(both.substr(0, both.find('\n')),
              "\x84Wyszukaj 5 z 5\x94 znalaz\xb3o 23 886 000 zestaw\xf3w: 464 MB tekstu.");
    EXPECT_NE(both.find("\nNie \x96 dopisz"), std::string::npos);
    const std::string fileOnly = largeAnswerQuestion(fives, size, false);
    EXPECT_EQ(fileOnly.find("\nNie"), std::string::npos);
    EXPECT_NE(fileOnly.find("najwy\xbf" "ej 64 MB"), std::string::npos);
    EXPECT_EQ(savedAnswerNote(fives, size, "C:\\wyniki\\pi\xb9tki.txt"),
              "\x84Wyszukaj 5 z 5\x94: 23 886 000 zestaw\xf3w (464 MB) zapisano w pliku "
              "C:\\wyniki\\pi\xb9tki.txt");
}

}  // namespace
}  // namespace zestawy
