#include "audio/display_start.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

enum Picture { I = 1, P = 2, B = 3 };

struct CodedPicture {
    Picture type;
    std::int64_t stamp;
};

// A video elementary stream: sequence header, a GOP header and the pictures, each picture
// followed by a slice of filler. Records where each picture's start code begins.
struct VideoStream {
    Bytes bytes;
    std::vector<std::pair<std::size_t, std::int64_t>> picture_starts;

    VideoStream(bool closed_gop, std::initializer_list<CodedPicture> pictures) {
        bytes = {0, 0, 1, 0xB3, 0x16, 0x01, 0x20, 0x13, 0xFF, 0xFF, 0xE0, 0x18};
        bytes.insert(bytes.end(), {0, 0, 1, 0xB8, 0x00, 0x08, 0x00,
                                   static_cast<std::uint8_t>(closed_gop ? 0x40 : 0x00)});
        int temporal = 0;
        for (const CodedPicture& picture : pictures) {
            picture_starts.emplace_back(bytes.size(), picture.stamp);
            bytes.insert(bytes.end(), {0, 0, 1, 0x00, static_cast<std::uint8_t>(temporal++ >> 2),
                                       static_cast<std::uint8_t>(picture.type << 3), 0xFF, 0xF8});
            bytes.insert(bytes.end(), {0, 0, 1, 0x01});
            bytes.insert(bytes.end(), 23, 0x5A);
        }
    }

    // Feeds the stream in packets of `chunk` bytes; a packet carries the stamp of the first
    // picture whose start code begins in it, as multiplexers stamp them.
    std::int64_t display_start(std::size_t chunk) const {
        DisplayStartScan scan;
        for (std::size_t at = 0; at < bytes.size() && !scan.found(); at += chunk) {
            const std::size_t n = std::min(chunk, bytes.size() - at);
            std::int64_t stamp = -1;
            for (const auto& [start, picture_stamp] : picture_starts) {
                if (start >= at && start < at + n) {
                    stamp = picture_stamp;
                    break;
                }
            }
            scan.add_packet({bytes.data() + at, n}, stamp);
        }
        return scan.display_start();
    }
};

// Packet sizes that split start codes and headers in every way, up to one picture each.
void expect_display_start(const VideoStream& stream, std::int64_t expected) {
    for (const std::size_t chunk : {1, 2, 3, 5, 7, 16, 35}) {
        EXPECT_EQ(stream.display_start(chunk), expected) << "packets of " << chunk << " bytes";
    }
}

TEST(DisplayStart, OpenGopStartsWithItsIPicture) {
    expect_display_start(VideoStream(false, {{I, 10800}, {B, 3600}, {B, 7200}, {P, 21600}}), 10800);
}

TEST(DisplayStart, ClosedGopWithBPicturesStartsWithTheFirstB) {
    expect_display_start(VideoStream(true, {{I, 10800}, {B, 3600}, {B, 7200}, {P, 21600}}), 3600);
}

TEST(DisplayStart, ClosedGopWithoutBPicturesStartsWithItsIPicture) {
    expect_display_start(VideoStream(true, {{I, 3600}, {P, 7200}, {P, 10800}}), 3600);
}

TEST(DisplayStart, UnknownWhileNoPictureDecidesIt) {
    const VideoStream stream(true, {{I, 3600}});
    EXPECT_EQ(stream.display_start(1000), -1);
}

}  // namespace
}  // namespace quarnel
