#include "video/colour_matrix.h"

#include <gtest/gtest.h>

#include "support/video_es_writer.h"

namespace quarnel {
namespace {

using test::mpeg1_sequence;
using test::mpeg2_sequence;

SequenceInfo at_frame_rate_code(SequenceInfo s, int code) {
    s.frame_rate_code = code;
    return s;
}

TEST(ColourMatrixChoice, HighDefinitionPixelRateWithoutColourDescriptionChoosesBt709) {
    const VideoSettings automatic;
    EXPECT_EQ(choose_colour_matrix(at_frame_rate_code(mpeg2_sequence(1920, 1080), 4), automatic),
              1);
    EXPECT_EQ(choose_colour_matrix(at_frame_rate_code(mpeg2_sequence(720, 480), 4), automatic), 0);
    // 1280 x 720 at 24 frames/s is 22 million pixels a second; 720 x 576 at 25 is 10 million.
    EXPECT_EQ(choose_colour_matrix(at_frame_rate_code(mpeg2_sequence(1280, 720), 2), automatic), 1);
    EXPECT_EQ(choose_colour_matrix(at_frame_rate_code(mpeg2_sequence(720, 576), 3), automatic), 0);
}

TEST(ColourMatrixChoice, FrameRateExtensionScalesThePixelRate) {
    SequenceInfo s = at_frame_rate_code(mpeg2_sequence(720, 576), 3);  // 10.4 million at 25
    s.frame_rate_extension_n = 1;                                      // doubled: 20.7 million
    EXPECT_EQ(choose_colour_matrix(s, {}), 1);
    s.frame_rate_extension_d = 1;  // back to 25
    EXPECT_EQ(choose_colour_matrix(s, {}), 0);
}

TEST(ColourMatrixChoice, ColourDescriptionWinsOverSettingAndPixelRate) {
    SequenceInfo s = at_frame_rate_code(mpeg2_sequence(1920, 1080), 4);
    s.sequence_display_extension_present = 1;
    s.colour_description = 1;
    s.matrix_coefficients = 6;
    VideoSettings settings;
    settings.color_matrix = 7;
    EXPECT_EQ(choose_colour_matrix(s, settings), 6);

    s.colour_description = 0;  // a display extension without a description does not count
    EXPECT_EQ(choose_colour_matrix(s, settings), 7);
}

TEST(ColourMatrixChoice, Mpeg1IgnoresTheSettingAndThePixelRate) {
    VideoSettings settings;
    settings.color_matrix = 1;
    EXPECT_EQ(choose_colour_matrix(at_frame_rate_code(mpeg1_sequence(4000, 3000), 5), settings), 0);
}

TEST(ColourCoefficients, RowFollowsMatrixAndLumaRange) {
    EXPECT_EQ(colour_coefficients(0, 0), (ColourCoefficients{91881, -22553, -46801, 116129}));
    EXPECT_EQ(colour_coefficients(1, 1), (ColourCoefficients{117504, -13954, -34903, 138453}));
    EXPECT_EQ(colour_coefficients(4, 0), (ColourCoefficients{91750, -21749, -46652, 116654}));
    EXPECT_EQ(colour_coefficients(7, 1), (ColourCoefficients{117579, -16907, -35559, 136230}));
    EXPECT_EQ(colour_coefficients(5, 1), colour_coefficients(0, 1));
    EXPECT_EQ(luma_range(0).offset, 0);
    EXPECT_EQ(luma_range(0).scale, 65536);
    EXPECT_EQ(luma_range(1).offset, 16);
    EXPECT_EQ(luma_range(1).scale, 76309);
}

TEST(ColourCoefficients, MatricesOutsideTheTableConvertAsMatrixZero) {
    for (std::int32_t m : {8, 255, -1, 1 << 30}) {
        EXPECT_FALSE(colour_matrix_in_table(m)) << m;
        EXPECT_EQ(colour_coefficients(m, 1), colour_coefficients(0, 1)) << m;
        EXPECT_EQ(colour_coefficients(m, 0), colour_coefficients(0, 0)) << m;
    }
}

TEST(Yuy2Conversion, NoneWhenTheSourceAlreadyIsTheTargetOrNoneIsAsked) {
    EXPECT_FALSE(yuy2_conversion(0, 0));
    EXPECT_FALSE(yuy2_conversion(1, 5));
    EXPECT_FALSE(yuy2_conversion(1, -1));
    EXPECT_FALSE(yuy2_conversion(0, 1));
    EXPECT_FALSE(yuy2_conversion(6, 1));  // BT.601 converts as matrix 0
    EXPECT_FALSE(yuy2_conversion(9, 1));  // so does a matrix outside the table
    EXPECT_FALSE(yuy2_conversion(1, 2));
    EXPECT_FALSE(yuy2_conversion(4, 3));
    EXPECT_FALSE(yuy2_conversion(7, 4));
}

TEST(Yuy2Conversion, RecordChosenByTargetAndSource) {
    EXPECT_EQ(yuy2_conversion(1, 1), (Yuy2Record{6670, 12865, 64871, -7260, -4757, 64447}));
    EXPECT_EQ(yuy2_conversion(7, 1), (Yuy2Record{4924, 12547, 64754, -7081, -3512, 64720}));
    EXPECT_EQ(yuy2_conversion(0, 2), (Yuy2Record{-7762, -13957, 66759, 7521, 4928, 67199}));
    EXPECT_EQ(yuy2_conversion(5, 2), yuy2_conversion(0, 2));
    EXPECT_EQ(yuy2_conversion(4, 2), (Yuy2Record{-7149, -13878, 66711, 7478, 4539, 67066}));
    EXPECT_EQ(yuy2_conversion(1, 3), (Yuy2Record{6147, 12876, 64874, -7234, -4390, 64531}));
    EXPECT_EQ(yuy2_conversion(2, 4), (Yuy2Record{-5707, -13329, 66723, 7300, 3621, 66758}));
    EXPECT_EQ(yuy2_conversion(4, 4), (Yuy2Record{-5097, -13252, 66676, 7258, 3234, 66626}));
}

}  // namespace
}  // namespace quarnel
