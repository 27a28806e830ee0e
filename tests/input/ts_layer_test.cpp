#include "input/ts_layer.h"

#include <gtest/gtest.h>

#include <random>

#include "base/settings.h"
#include "input/ts_packet_window.h"
#include "tests/support/temp_dir.h"
#include "tests/support/ts_writer.h"

namespace quarnel {
namespace {

using test::Bytes;
using test::MuxSyntax;

constexpr std::size_t pes_chunk = 1000;  // video payload bytes per PES packet

std::unique_ptr<TsLayer> open_bytes(const test::TempDir& dir, const Bytes& bytes) {
    MemorySettings settings;
    return ts_layer_open(dir.write("clip.ts", bytes), StreamKind::video, settings);
}

// Everything the layer delivers from where it stands, with reads of `count` bytes.
Bytes read_all(StreamOps& layer, std::size_t count = 4096) {
    Bytes out;
    Bytes buffer(count);
    while (const std::size_t got = layer.read(buffer.data(), buffer.size()))
        out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
    return out;
}

Bytes audio_pes(std::size_t size) {
    return test::pes_packet(MuxSyntax::mpeg2, 0xC0, test::pattern_bytes(size, 7), {.pts = 3600});
}

// A broadcast-like stream: PAT, PMT, then video on 0x111 interleaved with audio on 0x112.
Bytes broadcast_stream(const Bytes& video) {
    test::TsWriter ts;
    ts.section(0, test::pat_section({{0, 0x10}, {1, 0x100}}));
    ts.section(0x100, test::pmt_section(1, {{0x0F, 0x112, {}}, {0x02, 0x111, {}}}));
    ts.pes(0x112, audio_pes(400));
    for (std::size_t at = 0; at < video.size(); at += pes_chunk) {
        ts.video(0x111, std::span(video).subspan(at, std::min(pes_chunk, video.size() - at)),
                 pes_chunk);
        ts.pes(0x112, audio_pes(300));
    }
    return ts.bytes();
}

// The stream of broadcast_stream, opened.
struct OpenedTableStream {
    explicit OpenedTableStream(std::size_t video_size)
        : video(test::pattern_bytes(video_size, 6)),
          bytes(broadcast_stream(video)),
          layer(open_bytes(dir, bytes)) {}

    test::TempDir dir;
    Bytes video;
    Bytes bytes;
    std::unique_ptr<TsLayer> layer;
};

TEST(TsSelection, TakesTheFirstVideoStreamTheProgramMapLists) {
    test::TempDir dir;
    const Bytes video = test::pattern_bytes(5000, 1);
    // Video PES packets also travel on the audio PID: the table, not the content, decides.
    test::TsWriter ts;
    ts.section(0, test::pat_section({{0, 0x10}, {1, 0x100}}));
    ts.section(0x100, test::pmt_section(1, {{0x0F, 0x112, {}}, {0x02, 0x111, {}}}));
    ts.video(0x112, test::pattern_bytes(700, 9), 700);
    ts.video(0x111, video, pes_chunk);
    ts.video(0x112, test::pattern_bytes(700, 9), 700);
    const auto layer = open_bytes(dir, ts.bytes());
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->pid(), 0x111);
    EXPECT_EQ(read_all(*layer), video);
}

TEST(TsSelection, WalksStreamEntriesByTheirDescriptorLengthsAndStopsAtTheCrc) {
    const Bytes video = test::pattern_bytes(3000, 2);
    for (const Bytes& first_info : {Bytes{}, Bytes{0x0A, 0x04, 'j', 'p', 'n', 0x00}}) {
        test::TempDir dir;
        test::TsWriter ts;
        ts.section(0, test::pat_section({{1, 0x100}}));
        ts.section(0x100, test::pmt_section(1, {{0x04, 0x120, first_info}, {0x01, 0x150, {}}},
                                            Bytes{0x09, 0x02, 0x00, 0x01}));
        ts.video(0x150, video, pes_chunk);
        const auto layer = open_bytes(dir, ts.bytes());
        ASSERT_TRUE(layer);
        EXPECT_EQ(layer->pid(), 0x150);
        EXPECT_EQ(read_all(*layer), video);
    }

    // Bytes after the CRC that would read as a video entry on 0x150 are not an entry: the
    // map lists no video, so the packets decide, and the last video PID seen wins.
    test::TempDir dir;
    test::TsWriter ts;
    ts.section(0, test::pat_section({{1, 0x100}}));
    ts.section(0x100, test::pmt_section(1, {{0x04, 0x120, {}}}),
               Bytes{0x02, 0xE1, 0x50, 0xF0, 0x00});
    ts.video(0x150, test::pattern_bytes(500, 3), 500);
    ts.video(0x151, video, pes_chunk);
    const auto layer = open_bytes(dir, ts.bytes());
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->pid(), 0x151);
}

TEST(TsSelection, FindsVideoByContentWithoutProgramTables) {
    const Bytes video = test::pattern_bytes(4000, 4);
    const Bytes not_a_section(184, 0xFF);
    for (int variant = 0; variant < 3; ++variant) {
        test::TempDir dir;
        test::TsWriter ts;
        if (variant == 1) ts.packet(0, true, not_a_section);  // pointer_field leaves the packet
        if (variant == 2) ts.packet(0, true, Bytes{0x00, 0x42, 0xF0, 0x11});  // another table
        ts.pes(0x45, audio_pes(500));
        ts.pes(0x46, test::pes_packet(MuxSyntax::mpeg2, 0xBE, Bytes(100, 0xFF)));  // padding
        ts.video(0x44, video, pes_chunk);
        ts.pes(0x45, audio_pes(500));
        const auto layer = open_bytes(dir, ts.bytes());
        ASSERT_TRUE(layer) << variant;
        EXPECT_EQ(layer->pid(), 0x44);
        EXPECT_EQ(read_all(*layer), video);
    }
}

TEST(TsSelection, RefusesAFileWithoutTheWantedStream) {
    test::TempDir dir;
    test::TsWriter ts;
    ts.section(0, test::pat_section({{1, 0x100}}));
    ts.section(0x100, test::pmt_section(1, {{0x03, 0x120, {}}}));
    for (int i = 0; i < 10; ++i) ts.pes(0x120, audio_pes(500));
    EXPECT_FALSE(open_bytes(dir, ts.bytes()));
    EXPECT_FALSE(open_bytes(dir, Bytes(1000, 0x47)));
}

TEST(TsSelection, ScansNoFurtherThanTheLimit) {
    test::TempDir dir;
    test::TsWriter ts;
    for (int i = 0; i < 40; ++i) ts.pes(0x120, audio_pes(500));
    ts.video(0x44, test::pattern_bytes(1000), 1000);
    const auto path = dir.write("late.ts", ts.bytes());
    MemorySettings settings;
    EXPECT_TRUE(ts_layer_open(path, StreamKind::video, settings));
    settings.set("limit", 10000);
    EXPECT_FALSE(ts_layer_open(path, StreamKind::video, settings));
}

TEST(TsPackets, AnAdaptationFieldOf183BytesLeavesNoPayload) {
    test::TsWriter ts;
    ts.packet(0x44, false, {}, 183).packet(0x44, false, Bytes{1, 2, 3}, 182);
    Bytes bytes = ts.bytes();
    bytes[3] |= 0x10;  // claims a payload as well
    EXPECT_TRUE(read_ts_packet(bytes.data()).payload.empty());
    EXPECT_EQ(read_ts_packet(bytes.data() + 188).payload.size(), 1u);
    bytes[4] = 0xFF;  // a length beyond the packet
    EXPECT_TRUE(read_ts_packet(bytes.data()).payload.empty());

    // Such a packet in the middle of a PES packet adds nothing to it.
    test::TempDir dir;
    const Bytes video = test::pattern_bytes(1000, 5);
    const Bytes pes = test::pes_packet(MuxSyntax::mpeg2, 0xE0, video, {}, false);
    test::TsWriter split;
    split.packet(0x44, true, std::span(pes).first(184));
    split.packet(0x44, false, Bytes(184, 0x00), 183);
    split.pes(0x44, std::span(pes).subspan(184));
    Bytes with_claim = split.bytes();
    with_claim[188 + 3] |= 0x10;
    // The rest goes in as a continuation: drop the unit start the writer put on it.
    with_claim[2 * 188 + 1] &= 0xBF;
    const auto layer = open_bytes(dir, with_claim);
    ASSERT_TRUE(layer);
    EXPECT_EQ(read_all(*layer), video);
}

TEST(TsPositions, CountFromThePacketThatBeganThePesPacket) {
    const OpenedTableStream stream(5000);
    const Bytes& video = stream.video;
    TsLayer* const layer = stream.layer.get();
    ASSERT_TRUE(layer);
    // PAT, PMT and three packets of audio come first.
    const std::int64_t first = 5 * 188;
    EXPECT_EQ(layer->tell(), first);
    Bytes head(100);
    EXPECT_EQ(layer->read(head.data(), head.size()), 100u);
    EXPECT_EQ(layer->tell(), first + 100);
    EXPECT_EQ(head, Bytes(video.begin(), video.begin() + 100));

    EXPECT_EQ(layer->seek(first + 60, SeekOrigin::begin), first + 60);
    EXPECT_EQ(layer->read(head.data(), 40), 40u);
    EXPECT_EQ(layer->tell(), first + 100);
    EXPECT_EQ(layer->seek(-30, SeekOrigin::current), first + 70);
    EXPECT_EQ(read_all(*layer), Bytes(video.begin() + 70, video.end()));
}

// Reads the whole stream in pieces of `count`, then seeks to every told position and
// compares what follows it. (A position told at the end of a payload names no byte of it:
// the seek then resumes at the next payload, whose position it returns.)
void expect_told_positions_lead_back(StreamOps& layer, const Bytes& video, std::size_t count) {
    layer.seek(0, SeekOrigin::begin);
    std::vector<std::pair<std::int64_t, std::size_t>> told;  // position, offset in video
    std::size_t offset = 0;
    Bytes buffer(count);
    for (;;) {
        told.emplace_back(layer.tell(), offset);
        const std::size_t got = layer.read(buffer.data(), buffer.size());
        if (got == 0) break;
        offset += got;
    }
    ASSERT_EQ(offset, video.size());
    for (const auto& [position, at] : told) {
        layer.seek(position, SeekOrigin::begin);
        const Bytes rest = read_all(layer, 777);
        EXPECT_EQ(rest, Bytes(video.begin() + static_cast<std::ptrdiff_t>(at), video.end()))
            << "position " << position;
    }
}

TEST(TsPositions, SeekingToAToldPositionResumesWithTheSameBytes) {
    const Bytes video = test::pattern_bytes(6000, 8);
    const Bytes ts = broadcast_stream(video);
    for (const Bytes& bytes : {ts, test::repack(ts, 4, 0), test::repack(ts, 0, 16)}) {
        test::TempDir dir;
        const auto layer = open_bytes(dir, bytes);
        ASSERT_TRUE(layer);
        expect_told_positions_lead_back(*layer, video, 300);  // several reads per payload
    }
}

// Video of program 1 that moves: a new association drops its map for one on another PID (as
// where two recordings were joined), then that map moves the video to another PID. A map of
// program 2, and the map of program 1 repeated unchanged, move nothing.
TEST(TsFollowing, VideoFollowsItsProgramWhereItsMapChanges) {
    const Bytes first = test::pattern_bytes(5000, 1);
    const Bytes second = test::pattern_bytes(4000, 2);
    const Bytes third = test::pattern_bytes(3000, 3);
    test::TsWriter ts;
    ts.section(0, test::pat_section({{1, 0x100}, {2, 0x180}}));
    ts.section(0x100, test::pmt_section(1, {{0x02, 0x111, {}}}));
    ts.section(0x180, test::pmt_section(2, {{0x02, 0x181, {}}}));
    ts.video(0x111, std::span(first).first(2500), pes_chunk);
    ts.video(0x181, test::pattern_bytes(2000, 4), pes_chunk);
    ts.section(0x100, test::pmt_section(1, {{0x02, 0x111, {}}}));
    ts.video(0x111, std::span(first).subspan(2500), pes_chunk);
    ts.section(0, test::pat_section({{1, 0x200}}));
    ts.section(0x200, test::pmt_section(1, {{0x02, 0x211, {}}}));
    ts.video(0x211, second, pes_chunk);
    ts.section(0x200, test::pmt_section(1, {{0x02, 0x311, {}}}));
    ts.video(0x311, third, pes_chunk);
    Bytes all = first;
    all.insert(all.end(), second.begin(), second.end());
    all.insert(all.end(), third.begin(), third.end());
    for (const Bytes& bytes : {ts.bytes(), test::repack(ts.bytes(), 0, 16)}) {
        test::TempDir dir;
        const auto layer = open_bytes(dir, bytes);
        ASSERT_TRUE(layer);
        EXPECT_EQ(read_all(*layer), all);
        // Seeks find the program in force where they land.
        expect_told_positions_lead_back(*layer, all, 300);
    }
}

TEST(TsPositions, SeekingToTheEndLeavesNothingToRead) {
    const OpenedTableStream stream(6000);
    const Bytes& bytes = stream.bytes;
    TsLayer* const layer = stream.layer.get();
    ASSERT_TRUE(layer);
    const std::int64_t end = layer->seek(0, SeekOrigin::end);
    EXPECT_GE(end, static_cast<std::int64_t>(bytes.size()) - 188 * 8);
    EXPECT_LE(end, static_cast<std::int64_t>(bytes.size()));
    Bytes buffer(10);
    EXPECT_EQ(layer->read(buffer.data(), buffer.size()), 0u);
    EXPECT_EQ(layer->seek(static_cast<std::int64_t>(bytes.size()), SeekOrigin::begin), end);
    EXPECT_EQ(layer->read(buffer.data(), buffer.size()), 0u);
    EXPECT_EQ(layer->seek(0, SeekOrigin::begin), 5 * 188);
    EXPECT_EQ(read_all(*layer), stream.video);
}

TEST(TsReading, TheEndOfTheFileEndsTheLastPesPacketAndCutsNoPacketShort) {
    const Bytes video = test::pattern_bytes(3000, 9);
    test::TsWriter ts;
    ts.video(0x44, video, 3000);  // one unbounded PES packet, ended only by the file
    const Bytes whole = ts.bytes();
    {
        test::TempDir dir;
        const auto layer = open_bytes(dir, whole);
        ASSERT_TRUE(layer);
        EXPECT_EQ(read_all(*layer), video);
    }
    // A last packet cut short is not read: its bytes are missing from the payload.
    const std::size_t last_payload = (3000 + 9) - 16 * 184;
    for (const std::size_t cut : {1, 100, 187}) {
        test::TempDir dir;
        const auto layer =
            open_bytes(dir, Bytes(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(cut)));
        ASSERT_TRUE(layer);
        EXPECT_EQ(read_all(*layer),
                  Bytes(video.begin(), video.end() - static_cast<std::ptrdiff_t>(last_payload)));
    }
}

TEST(TsReading, PassesOverPesPacketsWithoutPayload) {
    test::TempDir dir;
    const Bytes first = test::pattern_bytes(400, 1);
    const Bytes second = test::pattern_bytes(400, 2);
    test::TsWriter ts;
    ts.video(0x44, first, 400);
    ts.pes(0x44, test::pes_packet(MuxSyntax::mpeg2, 0xE0, Bytes{}, {.pts = 0}));
    ts.video(0x44, second, 400);
    const auto layer = open_bytes(dir, ts.bytes());
    ASSERT_TRUE(layer);
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    EXPECT_EQ(read_all(*layer), both);
}

TEST(TsReading, MovesOnWhenAPesPacketEndsInThePacketThatBeganIt) {
    // Two small PES packets in one transport packet: the second is lost, reading goes on.
    test::TempDir dir;
    const Bytes tiny = test::pes_packet(MuxSyntax::mpeg2, 0xE0, test::pattern_bytes(20, 1));
    const Bytes other = test::pes_packet(MuxSyntax::mpeg2, 0xE0, test::pattern_bytes(20, 2));
    Bytes both = tiny;
    both.insert(both.end(), other.begin(), other.end());
    const Bytes last = test::pattern_bytes(300, 3);
    test::TsWriter ts;
    ts.pes(0x44, both);
    ts.video(0x44, last, 300);
    const auto layer = open_bytes(dir, ts.bytes());
    ASSERT_TRUE(layer);
    Bytes expected = test::pattern_bytes(20, 1);
    expected.insert(expected.end(), last.begin(), last.end());
    EXPECT_EQ(read_all(*layer), expected);
}

TEST(TsReading, DamagedPacketsNeverStopOrDerailReading) {
    // Random headers, adaptation lengths and payloads full of packet starts.
    std::mt19937 rng(11);
    int opened = 0;
    for (int round = 0; round < 20; ++round) {
        Bytes bytes;
        for (int i = 0; i < 300; ++i) {
            Bytes packet(188);
            for (auto& byte : packet)
                byte = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : rng() % 3);
            packet[0] = 0x47;
            packet[1] = static_cast<std::uint8_t>(rng() & 0x40);
            packet[2] = static_cast<std::uint8_t>(0x44 + rng() % 2);
            for (std::size_t at = 4 + rng() % 40; at + 4 < packet.size(); at += 10 + rng() % 60) {
                packet[at] = 0x00, packet[at + 1] = 0x00, packet[at + 2] = 0x01;
                packet[at + 3] = static_cast<std::uint8_t>(rng() % 2 ? 0xE0 : rng());
            }
            bytes.insert(bytes.end(), packet.begin(), packet.end());
        }
        bytes.resize(bytes.size() - rng() % 188);
        test::TempDir dir;
        const auto layer = open_bytes(dir, bytes);
        if (!layer) continue;
        ++opened;
        read_all(*layer);
        for (int seek = 0; seek < 20; ++seek) {
            const auto target = static_cast<std::int64_t>(rng() % (bytes.size() + 1000));
            const std::int64_t position = layer->seek(target, SeekOrigin::begin);
            EXPECT_GE(position, 0);
            EXPECT_LE(position, static_cast<std::int64_t>(bytes.size()) + 65536);
            Bytes buffer(500);
            layer->read(buffer.data(), buffer.size());
        }
    }
    EXPECT_GT(opened, 10);
}

}  // namespace
}  // namespace quarnel
