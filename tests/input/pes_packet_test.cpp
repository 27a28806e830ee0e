#include "input/pes_packet.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/ps_writer.h"

namespace quarnel {
namespace {

using test::Bytes;
using test::concat;

int feed(PesPacket& packet, const Bytes& bytes) {
    return pes_feed(packet, bytes.data(), static_cast<int>(bytes.size()));
}

Bytes stored(const PesPacket& packet) {
    return {packet.stored().begin(), packet.stored().end()};
}

TEST(PesFeed, SkipsPackAndSystemHeadersAndStartsAtTheFirstPacket) {
    const Bytes payload = test::pattern_bytes(300);
    test::PsWriter ps;
    ps.raw(Bytes{0x47, 0x00, 0x00, 0x00}).pack_header().system_header({0xE0});
    ps.raw(Bytes{0x00, 0x00, 0x01, 0xB3, 0x12}).pes(0xE0, payload).raw(Bytes{0x99});
    const Bytes& bytes = ps.bytes();

    PesPacket packet;
    const int taken = feed(packet, bytes);
    EXPECT_EQ(taken, static_cast<int>(bytes.size()) - 1);  // the byte after it is not taken
    EXPECT_EQ(packet.stream_id(), 0xE0);
    EXPECT_EQ(packet.length(), 303);
    EXPECT_TRUE(packet.complete());
    EXPECT_EQ(stored(packet), concat({{0x80, 0x00, 0x00}, payload}));
    EXPECT_EQ(pes_feed(packet, bytes.data(), 4), 0);  // a complete packet takes nothing more
}

TEST(PesFeed, AnySplitOfTheInputAssemblesTheSamePacket) {
    const Bytes packet_bytes =
        test::pes_packet(test::MuxSyntax::mpeg2, 0xC0, test::pattern_bytes(1000), {.pts = 9000});
    const Bytes input = concat({{0x00, 0x00, 0x00, 0x01, 0x00, 0x00}, packet_bytes});
    PesPacket whole;
    feed(whole, input);

    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        PesPacket packet;
        std::size_t at = 0;
        while (at < input.size()) {
            const int piece =
                static_cast<int>(std::min<std::size_t>(1 + rng() % 20, input.size() - at));
            ASSERT_EQ(pes_feed(packet, input.data() + at, piece), piece);
            at += static_cast<std::size_t>(piece);
        }
        ASSERT_TRUE(packet.complete());
        ASSERT_EQ(stored(packet), stored(whole));
    }
}

TEST(PesFeed, UnboundedPacketEndsAtTheNextPacketStartOnly) {
    const Bytes head{0x00, 0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
    const Bytes video{0x00, 0x00, 0x01, 0xB3, 0x16, 0x00, 0xF0, 0x00, 0x00, 0x01, 0x00, 0x42};
    PesPacket packet;
    EXPECT_EQ(feed(packet, head), 10);
    EXPECT_EQ(packet.stream_id(), 0xE0);
    EXPECT_EQ(packet.length(), 0);
    EXPECT_EQ(feed(packet, video), 12);  // video start codes stay inside the packet
    EXPECT_EQ(feed(packet, {0x11, 0x00, 0x00, 0x01, 0xC0, 0x00}), 1);
    EXPECT_EQ(stored(packet), concat({{0x80, 0x00, 0x00}, video, {0x11}}));
}

TEST(PesFeed, UnboundedPacketGivesBackAPrefixBegunInAnEarlierFeed) {
    PesPacket packet;
    feed(packet, {0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00, 0x55, 0x00, 0x00});
    EXPECT_EQ(packet.fill(), 6);
    EXPECT_EQ(feed(packet, {0x01}), 1);  // the stream id is not known yet
    EXPECT_EQ(feed(packet, {0xE0, 0x00, 0x00}), -3);
    EXPECT_EQ(stored(packet), (Bytes{0x80, 0x00, 0x00, 0x55}));
}

TEST(PesFeed, UnboundedPacketTakesLargeFeedsWholeUpToItsLimit) {
    const Bytes head{0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
    const Bytes big = test::pattern_bytes(200000);
    PesPacket packet;
    feed(packet, head);
    EXPECT_EQ(feed(packet, big), 200000);
    EXPECT_EQ(packet.fill(), 200003);

    const Bytes huge = test::pattern_bytes(PesPacket::unbounded_capacity_limit);
    const int taken = feed(packet, huge);
    EXPECT_LT(taken, static_cast<int>(huge.size()));  // ended at the limit
    EXPECT_EQ(packet.fill(), PesPacket::unbounded_capacity_limit);
    EXPECT_EQ(feed(packet, big), 0);
}

TEST(PesFeed, ReleaseMakesThePacketEmptyAgainKeepingItsStorage) {
    PesPacket packet;
    const Bytes large = test::pattern_bytes(300);
    feed(packet, test::pes_packet(test::MuxSyntax::mpeg1, 0xC1, large));
    ASSERT_TRUE(packet.complete());
    const int capacity = packet.capacity();
    pes_packet_release(packet);
    EXPECT_EQ(packet.fill(), PesPacket::empty_fill);
    EXPECT_EQ(packet.stream_id(), 0);
    EXPECT_EQ(packet.length(), 0);
    EXPECT_EQ(packet.capacity(), capacity);
    EXPECT_TRUE(packet.stored().empty());

    // A smaller packet reuses the storage; its stored bytes are its own only.
    const Bytes small = test::pattern_bytes(10, 77);
    const Bytes smaller_packet = test::pes_packet(test::MuxSyntax::mpeg1, 0xC2, small);
    feed(packet, smaller_packet);
    ASSERT_TRUE(packet.complete());
    EXPECT_EQ(packet.capacity(), capacity);
    EXPECT_EQ(packet.stream_id(), 0xC2);
    EXPECT_EQ(Bytes(packet.stored().begin(), packet.stored().end()),
              Bytes(smaller_packet.begin() + 6, smaller_packet.end()));
}

}  // namespace
}  // namespace quarnel
