#include "audio/audio_reader_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "audio/frame_header.h"
#include "base/settings.h"
#include "support/mp2_writer.h"
#include "support/ps_writer.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

using test::Bytes;

const test::Mp2Format format{192000, 48000, test::Mp2Mode::stereo};  // 576-byte frames
const std::uint32_t header_word = test::mp2_header_word(format, false);

// `packets` stamped audio packets of one frame each, the first at sample 0.
std::unique_ptr<AudioReaderOps> open_frames(const test::TempDir& dir, int packets) {
    test::PsWriter ps;
    const Bytes frame = test::mp2_frames(format, 1);
    for (int i = 0; i < packets; ++i) ps.pack_header().pes(0xC0, frame, {.pts = 3600 + 2160 * i});
    return audio_reader_open(dir.write("frames.mpg", ps.bytes()), MemorySettings{});
}

TEST(AudioReader, DeliversFrameAfterFrameAndZerosAtTheEnd) {
    const test::TempDir dir;
    const auto reader = open_frames(dir, 10);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->get_position(), 0);
    Bytes frame(576);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(reader->peek_header(), header_word) << i;
        ASSERT_EQ(reader->read_frame(frame.data(), frame.size()), frame.size()) << i;
        EXPECT_EQ(read_header_word(frame.data()), header_word);
        EXPECT_EQ(reader->get_position(), (i + 1) * samples_per_frame);
    }
    EXPECT_EQ(reader->peek_header(), 0u);
    std::fill(frame.begin(), frame.end(), 0xAA);
    EXPECT_EQ(reader->read_frame(frame.data(), frame.size()), 0u);
    EXPECT_TRUE(std::all_of(frame.begin(), frame.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(reader->get_position(), 10 * samples_per_frame);
}

TEST(AudioReader, FramesSplitAcrossPacketsAreDeliveredWhole) {
    const test::TempDir dir;
    const Bytes frames = test::mp2_frames(format, 12);
    for (const std::size_t chunk : {100, 500, 577, 1200}) {
        test::PsWriter ps;
        ps.packets(0xC0, frames, chunk, {.pts = 3600});
        const auto reader = audio_reader_open(dir.write("split.mpg", ps.bytes()), MemorySettings{});
        ASSERT_NE(reader, nullptr) << chunk;
        Bytes frame(576);
        for (int i = 0; i < 12; ++i) {
            ASSERT_EQ(reader->peek_header(), header_word) << chunk << " " << i;
            ASSERT_EQ(reader->read_frame(frame.data(), frame.size()), frame.size());
            EXPECT_TRUE(std::equal(frame.begin(), frame.end(), frames.begin() + 576 * i));
        }
        EXPECT_EQ(reader->peek_header(), 0u) << chunk;
    }
}

TEST(AudioReader, SeeksToTheFrameBeforeTheTarget) {
    const test::TempDir dir;
    const auto reader = open_frames(dir, 40);
    ASSERT_NE(reader, nullptr);
    for (const std::int64_t target : {0, 1000, 1152, 5000, 23040, 40000}) {
        const std::int64_t position = reader->seek_samples(target);
        EXPECT_EQ(position, reader->get_position());
        EXPECT_LE(position, target);
        EXPECT_GE(position, target - 3 * samples_per_frame) << target;
        EXPECT_EQ(position % samples_per_frame, 0) << target;
        EXPECT_EQ(reader->peek_header(), header_word) << target;
    }
}

TEST(AudioReader, ASeekWithNothingStampedAfterItEndsAtTheTotalLength) {
    const test::TempDir dir;
    const auto reader = open_frames(dir, 3);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->seek_samples(1000000), 3 * samples_per_frame);
    Bytes frame(576, 0xAA);
    EXPECT_EQ(reader->read_frame(frame.data(), frame.size()), 0u);
    EXPECT_EQ(reader->get_position(), 3 * samples_per_frame);
}

TEST(AudioProbe, NeedsAnAudioPacketFollowedByAStartCodeOrZeros) {
    const Bytes frame = test::mp2_frames(format, 1);
    const Bytes packet = test::pes_packet(test::MuxSyntax::mpeg2, 0xC0, frame);
    Bytes data = packet;
    EXPECT_FALSE(probe_audio_packets(data));  // nothing after it
    data.insert(data.end(), {0, 0, 0, 0, 0});
    EXPECT_TRUE(probe_audio_packets(data));
    data = packet;
    data.insert(data.end(), {0, 0, 1, 0xBA, 0x44});
    EXPECT_TRUE(probe_audio_packets(data));
    data = packet;
    data.insert(data.end(), {0, 0, 2, 0, 0});
    EXPECT_FALSE(probe_audio_packets(data));
    EXPECT_FALSE(probe_audio_packets({}));
}

}  // namespace
}  // namespace quarnel
