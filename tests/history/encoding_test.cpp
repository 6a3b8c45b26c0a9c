// The conversions between Windows-1250, UTF-8 and UTF-16 that file names and
// the console's text go through.

#include "history/encoding.hpp"

#include <gtest/gtest.h>

#include <string>

namespace zestawy {
namespace {

TEST(Encoding, EveryWindows1250CharacterGoesThereAndBack) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::string utf8 = utf8FromCp1250(one);
        EXPECT_EQ(cp1250FromUtf8(utf8), one) << byte;
        EXPECT_EQ(utf8FromUtf16(utf16FromUtf8(utf8)), utf8) << byte;
        EXPECT_EQ(utf16FromCp1250(one), utf16FromUtf8(utf8)) << byte;
        EXPECT_EQ(cp1250FromUtf16(utf16FromCp1250(one)), one) << byte;
    }
    EXPECT_EQ(cp1250FromUtf16(u"\u017c\u20ac\u0416"), "\xbf\x80?");  // Cyrillic is not in it
}

TEST(Encoding, WhatCannotBeConvertedBecomesAReplacement) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
        std::string cp1250;
    };
    const Case cases[] = {
        {u8"losowań €", u"losowań €", "losowa\xf1 \x80"},
        {"\xF0\x9F\x98\x80", u"\U0001F600", "?"},                   // beyond the basic plane
        {"a\xC4", u"a\uFFFD", "a?"},                                // cut short
        {"\xC0\x80", u"\uFFFD\uFFFD", "??"},                        // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", "???"},             // a surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", "????"},  // above U+10FFFF
        {"\x85x", u"\uFFFDx", "?x"},                                // a lone continuation byte
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(cp1250FromUtf8(c.utf8), c.cp1250) << c.utf8;
    }
    EXPECT_EQ(utf8FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8FromUtf16(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace zestawy
