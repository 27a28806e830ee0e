// File names converted for capture software that reads code page 932.

#include <gtest/gtest.h>

#include "base/code_page.h"

namespace quarnel {
namespace {

TEST(Cp932Names, AsciiStaysAndJapaneseBecomesShiftJisPairs) {
    EXPECT_EQ(utf8_to_cp932("clip 01.mpg"), "clip 01.mpg");
    EXPECT_EQ(utf8_to_cp932("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.mpg"),  // テスト
              "\x83\x65\x83\x58\x83\x67.mpg");
    EXPECT_EQ(utf8_to_cp932("\xE6\x98\xA0\xE5\x83\x8F"), "\x89\x66\x91\x9C");  // 映像
    EXPECT_EQ(utf8_to_cp932("\xEF\xBD\xB1"), "\xB1");  // half-width katakana A
    EXPECT_EQ(utf8_to_cp932(""), "");
}

TEST(Cp932Names, RefusesWhatHasNoCp932FormOrIsNotUtf8) {
    EXPECT_EQ(utf8_to_cp932("\xF0\x9F\x8E\xA5.mpg"), std::nullopt);   // an emoji
    EXPECT_EQ(utf8_to_cp932("\xC3\xA9t\xC3\xA9.mpg"), std::nullopt);  // Latin-1 letters
    EXPECT_EQ(utf8_to_cp932("\x83\x65.mpg"), std::nullopt);           // already Shift JIS
    EXPECT_EQ(utf8_to_cp932("\xE3\x83"), std::nullopt);               // cut short
}

}  // namespace
}  // namespace quarnel
