#include "input/ts_packet_format.h"

#include <gtest/gtest.h>

#include "base/settings.h"
#include "tests/support/temp_dir.h"
#include "tests/support/ts_writer.h"

namespace quarnel {
namespace {

using test::Bytes;

// `count` packets of video on PID 0x44, as 188-byte packets.
Bytes plain_packets(int count) {
    test::TsWriter ts;
    for (int i = 0; i < count; ++i) ts.packet(0x44, i == 0, test::pattern_bytes(184));
    return ts.bytes();
}

std::optional<TsPacketFormat> detect(const Bytes& bytes) {
    return detect_packet_format(bytes);
}

TEST(TsDetection, TellsPlainPrefixedAndParityPacketsApart) {
    const Bytes ts = plain_packets(40);  // more than the 6144 bytes looked at
    EXPECT_EQ(detect(ts), (TsPacketFormat{188, 0}));
    EXPECT_EQ(detect(test::repack(ts, 4, 0)), (TsPacketFormat{192, 4}));
    EXPECT_EQ(detect(test::repack(ts, 0, 16)), (TsPacketFormat{204, 0}));
}

TEST(TsDetection, RefusesAFileWhosePacketsDoNotStartAtTheFirstByte) {
    for (const Bytes& ts : {plain_packets(40), test::repack(plain_packets(40), 4, 0),
                            test::repack(plain_packets(40), 0, 16)}) {
        Bytes shifted{0x00};
        shifted.insert(shifted.end(), ts.begin(), ts.end());
        EXPECT_EQ(detect(shifted), std::nullopt);
    }
    Bytes broken = plain_packets(40);
    broken[188 * 30] = 0x00;  // a lost sync byte within the bytes looked at
    EXPECT_EQ(detect(broken), std::nullopt);
    broken = plain_packets(40);
    broken[188 * 35] = 0x00;  // beyond them
    EXPECT_EQ(detect(broken), (TsPacketFormat{188, 0}));
}

TEST(TsDetection, JudgesAShortFileOnTheBytesItHas) {
    Bytes two = plain_packets(2);
    EXPECT_EQ(detect(two), (TsPacketFormat{188, 0}));
    EXPECT_EQ(detect(test::repack(plain_packets(3), 0, 16)), (TsPacketFormat{204, 0}));
    two.push_back(0x00);  // a third packet that does not start with a sync byte
    EXPECT_EQ(detect(two), std::nullopt);
    // Too short to hold a sync byte where any format wants one after the first.
    EXPECT_EQ(detect(Bytes{0x47, 0x00}), (TsPacketFormat{188, 0}));
    EXPECT_EQ(detect(Bytes{0x00, 0x00, 0x01, 0xBA}), std::nullopt);
    EXPECT_EQ(detect(Bytes{}), std::nullopt);
}

TEST(TsDetection, ReadsTheHeadOfTheFileSetAndRewindsIt) {
    test::TempDir dir;
    const Bytes ts = test::repack(plain_packets(40), 4, 0);
    const auto path = dir.write("clip.m2ts", ts);
    MemorySettings settings;
    auto files = file_set_open(path, settings);
    ASSERT_TRUE(files);
    files->seek(1000, SeekOrigin::begin);
    EXPECT_EQ(detect_packet_size(*files), (TsPacketFormat{192, 4}));
    EXPECT_EQ(files->tell(), 0);
}

TEST(TsDetection, WindowsHoldWholePacketsAndWholePages) {
    EXPECT_EQ(ts_buffer_size(188), 577536);
    EXPECT_EQ(ts_buffer_size(192), 528384);
    EXPECT_EQ(ts_buffer_size(204), 626688);
}

}  // namespace
}  // namespace quarnel
