#pragma once
// Transport packet formats (ISO/IEC 13818-1, 2.4.3) and how the start of a file tells them
// apart.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "input/file_set.h"

namespace quarnel {

// How transport packets lie in the file: 188 bytes plain, 192 with a 4-byte prefix (time
// stamp of recorders' .m2ts files) before each header, 204 with 16 trailing bytes (the
// Reed-Solomon parity of broadcast links).
struct TsPacketFormat {
    int packet_size = 188;
    int header_offset = 0;  // of the transport packet header within a packet
    bool operator==(const TsPacketFormat&) const = default;
};

inline constexpr std::uint8_t ts_sync_byte = 0x47;
inline constexpr int ts_packet_bytes = 188;  // a transport packet proper, prefix and parity aside
inline constexpr std::size_t ts_detection_bytes = 6144;

// The format whose sync bytes all sit where they belong in the first ts_detection_bytes of
// `head` (the start of the file), trying 188, then 192 and 204; nothing when none fits. The
// first packet must begin at byte 0.
std::optional<TsPacketFormat> detect_packet_format(std::span<const std::uint8_t> head);

// Reads the first ts_detection_bytes of the file set, judges them and rewinds the set.
std::optional<TsPacketFormat> detect_packet_size(FileSetOps& files);

// Bytes of one window of the file: a multiple of both the packet size and 4096, at least
// 512 KiB, so windows read at multiples of it start at packet boundaries.
int ts_buffer_size(int packet_size);

}  // namespace quarnel
