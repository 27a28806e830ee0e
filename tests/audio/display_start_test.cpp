#include "audio/display_start.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "picture_stream.h"

namespace quarnel {
namespace {

using test::B;
using test::I;
using test::P;
using test::PictureStream;

// Feeds the stream in packets of `chunk` bytes, each stamped as a multiplexer would.
std::int64_t display_start(const PictureStream& stream, std::size_t chunk) {
    DisplayStartScan scan;
    const auto& bytes = stream.bytes;
    for (std::size_t at = 0; at < bytes.size() && !scan.found(); at += chunk) {
        const std::size_t n = std::min(chunk, bytes.size() - at);
        scan.add_packet({bytes.data() + at, n}, stream.stamp_for(at, n));
    }
    return scan.display_start();
}

// Packet sizes that split start codes and headers in every way, up to one picture each.
void expect_display_start(const PictureStream& stream, std::int64_t expected) {
    for (const std::size_t chunk : {1, 2, 3, 5, 7, 16, 35}) {
        EXPECT_EQ(display_start(stream, chunk), expected) << "packets of " << chunk << " bytes";
    }
}

TEST(DisplayStart, OpenGopStartsWithItsIPicture) {
    expect_display_start(PictureStream(false, {{I, 10800}, {B, 3600}, {B, 7200}, {P, 21600}}),
                         10800);
}

TEST(DisplayStart, ClosedGopWithBPicturesStartsWithTheFirstB) {
    expect_display_start(PictureStream(true, {{I, 10800}, {B, 3600}, {B, 7200}, {P, 21600}}), 3600);
}

TEST(DisplayStart, ClosedGopWithoutBPicturesStartsWithItsIPicture) {
    expect_display_start(PictureStream(true, {{I, 3600}, {P, 7200}, {P, 10800}}), 3600);
}

TEST(DisplayStart, PayloadsBeyondTheScanWindowAreScannedWhole) {
    // More than 8 MiB of slice data before the first picture: only unscanned bytes are kept.
    DisplayStartScan scan;
    const std::vector<std::uint8_t> filler(65535, 0x5A);
    scan.add_packet(std::vector<std::uint8_t>{0, 0, 1, 0x01}, -1);
    for (int i = 0; i < 130; ++i) scan.add_packet(filler, -1);
    const PictureStream stream(false, {{I, 7200}});
    scan.add_packet(stream.bytes, 7200);
    EXPECT_EQ(scan.display_start(), 7200);
}

TEST(DisplayStart, UnknownWhileNoPictureDecidesIt) {
    const PictureStream stream(true, {{I, 3600}});
    EXPECT_EQ(display_start(stream, 1000), -1);
}

}  // namespace
}  // namespace quarnel
