// The window over a transport stream file: every packet it shows must be the file's bytes at
// the position it reports, whether the window was read into its own buffer or lent by the
// read-ahead, and after seeks that leave and rejoin a run of windows.

#include "input/ts_packet_window.h"

#include <gtest/gtest.h>

#include <random>

#include "base/settings.h"
#include "input/file_set.h"
#include "tests/support/temp_dir.h"
#include "tests/support/ts_writer.h"

namespace quarnel {
namespace {

using test::Bytes;

// Packets of a few PIDs with payloads of every size, numbered through their bytes so that a
// packet shown from the wrong place shows.
Bytes numbered_packets(int packet_size, std::size_t count) {
    std::mt19937 rng(7);
    test::TsWriter ts(packet_size);
    Bytes payload(184);
    for (std::size_t n = 0; n < count; ++n) {
        for (std::size_t i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<std::uint8_t>((n * 7 + i) ^ (n >> 8));
        const int pid = rng() % 4 == 0 ? 0x45 : 0x44;
        if (rng() % 9 == 0)
            ts.packet(pid, rng() % 2 == 0, std::span(payload).first(rng() % 183),
                      static_cast<int>(rng() % 183));
        else
            ts.packet(pid, rng() % 10 == 0, payload);
    }
    return ts.bytes();
}

struct WindowOverFile {
    Bytes content;
    TsPacketFormat format;
    std::unique_ptr<TsPacketWindow> window;

    // Checks `packets` packets from the cursor on against the file's bytes.
    void expect_packets_from_file(std::size_t packets) {
        for (std::size_t n = 0; n < packets; ++n) {
            const std::int64_t at = window->packet_position();
            const auto shown = window->current_packet();
            if (at + format.packet_size > static_cast<std::int64_t>(content.size())) {
                EXPECT_FALSE(shown) << "past the last whole packet, at " << at;
                return;
            }
            ASSERT_TRUE(shown) << "at " << at;
            const TsPacket expected = read_ts_packet(
                content.data() + static_cast<std::size_t>(at + format.header_offset));
            ASSERT_EQ(shown->pid, expected.pid) << "at " << at;
            ASSERT_EQ(shown->unit_start, expected.unit_start) << "at " << at;
            ASSERT_TRUE(std::ranges::equal(shown->payload, expected.payload)) << "at " << at;
            window->next_packet();
            ASSERT_EQ(window->packet_position(), at + format.packet_size);
        }
    }
};

TEST(TsPacketWindowOverAFile, ShowsTheFilesPacketsAcrossLentAndReadWindowsAndSeeks) {
    const test::TempDir dir;
    const MemorySettings settings;
    for (const TsPacketFormat format : {TsPacketFormat{188, 0}, TsPacketFormat{192, 4}}) {
        WindowOverFile file{numbered_packets(188, 20000), format, nullptr};
        if (format.packet_size == 192) file.content = test::repack(file.content, 4, 0);
        file.content.resize(file.content.size() - 100);  // a last packet cut short
        const std::string path = dir.write("walk.ts", file.content);
        file.window = TsPacketWindow::open(file_set_open(path, settings), format);
        ASSERT_TRUE(file.window);

        // Straight through: from the third window on, the read-ahead lends its blocks.
        file.expect_packets_from_file(25000);
        EXPECT_FALSE(file.window->current_packet());

        // Back into the middle of a window read long ago, then on across several windows.
        const std::int64_t size = format.packet_size;
        for (const std::int64_t packet : {5000, 17, 12000, 3100, 19990}) {
            ASSERT_EQ(file.window->position_seek(packet * size), packet * size);
            file.expect_packets_from_file(7000);
        }
    }
}

}  // namespace
}  // namespace quarnel
