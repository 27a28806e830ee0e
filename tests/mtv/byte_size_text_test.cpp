#include "mtv/byte_size_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace quarnel {
namespace {

TEST(ByteSizeText, SmallCountsAreExactBytes) {
    EXPECT_EQ(byte_size_text(0), "0 bytes");
    EXPECT_EQ(byte_size_text(1023), "1023 bytes");
}

TEST(ByteSizeText, LargerCountsKeepThreeSignificantDigits) {
    EXPECT_EQ(byte_size_text(1024), "1.00 KB");
    EXPECT_EQ(byte_size_text(1536), "1.50 KB");
    EXPECT_EQ(byte_size_text(150 * 1024), "150 KB");
    EXPECT_EQ(byte_size_text(5'000'000'000), "4.66 GB");
    EXPECT_EQ(byte_size_text(std::numeric_limits<std::uint64_t>::max()), "16.0 EB");
}

TEST(ByteSizeText, RoundingUpNeverShowsAFourthDigitOr1024) {
    EXPECT_EQ(byte_size_text(10'235), "10.0 KB");  // 9.995 KB
    EXPECT_EQ(byte_size_text(102'350), "100 KB");  // 99.95 KB
    EXPECT_EQ(byte_size_text(1024 * 1024 - 1), "1.00 MB");
}

}  // namespace
}  // namespace quarnel
