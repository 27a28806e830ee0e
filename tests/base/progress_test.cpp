#include "base/progress.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(ProgressText, ShowsThePercentageRightAlignedInEachLanguage) {
    EXPECT_EQ(progress_text(progress_texts_english, 7), "Creating GOP List ..   7 %");
    EXPECT_EQ(progress_text(progress_texts_english, 100), "Creating GOP List .. 100 %");
    EXPECT_EQ(progress_text(progress_texts_japanese, 40), "GOP リストを作成中です……  40 %");
}

TEST(ProgressPercent, IsThePartOfTheStreamReadSoFar) {
    EXPECT_EQ(progress_percent(0, 1000), 0);
    EXPECT_EQ(progress_percent(9, 1000), 0);
    EXPECT_EQ(progress_percent(400, 1000), 40);
    EXPECT_EQ(progress_percent(1000, 1000), 100);
    EXPECT_EQ(progress_percent(5'000'000'000'000, 10'000'000'000'000), 50);
    EXPECT_EQ(progress_percent(0, 0), 0);
}

}  // namespace
}  // namespace quarnel
