// How convert's options read and what they make of a header after derivation.

#include <gtest/gtest.h>

#include "cli/header_options.h"

namespace quarnel::cli {
namespace {

TEST(ConvertOptionTexts, ReadTheDialogsLabelsInAnyCase) {
    EXPECT_EQ(parse_video_system("PAL"), 1);
    EXPECT_EQ(parse_video_system("ntsc"), 0);
    EXPECT_EQ(parse_video_system("secam"), std::nullopt);
    EXPECT_EQ(parse_rate_control("Vbr"), 1);
    EXPECT_EQ(parse_aspect("16:9"), 1);
    EXPECT_EQ(parse_aspect("16/9"), std::nullopt);
    EXPECT_EQ(parse_audio_bit_rate("224"), 8);
    EXPECT_EQ(parse_audio_bit_rate("UNKNOWN"), 15);
    EXPECT_EQ(parse_audio_bit_rate("225"), std::nullopt);
    EXPECT_EQ(parse_sampling("44100"), 1);
    EXPECT_EQ(parse_sampling("22050"), std::nullopt);
}

TEST(ConvertOptionTexts, NumbersMustBeWholeAndInRange) {
    const auto size = parse_resolution("352x288");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 352);
    EXPECT_EQ(size->height, 288);
    for (const char* bad : {"352", "x288", "352x", "352x288p", "-352x288", "352 x 288"})
        EXPECT_FALSE(parse_resolution(bad)) << bad;

    EXPECT_EQ(parse_video_bit_rate("8000000"), 8000000);
    EXPECT_EQ(parse_video_bit_rate("2147483647"), 2147483647);
    for (const char* bad : {"0", "-1", "2147483648", "8M", "", " 8000000"})
        EXPECT_FALSE(parse_video_bit_rate(bad)) << bad;
}

TEST(ConvertResolution, SizeAloneFindsItsSystemAndSystemNarrowsTheSearch) {
    HeaderOptions options;
    options.resolution = Resolution{352, 288};
    EXPECT_EQ(chosen_resolution(options), (ResolutionChoice{1, 3, true}));
    options.video_system = 0;
    EXPECT_EQ(chosen_resolution(options), std::nullopt);
    options.resolution = Resolution{352, 240};
    EXPECT_EQ(chosen_resolution(options), (ResolutionChoice{0, 3, true}));
    options.video_system.reset();
    options.resolution = Resolution{640, 480};
    EXPECT_EQ(chosen_resolution(options), std::nullopt);
}

TEST(ConvertOverrides, GivenValuesWinAndOthersKeepWhatWasDerived) {
    MtvHeader header;
    header.SetVideoSystem(1);
    header.SetResolutionIndex(3);
    header.SetVideoBitRate(4000000);
    header.SetSamplingIndex(1);

    HeaderOptions options;
    options.rate_control = 1;
    options.audio_bit_rate_index = 15;
    apply_header_options(header, options);
    EXPECT_EQ(header.GetVideoSystem(), 1);
    EXPECT_EQ(header.GetResolutionIndex(), 3);
    EXPECT_EQ(header.GetVideoBitRate(), 4000000);
    EXPECT_EQ(header.GetSamplingIndex(), 1);
    EXPECT_EQ(header.GetRateControl(), 1);
    EXPECT_EQ(header.GetAudioBitRateIndex(), 15);
    EXPECT_EQ(header.GetAudioCoding(), 2);

    options.ac3 = true;
    apply_header_options(header, options);
    EXPECT_EQ(header.GetAudioCoding(), 0);
}

TEST(ConvertOverrides, SystemAloneKeepsAPositionItsListHas) {
    MtvHeader header;
    header.SetResolutionIndex(5);  // NTSC 480x480: PAL has only four sizes
    HeaderOptions options;
    options.video_system = 1;
    apply_header_options(header, options);
    EXPECT_EQ(header.GetVideoSystem(), 1);
    EXPECT_EQ(header.GetResolutionIndex(), 0);

    header.SetResolutionIndex(3);
    options.video_system = 0;
    apply_header_options(header, options);
    EXPECT_EQ(header.GetResolutionIndex(), 3);
}

}  // namespace
}  // namespace quarnel::cli
