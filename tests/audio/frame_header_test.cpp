#include "audio/frame_header.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/mp2_writer.h"

namespace quarnel {
namespace {

using test::Mp2Format;
using test::Mp2Mode;

AudioFrameHeader parsed(const Mp2Format& format, bool padding = false) {
    AudioFrameHeader header;
    parse_audio_header(test::mp2_header_word(format, padding), header);
    return header;
}

bool accepted(const Mp2Format& format) {
    return parsed(format).layer == 2;
}

TEST(AudioFrameHeader, RejectsWhatIsNotAnMpeg1LayerIIHeaderAndZeroesTheRecord) {
    const std::uint32_t good = test::mp2_header_word({}, false);
    AudioFrameHeader header;
    ASSERT_TRUE(parse_audio_header(good, header));

    const std::uint32_t bad[] = {
        good & ~0x0000F000u,                  // bitrate_index 0: free format
        good | 0x0000F000u,                   // bitrate_index 15: forbidden
        good | 0x00000C00u,                   // sampling_frequency 3: reserved
        (good & ~0x00060000u) | 0x00060000u,  // layer I
        (good & ~0x00060000u) | 0x00020000u,  // layer III
        good & ~0x00080000u,                  // ID 0: MPEG-2 low sampling rates
        good & ~0x00100000u,                  // broken syncword
    };
    for (const std::uint32_t word : bad) {
        header.bit_rate = 1;
        EXPECT_FALSE(parse_audio_header(word, header)) << std::hex << word;
        EXPECT_EQ(header, AudioFrameHeader{}) << std::hex << word;
    }
}

TEST(AudioFrameHeader, JointStereo48kHzAt192kbitUsesTheLimitOf27AndItsBound) {
    const Mp2Format format{192000, 48000, Mp2Mode::joint_stereo, 2, true};
    const AudioFrameHeader header = parsed(format);
    EXPECT_EQ(header.version, 1);
    EXPECT_EQ(header.crc_protected, 1);
    EXPECT_EQ(header.channels, 2);
    EXPECT_EQ(header.sub_band_limit, 27);
    EXPECT_EQ(header.bound, 12);
    EXPECT_EQ(header.frame_length, 576);
    EXPECT_EQ(parsed(format, true).frame_length, 577);
    EXPECT_EQ(parsed(format, true).padding, 1);
}

TEST(AudioFrameHeader, BoundNeverExceedsTheSubBandLimit) {
    // Mode extension 3 asks for bound 16, above the 12 sub-bands coded at this rate.
    EXPECT_EQ(parsed({64000, 32000, Mp2Mode::joint_stereo, 3}).bound, 12);
    EXPECT_EQ(parsed({192000, 48000, Mp2Mode::stereo}).bound, 27);
}

TEST(AudioFrameHeader, Stereo44kHzAt128kbitHasFramesOf417Or418Bytes) {
    const Mp2Format format{128000, 44100, Mp2Mode::stereo};
    EXPECT_EQ(parsed(format).sub_band_limit, 27);
    EXPECT_EQ(parsed(format).frame_length, 417);
    EXPECT_EQ(parsed(format, true).frame_length, 418);
    EXPECT_EQ(parsed({256000, 44100, Mp2Mode::stereo}).sub_band_limit, 30);
}

TEST(AudioFrameHeader, SingleChannelAcceptsUpTo192kbit) {
    const AudioFrameHeader low = parsed({48000, 32000, Mp2Mode::mono});
    EXPECT_EQ(low.channels, 1);
    EXPECT_EQ(low.sub_band_limit, 12);
    EXPECT_EQ(low.frame_length, 216);
    EXPECT_TRUE(accepted({192000, 32000, Mp2Mode::mono}));
    EXPECT_FALSE(accepted({224000, 32000, Mp2Mode::mono}));
    EXPECT_FALSE(accepted({384000, 48000, Mp2Mode::mono}));
}

TEST(AudioFrameHeader, TwoChannelsNeedAtLeast64kbit) {
    EXPECT_FALSE(accepted({56000, 48000, Mp2Mode::stereo}));
    EXPECT_FALSE(accepted({32000, 48000, Mp2Mode::dual_channel}));
    EXPECT_EQ(parsed({64000, 32000, Mp2Mode::stereo}).sub_band_limit, 12);
    EXPECT_EQ(parsed({64000, 44100, Mp2Mode::stereo}).sub_band_limit, 8);
    EXPECT_EQ(parsed({64000, 48000, Mp2Mode::stereo}).sub_band_limit, 8);
}

TEST(TimeStampConversion, TruncatesTowardZeroForBothSigns) {
    EXPECT_EQ(ticks_to_samples(90000, 48000), 48000);
    EXPECT_EQ(ticks_to_samples(-3000, 48000), -1600);
    EXPECT_EQ(ticks_to_samples(-1, 44100), 0);
    EXPECT_EQ(samples_to_ticks(1152, 44100), 2351);
    EXPECT_EQ(samples_to_ticks(-1152, 48000), -2160);
    // A day of 33-bit stamps stays exact: no 64-bit overflow in the product.
    EXPECT_EQ(ticks_to_samples(8589934591, 48000), 4581298448);
    EXPECT_EQ(samples_to_ticks(4581298448, 48000), 8589934590);
}

TEST(FrameCounting, CountsEveryFrameThatBeginsInThePayload) {
    const Mp2Format format{128000, 44100, Mp2Mode::stereo};
    const std::vector<std::uint8_t> frames = test::mp2_frames(format, 5);
    EXPECT_EQ(count_frames_in_payload(frames), 5);

    // The last frame is cut off, and the payload opens with the tail of an earlier one.
    std::vector<std::uint8_t> cut(300, 0x55);
    cut.insert(cut.end(), frames.begin(), frames.end() - 200);
    EXPECT_EQ(count_frames_in_payload(cut), 5);

    // Only the tail of a frame: no frame begins here.
    EXPECT_EQ(count_frames_in_payload(std::vector<std::uint8_t>(400, 0)), 0);
}

TEST(FrameCounting, PayloadsTooShortForAHeaderHoldNoFrame) {
    const std::vector<std::uint8_t> frames = test::mp2_frames({}, 1);
    for (std::size_t n = 0; n < 4; ++n) {
        EXPECT_EQ(count_frames_in_payload({frames.data(), n}), 0) << n;
    }
    EXPECT_EQ(count_frames_in_payload({frames.data(), 5}), 1);
}

}  // namespace
}  // namespace quarnel
