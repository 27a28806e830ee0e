// Files that are no MPEG stream at all: the video and audio opens refuse each one after
// reading no more than the search limit, however large the file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/audio_source.h"
#include "support/temp_dir.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

// 188-byte transport packets that all carry PID 0 (the program association table) and no
// section at all.
std::vector<std::uint8_t> transport_packets_of_pid_0(int count) {
    std::vector<std::uint8_t> bytes;
    for (int k = 0; k < count; ++k) {
        bytes.insert(bytes.end(), {0x47, 0x40, 0x00, static_cast<std::uint8_t>(0x10 | (k & 15))});
        bytes.insert(bytes.end(), 184, 0xFF);
    }
    return bytes;
}

TEST(HostileFilesRegression, FilesWithoutAnyStreamAreRefusedByBothOpens) {
    const test::TempDir dir;
    const std::string sparse = dir.file("zeros.mpg");
    { std::ofstream{sparse}; }
    std::filesystem::resize_file(sparse, std::uintmax_t{2} << 30);  // 2 GiB, a hole on disk
    const std::vector<std::string> paths{
        dir.write("empty.mpg", std::vector<std::uint8_t>{}),
        dir.write("four.mpg", std::vector<std::uint8_t>{0x00, 0x00, 0x01, 0xB3}),
        dir.write("ff.mpg", std::vector<std::uint8_t>(1 << 20, 0xFF)),
        dir.write("pid0.ts", transport_packets_of_pid_0(20000)),
        sparse,
    };
    const MemorySettings settings;
    for (const std::string& path : paths) {
        EXPECT_EQ(video_source_open(path, settings), nullptr) << path;
        EXPECT_EQ(audio_source_open(path, settings), nullptr) << path;
    }
}

}  // namespace
}  // namespace quarnel
