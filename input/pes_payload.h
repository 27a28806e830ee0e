#pragma once
// Which elementary stream a PES packet belongs to, and its elementary-stream payload.

#include <cstddef>
#include <cstdint>
#include <span>

#include "input/pes_packet.h"

namespace quarnel {

enum class StreamKind : int {
    none = 0,          // every other stream id (maps, padding, private stream 2, 0xF0-0xFF)
    video = 1,         // stream ids 0xE0-0xEF, number = id & 0x0F
    mpeg_audio = 2,    // stream ids 0xC0-0xDF, number = id & 0x1F
    private_data = 3,  // private stream 1 (0xBD) with a sub-stream id outside 0x80-0x8F
    ac3 = 4,           // private stream 1 with sub-stream id 0x80-0x8F, number = sub id & 0x0F
};

struct StreamClass {
    StreamKind kind = StreamKind::none;
    int number = -1;

    // True for the kinds whose payload is delivered: video, MPEG audio and AC-3.
    bool carries_stream() const {
        return kind == StreamKind::video || kind == StreamKind::mpeg_audio ||
               kind == StreamKind::ac3;
    }
    bool operator==(const StreamClass&) const = default;
};

// A packet's stream id and its data: the bytes after the length field (header flags, header
// data, payload), or those stored so far.
struct PesData {
    int stream_id = 0;
    std::span<const std::uint8_t> bytes;

    static PesData of(const PesPacket& packet) { return {packet.stream_id(), packet.stored()}; }
};

StreamClass classify_pes_packet(const PesData& packet);
inline StreamClass classify_pes_packet(const PesPacket& packet) {
    return classify_pes_packet(PesData::of(packet));
}

// Bytes of elementary-stream payload in the packet's data: what follows the header, less the
// 4 bytes (sub-stream id, frame count, first access unit pointer) that lead an AC-3 payload;
// 0 for packets of kinds none and private_data.
std::size_t pes_payload_size(const PesData& packet);
inline std::size_t pes_payload_size(const PesPacket& packet) {
    return pes_payload_size(PesData::of(packet));
}

// Copies the payload (the last pes_payload_size() stored bytes), as much of it as fits in
// `destination`, to the start of `destination`; returns the number of bytes copied.
std::size_t copy_pes_payload(const PesPacket& packet, std::span<std::uint8_t> destination);

}  // namespace quarnel
