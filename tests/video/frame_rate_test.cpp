#include "video/frame_rate.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

SequenceInfo sequence_with(int code, bool mpeg2, int n = 0, int d = 0) {
    SequenceInfo s;
    s.frame_rate_code = code;
    s.sequence_extension_present = mpeg2;
    s.frame_rate_extension_n = n;
    s.frame_rate_extension_d = d;
    return s;
}

TEST(FrameRate, Mpeg2ExtensionScalesTheTableRate) {
    EXPECT_EQ(frame_rate(sequence_with(4, true, 1, 0)), (FrameRate{60000, 1001}));
    EXPECT_EQ(frame_rate(sequence_with(3, true, 0, 1)), (FrameRate{25, 2}));
    EXPECT_EQ(frame_rate(sequence_with(1, true)), (FrameRate{24000, 1001}));
}

TEST(FrameRate, Mpeg1IgnoresLeftoverExtensionFactors) {
    EXPECT_EQ(frame_rate(sequence_with(3, false, 1, 1)), (FrameRate{25, 1}));
}

TEST(FrameRate, ForbiddenReservedAndDamagedCodesGiveNoRate) {
    for (const int code : {0, 9, 15, 16, -1, 1000}) {
        EXPECT_EQ(frame_rate(sequence_with(code, true)).rate, 0) << code;
        EXPECT_EQ(whole_frame_rate(code), 0) << code;
    }
    // Extension factors from a damaged record never make a zero scale.
    EXPECT_GT(frame_rate(sequence_with(5, true, -1, -1)).scale, 0);
}

}  // namespace
}  // namespace quarnel
