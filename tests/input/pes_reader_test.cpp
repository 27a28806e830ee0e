#include "input/pes_reader.h"

#include <gtest/gtest.h>

#include "base/settings.h"
#include "input/pes_payload.h"
#include "tests/support/ps_writer.h"
#include "tests/support/temp_dir.h"

namespace quarnel {
namespace {

using test::Bytes;

TEST(ReadPesPacket, WalksThePacketsOfAProgramStreamPastPackAndSystemHeaders) {
    const Bytes video = test::pattern_bytes(3000);
    test::PsWriter ps(test::MuxSyntax::mpeg1);
    ps.pack_header().system_header({0xE0, 0xC0}).pes(0xE0, video, {.pts = 1, .std_buffer = true});
    ps.padding(12).pack_header().raw(test::system_packet(0xBC, Bytes(20, 0x33)));
    ps.pes(0xC0, test::pattern_bytes(5)).end_code();

    test::TempDir dir;
    auto reader = block_reader_open(dir.write("walk.mpg", ps.bytes()), MemorySettings{});
    ASSERT_TRUE(reader);
    PesPacket packet;
    ASSERT_EQ(read_pes_packet(packet, *reader), 3007);
    EXPECT_EQ(packet.stream_id(), 0xE0);
    Bytes payload(3000);
    EXPECT_EQ(copy_pes_payload(packet, payload), 3000u);
    EXPECT_EQ(payload, video);
    EXPECT_EQ(read_pes_packet(packet, *reader), 12);
    EXPECT_EQ(packet.stream_id(), 0xBE);
    EXPECT_EQ(read_pes_packet(packet, *reader), 20);
    EXPECT_EQ(packet.stream_id(), 0xBC);
    EXPECT_EQ(read_pes_packet(packet, *reader), 6);
    EXPECT_EQ(read_pes_packet(packet, *reader), 0);
    EXPECT_EQ(reader->tell(), static_cast<std::int64_t>(ps.size()));
}

}  // namespace
}  // namespace quarnel
