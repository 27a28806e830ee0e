#include "recon/resize_tables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>

namespace quarnel {
namespace {

SequenceShape mpeg2(int width, int height, int aspect, int chroma_format = 1) {
    SequenceShape s;
    s.horizontal_size = width;
    s.vertical_size = height;
    s.coded_width = (width + 15) / 16 * 16;
    s.coded_height = (height + 15) / 16 * 16;
    s.aspect_ratio_information = aspect;
    s.sequence_extension_present = 1;
    s.chroma_format = chroma_format;
    return s;
}

SequenceShape mpeg1(int width, int height, int pel_aspect) {
    SequenceShape s = mpeg2(width, height, pel_aspect);
    s.sequence_extension_present = 0;
    s.chroma_format = 0;
    return s;
}

VideoSettings resizing() {
    VideoSettings v;
    v.aspect_ratio = 1;
    return v;
}

// Every index in range and every output's weights summing to 1.0 up to the truncation of
// each weight toward zero (up for the negative lobes, down for the positive ones).
void expect_sound(const ResizeFilter& f, int source_width) {
    ASSERT_EQ(f.source_indices.size(), static_cast<std::size_t>(f.output_count) * f.taps);
    for (int i = 0; i < f.output_count; ++i) {
        const std::int32_t* w = f.weights_of(i);
        const int sum = std::accumulate(w, w + f.taps, 0);
        EXPECT_LE(std::abs(sum - 65536), f.taps);
        for (int j = 0; j < f.taps; ++j) {
            EXPECT_GE(f.indices_of(i)[j], 0);
            EXPECT_LT(f.indices_of(i)[j], source_width);
        }
    }
}

TEST(ResizeTables, NtscFourThreeDownscalesTo640WithSevenTaps) {
    SequenceShape s = mpeg2(720, 480, 2);
    const auto t = build_resize_tables(s, resizing());
    ASSERT_TRUE(t);
    EXPECT_EQ(t->luma.output_width, 640);
    EXPECT_EQ(t->luma.taps, 7);
    EXPECT_EQ(t->luma.height, 480);
    EXPECT_EQ(t->luma.aligned_width, 640);
    EXPECT_EQ(t->luma.source_line_step, 720);
    EXPECT_EQ(t->luma.chroma_line_width, 0);
    EXPECT_EQ(t->chroma.output_width, 320);
    EXPECT_EQ(t->chroma.output_count, 320);
    EXPECT_EQ(t->chroma.taps, 7);  // 360 -> 320
    EXPECT_EQ(t->chroma.source_offset, 360);
    EXPECT_EQ(t->chroma.chroma_line_width, 320);
    expect_sound(t->luma, 720);
    expect_sound(t->chroma, 360);
}

TEST(ResizeTables, ReplaceThePictureSizeOfTheColourParameters) {
    SequenceShape s = mpeg1(352, 288, 8);
    const auto t = build_resize_tables(s, resizing());
    ColourParameters c;
    c.width = 352;
    c.luma_scale = 76309;
    apply_resize_tables(*t, c);
    EXPECT_EQ(c.width, 384);
    EXPECT_EQ(c.height, 288);
    EXPECT_EQ(c.coded_width, 384);
    EXPECT_EQ(c.chroma_line_width, 192);
    EXPECT_EQ(c.luma_scale, 76309);
}

TEST(ResizeTables, WidescreenUpscalesWithSixTaps) {
    SequenceShape s = mpeg2(720, 480, 3);
    const auto t = build_resize_tables(s, resizing());
    ASSERT_TRUE(t);
    EXPECT_EQ(t->luma.output_width, 854);  // 853 rounded up to even
    EXPECT_EQ(t->luma.aligned_width, 864);
    EXPECT_EQ(t->luma.taps, 6);
    expect_sound(t->luma, 720);

    SequenceShape pal = mpeg2(720, 576, 3);
    EXPECT_EQ(build_resize_tables(pal, resizing())->luma.output_width, 1024);
}

TEST(ResizeTables, NoTablesWhenNothingChanges) {
    SequenceShape square = mpeg2(720, 576, 1);
    EXPECT_FALSE(build_resize_tables(square, resizing()));
    SequenceShape s = mpeg2(720, 480, 2);
    EXPECT_FALSE(build_resize_tables(s, VideoSettings{}));
    SequenceShape one = mpeg1(352, 240, 1);
    EXPECT_FALSE(build_resize_tables(one, resizing()));
}

TEST(ResizeTables, Mpeg1UsesThePelAspectRatio) {
    SequenceShape ntsc = mpeg1(352, 240, 12);
    EXPECT_EQ(build_resize_tables(ntsc, resizing())->luma.output_width, 320);
    SequenceShape pal = mpeg1(352, 288, 8);
    const auto t = build_resize_tables(pal, resizing());
    EXPECT_EQ(t->luma.output_width, 384);
    EXPECT_EQ(t->chroma.output_width, 192);
    EXPECT_EQ(t->chroma.source_offset, 176);  // chroma follows luma in the line
}

TEST(ResizeTables, FourFourFourChromaKeepsFullWidth) {
    SequenceShape s = mpeg2(720, 480, 2, 3);
    const auto t = build_resize_tables(s, resizing());
    EXPECT_EQ(t->chroma.output_width, 640);
    EXPECT_EQ(t->chroma.chroma_line_width, 0);
    expect_sound(t->chroma, 720);
}

TEST(ResizeTables, UnusableDisplaySizesBecomeTheCodedSize) {
    SequenceShape s = mpeg2(720, 480, 2);
    s.sequence_display_extension_present = 1;
    s.display_horizontal_size = 0;
    s.display_vertical_size = 400;
    const auto t = build_resize_tables(s, resizing());
    EXPECT_EQ(s.display_horizontal_size, 720);
    EXPECT_EQ(s.display_vertical_size, 480);
    EXPECT_EQ(t->luma.height, 480);
    EXPECT_EQ(t->luma.source_offset, 0);
}

TEST(ResizeTables, DisplayAreaIsCentredAndSetsTheHeight) {
    SequenceShape s = mpeg2(720, 576, 2);
    s.sequence_display_extension_present = 1;
    s.display_horizontal_size = 704;
    s.display_vertical_size = 560;
    const auto t = build_resize_tables(s, resizing());
    ASSERT_TRUE(t);
    EXPECT_EQ(t->luma.height, 560);
    EXPECT_EQ(t->luma.output_width, 746);  // 4 x 560 / 3
    EXPECT_EQ(t->luma.source_offset, 8 * 720 + 8);
    EXPECT_EQ(t->chroma.source_offset, 8 * 720 + 4 + 360);
}

TEST(ResizeTables, DegenerateSizesGiveNoTables) {
    SequenceShape zero = mpeg2(720, 0, 2);
    EXPECT_FALSE(build_resize_tables(zero, resizing()));
    SequenceShape huge = mpeg1(2000000, 288, 8);
    EXPECT_FALSE(build_resize_tables(huge, resizing()));
}

TEST(ResizeFilters, ExactHalvingHasElevenTaps) {
    ResizeFilter f;
    filter_downscale(f, 720, 360);
    EXPECT_EQ(f.taps, 11);
    expect_sound(f, 720);
    // symmetric around the centre of output 100: sources 200 and 201
    const std::int32_t* w = f.weights_of(100);
    const std::int32_t* idx = f.indices_of(100);
    for (int j = 0; j + 1 < f.taps; ++j) {
        if (idx[j] == 200) {
            EXPECT_EQ(w[j], w[j + 1]);
        }
    }
}

TEST(ResizeFilters, IdentityAndUpscaleTaps) {
    ResizeFilter id;
    filter_identity(id, 5);
    EXPECT_EQ(id.taps, 1);
    EXPECT_EQ(id.indices_of(3)[0], 3);
    EXPECT_EQ(id.weights_of(3)[0], 65536);

    ResizeFilter up;
    filter_upscale(up, 10, 20);
    EXPECT_EQ(up.taps, 6);
    EXPECT_EQ(up.indices_of(0)[0], 0);   // clamped at the left edge
    EXPECT_EQ(up.indices_of(19)[5], 9);  // and at the right
    expect_sound(up, 10);
}

TEST(ResizeFilters, EmptyWidthsGiveEmptyFilters) {
    ResizeFilter f;
    filter_downscale(f, 720, 0);
    EXPECT_EQ(f.output_count, 0);
    EXPECT_TRUE(f.weights.empty());
    filter_upscale(f, 0, 10);
    EXPECT_EQ(f.taps, 0);
}

TEST(Lanczos3, IsOneAtZeroZeroAtIntegersAndSymmetric) {
    EXPECT_EQ(lanczos3(0), 1);
    EXPECT_NEAR(static_cast<double>(lanczos3(1)), 0, 1e-15);
    EXPECT_NEAR(static_cast<double>(lanczos3(2)), 0, 1e-15);
    EXPECT_EQ(lanczos3(3), 0);
    EXPECT_EQ(lanczos3(-4), 0);
    EXPECT_EQ(lanczos3(-1.5L), lanczos3(1.5L));
    EXPECT_NEAR(static_cast<double>(lanczos3(0.5L)), 0.6079271, 1e-6);
}

}  // namespace
}  // namespace quarnel
