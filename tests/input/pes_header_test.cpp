#include "input/pes_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "input/pes_payload.h"
#include "tests/support/ps_writer.h"

namespace quarnel {
namespace {

using test::Bytes;
using test::MuxSyntax;

PesPacket packet_of(const Bytes& bytes) {
    PesPacket packet;
    pes_feed(packet, bytes.data(), static_cast<int>(bytes.size()));
    return packet;
}

PesPacket packet_of(MuxSyntax syntax, int stream_id, const Bytes& payload,
                    const test::PesFields& fields = {}) {
    return packet_of(test::pes_packet(syntax, stream_id, payload, fields));
}

constexpr std::int64_t max_timestamp = (std::int64_t{1} << 33) - 1;

TEST(PesHeader, Mpeg2HeaderWithPtsAndDts) {
    const PesHeaderInfo info = parse_pes_header(
        packet_of(MuxSyntax::mpeg2, 0xE0, {0xAA}, {.pts = max_timestamp, .dts = 0x0DEADBEEF}));
    EXPECT_EQ(info.syntax, PesSyntax::mpeg2);
    EXPECT_EQ(info.payload_offset, 13);
    EXPECT_EQ(info.timestamps.pts, max_timestamp);
    EXPECT_EQ(info.timestamps.dts, 0x0DEADBEEF);
}

TEST(PesHeader, Mpeg2HeaderDataLengthCoversExtensionsAndStuffing) {
    const PesPacket packet = packet_of(MuxSyntax::mpeg2, 0xC0, {0xAA, 0xBB},
                                       {.pts = 3600, .stuffing = 3, .std_buffer = true});
    const PesHeaderInfo info = parse_pes_header(packet);
    EXPECT_EQ(info.payload_offset, 3 + 5 + 3 + 3);
    EXPECT_EQ(info.timestamps.pts, 3600);
    EXPECT_EQ(info.timestamps.dts, -1);
    EXPECT_EQ(parse_pes_header(packet_of(MuxSyntax::mpeg2, 0xE0, {0xAA})).timestamps.pts, -1);
}

TEST(PesHeader, Mpeg1HeaderWithStuffingStdFieldsAndTimestamps) {
    PesHeaderInfo info = parse_pes_header(packet_of(
        MuxSyntax::mpeg1, 0xE0, {0xAA}, {.pts = 123456789, .stuffing = 2, .std_buffer = true}));
    EXPECT_EQ(info.syntax, PesSyntax::mpeg1);
    EXPECT_EQ(info.payload_offset, 2 + 2 + 5);
    EXPECT_EQ(info.timestamps.pts, 123456789);
    EXPECT_EQ(info.timestamps.dts, -1);

    info = parse_pes_header(packet_of(MuxSyntax::mpeg1, 0xE0, {0xAA}, {.pts = 7, .dts = 4}));
    EXPECT_EQ(info.payload_offset, 10);
    EXPECT_EQ(info.timestamps.pts, 7);
    EXPECT_EQ(info.timestamps.dts, 4);

    info = parse_pes_header(packet_of(MuxSyntax::mpeg1, 0xC0, {0xAA}));
    EXPECT_EQ(info.payload_offset, 1);  // the 0x0F byte
    EXPECT_EQ(get_pes_timestamps(packet_of(MuxSyntax::mpeg1, 0xC0, {0xAA})).pts, -1);
}

TEST(PesHeader, TruncatedHeaderLeavesNoPayload) {
    // A bounded packet whose bytes stop inside a header that announces 40 bytes of data.
    const PesPacket packet = packet_of({0x00, 0x00, 0x01, 0xE0, 0x00, 0x30, 0x80, 0x80, 40});
    EXPECT_EQ(parse_pes_header(packet).payload_offset, 43);
    EXPECT_EQ(pes_payload_size(packet), 0u);
    Bytes destination(8, 0x77);
    EXPECT_EQ(copy_pes_payload(packet, destination), 0u);
}

TEST(PesClassification, VideoAndAudioStreamIds) {
    EXPECT_EQ(classify_pes_packet(packet_of(MuxSyntax::mpeg2, 0xE1, {1})),
              (StreamClass{StreamKind::video, 1}));
    EXPECT_EQ(classify_pes_packet(packet_of(MuxSyntax::mpeg2, 0xDF, {1})),
              (StreamClass{StreamKind::mpeg_audio, 31}));
    for (int id : {0xBC, 0xBE, 0xBF, 0xF0, 0xFF}) {
        const StreamClass c = classify_pes_packet(packet_of(test::system_packet(id, Bytes{1, 2})));
        EXPECT_EQ(c, StreamClass{}) << id;
        EXPECT_FALSE(c.carries_stream());
    }
}

TEST(PesClassification, PrivateStream1SubStreams) {
    const Bytes audio = test::pattern_bytes(50);
    test::PsWriter ps;
    ps.private_stream_1(0x80, audio, {.pts = 900});
    const PesPacket ac3 = packet_of(ps.bytes());
    EXPECT_EQ(classify_pes_packet(ac3), (StreamClass{StreamKind::ac3, 0}));
    EXPECT_TRUE(classify_pes_packet(ac3).carries_stream());
    EXPECT_EQ(pes_payload_size(ac3), audio.size());
    Bytes copied(audio.size());
    EXPECT_EQ(copy_pes_payload(ac3, copied), audio.size());
    EXPECT_EQ(copied, audio);

    test::PsWriter lpcm(MuxSyntax::mpeg1);
    lpcm.private_stream_1(0xA0, audio);
    const PesPacket other = packet_of(lpcm.bytes());
    EXPECT_EQ(classify_pes_packet(other), (StreamClass{StreamKind::private_data, -1}));
    EXPECT_FALSE(classify_pes_packet(other).carries_stream());
    EXPECT_EQ(pes_payload_size(other), 0u);
}

TEST(PesPayload, CopiesTheStoredTailIntoWhatTheDestinationHolds) {
    const Bytes payload = test::pattern_bytes(100, 3);
    const PesPacket packet = packet_of(MuxSyntax::mpeg1, 0xC0, payload, {.pts = 1, .stuffing = 4});
    EXPECT_EQ(pes_payload_size(packet), 100u);
    Bytes small(40);
    EXPECT_EQ(copy_pes_payload(packet, small), 40u);
    EXPECT_EQ(small, Bytes(payload.begin(), payload.begin() + 40));
    EXPECT_EQ(copy_pes_payload(packet, {}), 0u);
}

// Classification and payload size read an MPEG-2 header's size straight from
// PES_header_data_length; on any bytes, short ones included, they must follow the full parse.
TEST(PesPayload, ClassAndSizeAgreeWithTheParsedHeaderOnAnyBytes) {
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        Bytes data(std::uniform_int_distribution<std::size_t>(0, 40)(random));
        for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
        if (!data.empty() && i % 2 == 0)
            data[0] = static_cast<std::uint8_t>(0x80 | (data[0] & 0x3F));
        if (data.size() > 2) data[2] %= 48;
        const int offset = parse_pes_header(data).payload_offset;
        const auto size = static_cast<int>(data.size());
        EXPECT_EQ(pes_payload_size({0xE0, data}),
                  static_cast<std::size_t>(std::max(0, size - offset)));
        const bool ac3 = offset < size && (data[static_cast<std::size_t>(offset)] & 0xF0) == 0x80;
        EXPECT_EQ(classify_pes_packet({0xBD, data}).kind,
                  ac3 ? StreamKind::ac3 : StreamKind::private_data);
        EXPECT_EQ(pes_payload_size({0xBD, data}),
                  ac3 ? static_cast<std::size_t>(std::max(0, size - offset - 4)) : 0u);
    }
}

}  // namespace
}  // namespace quarnel
