#pragma once
// The header at the start of a PES packet's data: the MPEG-1 packet header (ISO/IEC 11172-1,
// 2.4.3.3) or the MPEG-2 PES header (ISO/IEC 13818-1, 2.4.3.6), told apart by their first
// two bits.

#include <cstdint>
#include <span>

#include "input/pes_packet.h"

namespace quarnel {

enum class PesSyntax : int { mpeg1 = 1, mpeg2 = 2 };

// Time stamps are 33-bit counts of a 90 kHz clock; -1 means absent.
struct PesTimestamps {
    std::int64_t pts = -1;
    std::int64_t dts = -1;
};

struct PesHeaderInfo {
    PesSyntax syntax = PesSyntax::mpeg1;
    int payload_offset = 0;  // index in the packet's data of the first payload byte
    PesTimestamps timestamps;
};

// Parses the header from a packet's data (the bytes after its length field, or those stored
// so far); bytes missing at the end read as zero. payload_offset may lie beyond the data of a
// damaged or incomplete packet.
PesHeaderInfo parse_pes_header(std::span<const std::uint8_t> data);
inline PesHeaderInfo parse_pes_header(const PesPacket& packet) {
    return parse_pes_header(packet.stored());
}

PesTimestamps get_pes_timestamps(const PesPacket& packet);

}  // namespace quarnel
