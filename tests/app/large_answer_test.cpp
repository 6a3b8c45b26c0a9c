// The texts with which the window asks where a very long answer goes.
#include "app/large_answer.hpp"

#include <gtest/gtest.h>

namespace zestawy {
namespace {

// The text with each '_' made a no-break space.
std::string nb(std::string text) {
    for (char& c : text)
        if (c == '_') c = '\xA0';
    return text;
}

TEST(LargeAnswer, CountsSetsAndSizesInPolish) {
    const std::pair<std::uint64_t, const char*> counts[] = {{1, "1_zestaw"},
                                                            {2, "2_zestawy"},
                                                            {4, "4_zestawy"},
                                                            {5, "5_zestawów"},
                                                            {12, "12_zestawów"},
                                                            {14, "14_zestawów"},
                                                            {22, "22_zestawy"},
                                                            {111, "111_zestawów"},
                                                            {1000, "1_000_zestawów"},
                                                            {23955408, "23_955_408_zestawów"},
                                                            {219145123, "219_145_123_zestawy"}};
    for (const auto& [sets, text] : counts) EXPECT_EQ(setCount(sets), nb(text));
    const std::pair<std::uint64_t, const char*> sizes[] = {
        {0, "0_B"},
        {999, "999_B"},
        {950000, "950_kB"},
        {2000000, "2_MB"},
        {2345678, "2,3_MB"},
        {464281960, "464_MB"},
        {5110340000, "5,1_GB"},
        {64000000, "64_MB"},
        // Rounded once: not "15 kB", not "1000 kB".
        {14460, "14_kB"},
        {999500, "1_MB"},
        {999499, "999_kB"},
        {9960, "10_kB"}};
    for (const auto& [bytes, text] : sizes) EXPECT_EQ(textSize(bytes), nb(text));
}

TEST(LargeAnswer, OffersTheBoxOnlyWhenItCanTakeTheAnswer) {
    const SearchCommand& fives = *findSearchCommand(16);
    const AnswerSize size = {23886000, 464281960};
    const std::string both = largeAnswerQuestion(fives, size, true);
    EXPECT_EQ(both.substr(0, both.find('\n')),
              nb("„Wyszukaj 5 z 5” znalazło 23_886_000_zestawów: 464_MB tekstu."));
    EXPECT_NE(both.find("\nNie – dopisz"), std::string::npos);
    const std::string fileOnly = largeAnswerQuestion(fives, size, false);
    EXPECT_EQ(fileOnly.find("\nNie"), std::string::npos);
    EXPECT_NE(fileOnly.find(nb("najwyżej 64_MB")), std::string::npos);
    EXPECT_EQ(savedAnswerNote(fives, size, "C:\\wyniki\\piątki.txt"),
              nb("„Wyszukaj 5 z 5”: 23_886_000_zestawów (464_MB) zapisano w pliku "
                 "C:\\wyniki\\piątki.txt"));
}

}  // namespace
}  // namespace zestawy
