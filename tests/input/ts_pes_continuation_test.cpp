// The transport stream layer streams the rest of each PES packet straight from the transport
// packets. Whatever the stream and the read sizes, it must deliver the bytes, with the
// positions, that assembling every PES packet whole delivers, and the start codes it reports
// finding in them must be theirs.

#include <gtest/gtest.h>

#include <random>

#include "base/settings.h"
#include "input/file_set.h"
#include "input/ts_layer.h"
#include "input/ts_packet_window.h"
#include "tests/support/found_start_codes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/ts_writer.h"

namespace quarnel {
namespace {

using test::Bytes;

constexpr int video_pid = 0x44;

struct Delivery {
    Bytes bytes;
    std::vector<std::int64_t> positions;  // of each byte
    bool operator==(const Delivery&) const = default;
};

// Every PES packet of `pid` assembled whole with pes_feed, its payload delivered when it
// classifies as `stream`.
Delivery assembled_whole(const std::string& path, int pid, StreamClass stream) {
    const MemorySettings settings;
    auto files = file_set_open(path, settings);
    const auto format = detect_packet_size(*files);
    const auto window = TsPacketWindow::open(std::move(files), *format);
    Delivery out;
    PesPacket packet;
    for (;;) {
        pes_packet_release(packet);
        bool started = false;
        bool complete = false;
        std::int64_t start = 0;
        while (const auto transport = window->current_packet()) {
            if (transport->pid == pid && (transport->unit_start || started)) {
                if (!started) start = window->packet_position();
                started = true;
                const int offered = static_cast<int>(transport->payload.size());
                if (offered > 0 && pes_feed(packet, transport->payload.data(), offered) < offered) {
                    if (window->packet_position() == start) window->next_packet();
                    complete = true;
                    break;
                }
            }
            window->next_packet();
        }
        if (!complete && !(started && packet.fill() > 0)) return out;
        if (classify_pes_packet(packet) != stream) continue;
        const auto payload = packet.stored().last(pes_payload_size(packet));
        for (std::size_t i = 0; i < payload.size(); ++i) {
            out.bytes.push_back(payload[i]);
            out.positions.push_back(start + static_cast<std::int64_t>(i));
        }
    }
}

// Everything the layer delivers, read in sizes drawn by `next_size`; a byte's position is
// told by the layer after its read. Start codes the layer reports finding must be right;
// `found` counts them.
template <typename NextSize>
Delivery read_through(StreamOps& layer, NextSize next_size, std::size_t* found = nullptr) {
    Delivery out;
    Bytes buffer;
    for (;;) {
        buffer.resize(next_size());
        const std::size_t got = layer.read(buffer.data(), buffer.size());
        EXPECT_TRUE(
            test::lists_every_prefix(std::span(buffer).first(got), layer.found_start_codes()))
            << "a read of " << got << " bytes";
        if (found != nullptr) *found += layer.found_start_codes().offsets.size();
        if (got == 0) return out;
        const std::int64_t end = layer.tell();
        for (std::size_t i = 0; i < got; ++i) {
            out.bytes.push_back(buffer[i]);
            out.positions.push_back(end - static_cast<std::int64_t>(got - i));
        }
    }
}

// Payload bytes with video start codes, packet starts and zeros where a prefix may begin.
Bytes hostile_payload(std::mt19937& rng, std::size_t size) {
    Bytes bytes(size);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(rng() % 3 == 0 ? 0 : rng());
    static constexpr std::uint8_t codes[] = {0x00, 0xB3, 0xB8, 0xBB, 0xBC, 0xC0, 0xE0, 0xFF};
    for (std::size_t at = rng() % 400; at + 4 <= size; at += 1 + rng() % 600) {
        bytes[at] = bytes[at + 1] = 0x00;
        bytes[at + 2] = 0x01;
        bytes[at + 3] = codes[rng() % (rng() % 8 == 0 ? 8 : 4)];
    }
    return bytes;
}

// PES packets on the video PID, open and fixed length, of video and of other streams, cut
// into transport packets of every payload size between packets of other PIDs; now and then
// a unit start is missing or misplaced, or the payload unit begins with stray bytes.
Bytes hostile_stream(std::mt19937& rng) {
    test::TsWriter ts;
    for (int unit = 0; unit < 40; ++unit) {
        static constexpr int ids[] = {0xE0, 0xE0, 0xE0, 0xE1, 0xC0, 0xBE};
        const int id = ids[rng() % 6];
        const bool bounded = id != 0xE0 || rng() % 4 == 0;
        Bytes pes = test::pes_packet(test::MuxSyntax::mpeg2, id, hostile_payload(rng, rng() % 3000),
                                     {}, bounded);
        if (rng() % 8 == 0) pes.insert(pes.begin(), {0x12, 0x00, 0x00});
        for (std::size_t at = 0; at < pes.size();) {
            const std::size_t room = rng() % 3 == 0 ? 1 + rng() % 184 : 184;
            const std::size_t count = std::min(room, pes.size() - at);
            const bool unit_start = (at == 0) != (rng() % 25 == 0);
            ts.packet(video_pid, unit_start, std::span(pes).subspan(at, count),
                      count == 184 ? -1 : static_cast<int>(183 - count));
            at += count;
            if (rng() % 5 == 0) ts.packet(0x45, rng() % 2 == 0, hostile_payload(rng, 184));
            if (rng() % 20 == 0) ts.adaptation_only(video_pid);
        }
    }
    Bytes bytes = ts.bytes();
    if (rng() % 2 == 0) bytes.resize(bytes.size() - rng() % 188);
    return bytes;
}

TEST(TsStreamedPayloads, MatchWholePacketsForHostileStreamsAndAnyReadSizes) {
    std::mt19937 rng(3);
    static constexpr std::size_t sizes[] = {1, 2, 3, 4, 5, 7, 184, 4096, 0x80000};
    int opened = 0;
    std::size_t found = 0;
    for (int round = 0; round < 60; ++round) {
        const test::TempDir dir;
        const std::string path = dir.write("clip.ts", hostile_stream(rng));
        const MemorySettings settings;
        const auto layer = ts_layer_open(path, StreamKind::video, settings);
        if (!layer) continue;  // no video found: nothing to compare
        ++opened;
        const Delivery expected = assembled_whole(path, layer->pid(), layer->stream());
        const std::size_t fixed = sizes[round % std::size(sizes)];
        const Delivery got = read_through(
            *layer, [&] { return round % 2 == 0 ? fixed : sizes[rng() % std::size(sizes)]; },
            &found);
        ASSERT_EQ(got.bytes, expected.bytes) << "round " << round;
        ASSERT_EQ(got.positions, expected.positions) << "round " << round;
        EXPECT_EQ(layer->read(Bytes(8).data(), 8), 0u);
    }
    EXPECT_GT(opened, 50);
    EXPECT_GT(found, 1000u);  // the video start codes of open packets are passed on
}

TEST(TsStreamedPayloads, APacketStartSplitAcrossTransportPacketsEndsThePacketBeforeIt) {
    const Bytes head{0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
    const Bytes start_code{0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
    // Transport packets of 184 payload bytes: the first unit's prefix is split at the end of
    // the packet that began it, the second unit's at the end of its second packet. What
    // follows a prefix in a packet without a unit start is lost.
    Bytes first = head;
    Bytes first_payload = test::pattern_bytes(184 - head.size() - 2, 1);
    first.insert(first.end(), first_payload.begin(), first_payload.end());
    first.insert(first.end(), {0x00, 0x00});
    Bytes second = head;
    const Bytes second_payload = test::pattern_bytes(2 * 184 - head.size() - 2, 2);
    second.insert(second.end(), second_payload.begin(), second_payload.end());
    second.insert(second.end(), {0x00, 0x00});
    Bytes lost = start_code;
    lost.resize(184, 0x77);
    const Bytes last_payload = test::pattern_bytes(100, 3);
    Bytes last = head;
    last.insert(last.end(), last_payload.begin(), last_payload.end());

    test::TsWriter ts;
    ts.packet(video_pid, true, first).packet(video_pid, false, lost);
    ts.packet(video_pid, true, std::span(second).first(184));
    ts.packet(video_pid, false, std::span(second).subspan(184)).packet(video_pid, false, lost);
    ts.packet(video_pid, true, last, static_cast<int>(183 - last.size()));
    const test::TempDir dir;
    const std::string path = dir.write("clip.ts", ts.bytes());

    Bytes expected = first_payload;
    expected.insert(expected.end(), second_payload.begin(), second_payload.end());
    expected.insert(expected.end(), last_payload.begin(), last_payload.end());
    const MemorySettings settings;
    for (const std::size_t size : {1, 2, 3, 4, 5, 6, 7, 8, 9, 4096}) {
        const auto layer = ts_layer_open(path, StreamKind::video, settings);
        ASSERT_TRUE(layer);
        EXPECT_EQ(read_through(*layer, [size] { return size; }).bytes, expected) << size;
    }
}

TEST(TsStreamedPayloads, AnOpenPacketEndsAtItsLimitAsAWholeOneDoes) {
    // A packet start follows the limit closely, so that its prefix straddles it.
    const std::size_t header = 3;
    Bytes payload(PesPacket::unbounded_capacity_limit + 5000, 0x55);
    const std::size_t at = PesPacket::unbounded_capacity_limit - header - 2;
    payload[at] = payload[at + 1] = 0x00;
    payload[at + 2] = 0x01;
    payload[at + 3] = 0xE0;
    Bytes pes{0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x00, 0x00};
    pes.insert(pes.end(), payload.begin(), payload.end());
    test::TsWriter ts;
    ts.pes(video_pid, pes);
    ts.video(video_pid, test::pattern_bytes(1000), 1000);
    const test::TempDir dir;
    const std::string path = dir.write("clip.ts", ts.bytes());
    const MemorySettings settings;
    const auto layer = ts_layer_open(path, StreamKind::video, settings);
    ASSERT_TRUE(layer);
    // The bytes up to the limit, the prefix's first two included; the rest of the packet is
    // passed over up to the next unit start.
    Bytes expected(payload.begin(), payload.begin() + PesPacket::unbounded_capacity_limit - header);
    const Bytes next = test::pattern_bytes(1000);
    expected.insert(expected.end(), next.begin(), next.end());
    EXPECT_EQ(read_through(*layer, [] { return std::size_t{0x80000}; }).bytes, expected);
}

}  // namespace
}  // namespace quarnel
