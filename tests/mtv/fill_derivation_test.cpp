// The rules that turn a stream's sequence header, first picture and audio frame headers into
// header fields.

#include <gtest/gtest.h>

#include "mtv/header_derivation.h"

namespace quarnel {
namespace {

VideoFacts video(std::int32_t width, std::int32_t height, std::int32_t aspect = 2,
                 std::int32_t vbv_delay = 0x1234) {
    return {width, height, aspect, 15000, vbv_delay};
}

TEST(VideoDerivation, WidescreenVariableRatePalStream) {
    MtvHeader header;
    derive_video_fields(header, video(720, 576, 3, 0xFFFF));
    EXPECT_EQ(header.GetVideoSystem(), 1);
    EXPECT_EQ(header.GetResolutionIndex(), 0);
    EXPECT_EQ(header.GetAspectIndex(), 1);
    EXPECT_EQ(header.GetRateControl(), 1);
    EXPECT_EQ(header.GetVideoBitRate(), 6000000);
}

TEST(VideoDerivation, ConstantRateWhenVbvDelayIsCoded) {
    MtvHeader header;
    header.SetRateControl(1);
    derive_video_fields(header, video(720, 480, 2, 0));
    EXPECT_EQ(header.GetRateControl(), 0);
}

TEST(VideoDerivation, OnlyAspectCodeThreeIsWidescreen) {
    for (const int code : {1, 2, 4, 0, 15}) {
        MtvHeader header;
        header.SetAspectIndex(1);
        derive_video_fields(header, video(720, 480, code));
        EXPECT_EQ(header.GetAspectIndex(), 0) << "aspect_ratio_information " << code;
    }
}

TEST(ResolutionChoice, SearchesNtscThenPalByPictureSizeAlone) {
    EXPECT_EQ(choose_resolution(352, 240), (ResolutionChoice{0, 3, true}));
    EXPECT_EQ(choose_resolution(480, 480), (ResolutionChoice{0, 5, true}));
    EXPECT_EQ(choose_resolution(352, 288), (ResolutionChoice{1, 3, true}));
    EXPECT_EQ(choose_resolution(704, 576), (ResolutionChoice{1, 1, true}));
}

TEST(ResolutionChoice, UnlistedSizesFallBackToNtsc720x480) {
    EXPECT_EQ(choose_resolution(640, 480), (ResolutionChoice{0, 0, false}));
    EXPECT_EQ(choose_resolution(1920, 1080), (ResolutionChoice{0, 0, false}));
    EXPECT_EQ(choose_resolution(576, 720), (ResolutionChoice{0, 0, false}));

    MtvHeader header;
    header.SetVideoSystem(1);
    header.SetResolutionIndex(2);
    derive_video_fields(header, video(640, 480));
    EXPECT_EQ(header.GetVideoSystem(), 0);
    EXPECT_EQ(header.GetResolutionIndex(), 0);
}

TEST(VideoBitRate, FourHundredBitsPerUnitHeldAtTheFieldLimit) {
    EXPECT_EQ(video_bit_rate_bps(15000), 6000000);
    EXPECT_EQ(video_bit_rate_bps(0x3FFFF), 104857200);  // MPEG-1 variable-rate marker
    EXPECT_EQ(video_bit_rate_bps((1 << 30) - 1), 2147483647);
    EXPECT_EQ(video_bit_rate_bps(0), 0);
}

TEST(AudioBitRatePosition, FirstListedRateAtLeastTheKibibitQuotient) {
    EXPECT_EQ(audio_bit_rate_position(224000), 8);  // 218 -> 224
    EXPECT_EQ(audio_bit_rate_position(192000), 7);
    EXPECT_EQ(audio_bit_rate_position(384000), 11);
    EXPECT_EQ(audio_bit_rate_position(32000), 0);  // below the list: its first entry
    EXPECT_EQ(audio_bit_rate_position(0), 0);
    EXPECT_EQ(audio_bit_rate_position(1536 * 1024 + 1023), 14);
}

TEST(AudioBitRatePosition, NothingAboveTheLastListedRate) {
    EXPECT_EQ(audio_bit_rate_position(1537 * 1024), std::nullopt);

    MtvHeader header;
    header.SetAudioBitRateIndex(3);
    derive_audio_fields(header, {2000000, 48000});
    EXPECT_EQ(header.GetAudioBitRateIndex(), 3);
}

TEST(SamplingPosition, ListedRatesOnly) {
    EXPECT_EQ(sampling_position(48000), 0);
    EXPECT_EQ(sampling_position(44100), 1);
    EXPECT_EQ(sampling_position(32000), 2);
    EXPECT_EQ(sampling_position(22050), std::nullopt);
    EXPECT_EQ(sampling_position(-48000), std::nullopt);
}

TEST(AudioDerivation, UnlistedSamplingRateKeepsThePreviousPosition) {
    MtvHeader header;
    derive_audio_fields(header, {128000, 44100});
    EXPECT_EQ(header.GetSamplingIndex(), 1);
    EXPECT_EQ(header.GetAudioBitRateIndex(), 5);

    derive_audio_fields(header, {128000, 22050});
    EXPECT_EQ(header.GetSamplingIndex(), 1);
}

TEST(AudioDerivation, LeavesTheAc3MarkAsTheUserSetIt) {
    MtvHeader header;
    header.SetAudioCoding(0);
    derive_audio_fields(header, {224000, 48000});
    EXPECT_EQ(header.GetAudioCoding(), 0);
}

}  // namespace
}  // namespace quarnel
