#include "video/time_code.h"

#include <gtest/gtest.h>

#include "support/video_es_writer.h"
#include "video/header_codes.h"

namespace quarnel {
namespace {

using test::GopParams;
using test::VideoEsWriter;

TEST(GopTimeCode, ReadsTheTimeCodeAndLeavesTheGopFlagsForTheCaller) {
    VideoEsWriter es;
    es.gop({.hours = 23,
            .minutes = 59,
            .seconds = 58,
            .pictures = 29,
            .drop_frame = true,
            .closed_gop = true,
            .broken_link = false});
    auto reader = es.open_reader_past(group_start_code);
    const GopTimeCode tc = parse_gop_time_code(*reader);
    EXPECT_EQ(tc, (GopTimeCode{1, 23, 59, 1, 58, 29}));
    EXPECT_EQ(reader->get_bits(2), 0b10u);  // closed_gop, broken_link
}

TEST(GopTimeCode, CountsFramesWithAndWithoutDroppedFrameNumbers) {
    // 01:00:00;00 at 29.97: two numbers dropped in 54 of the 60 minutes.
    EXPECT_EQ(time_code_to_frames({1, 1, 0, 1, 0, 0}, 30), 107892);
    EXPECT_EQ(time_code_to_frames({1, 0, 10, 1, 0, 0}, 30), 17982);
    EXPECT_EQ(time_code_to_frames({1, 0, 1, 1, 0, 2}, 30), 1800);
    EXPECT_EQ(time_code_to_frames({0, 0, 1, 1, 2, 3}, 25), 1553);
    EXPECT_EQ(time_code_to_frames({0, 31, 63, 1, 63, 63}, 60),
              31 * 216000 + 63 * 3600 + 63 * 60 + 63);
}

}  // namespace
}  // namespace quarnel
