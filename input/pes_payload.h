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

StreamClass classify_pes_packet(const PesPacket& packet);

// Bytes of elementary-stream payload stored in the packet: what follows the header, less the
// 4 bytes (sub-stream id, frame count, first access unit pointer) that lead an AC-3 payload;
// 0 for packets of kinds none and private_data.
std::size_t pes_payload_size(const PesPacket& packet);

// Copies the payload (the last pes_payload_size() stored bytes), as much of it as fits in
// `destination`, to the start of `destination`; returns the number of bytes copied.
std::size_t copy_pes_payload(const PesPacket& packet, std::span<std::uint8_t> destination);

// The payload of one PES packet, handed out in pieces by a stream layer. It keeps the packet
// and hands out the payload from where the packet stored it.
class PesPayloadBuffer {
  public:
    // Takes the packet's contents: its payload replaces the contents and its first byte is the
    // next one. `packet` receives the packet held before, so that its storage is used again.
    void load(PesPacket& packet);
    void clear() {
        packet_ = PesPacket{};
        payload_ = {};
        cursor_ = 0;
    }

    std::size_t size() const { return payload_.size(); }
    std::size_t remaining() const { return payload_.size() - cursor_; }
    // Makes the byte at `offset` (clamped to the size) the next one.
    void move_to(std::size_t offset) {
        cursor_ = offset < payload_.size() ? offset : payload_.size();
    }
    // Copies up to `count` of the remaining bytes; returns how many.
    std::size_t take(std::uint8_t* destination, std::size_t count);

  private:
    PesPacket packet_;
    std::span<const std::uint8_t> payload_;  // the last bytes of packet_'s data
    std::size_t cursor_ = 0;
};

}  // namespace quarnel
