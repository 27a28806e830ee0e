#pragma once
// Assembles one PES packet (or another system packet with a 16-bit length: program stream
// map, padding, private stream 2; ISO/IEC 13818-1, 2.4.3.6) from bytes fed in pieces of any
// size. The transport stream layer feeds it transport packet payloads; read_pes_packet
// (input/pes_reader.h) feeds it from a program stream.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "base/start_code.h"

namespace quarnel {

// Stream ids above this start a packet; up to it they are pack (0xBA), system header (0xBB),
// program end (0xB9) or video start codes (ISO/IEC 13818-1, table 2-18).
inline constexpr int last_non_packet_code = 0xBB;

class BlockReader;

class PesPacket {
  public:
    // While the packet start is being recognised, fill() runs from empty_fill to -1.
    static constexpr int empty_fill = -6;
    // Unbounded packets (length field 0, video in transport streams) grow in steps of this
    // size up to unbounded_capacity_limit bytes; a packet reaching the limit is ended there.
    static constexpr int growth_step = 65536;
    static constexpr int unbounded_capacity_limit = 16 * 1024 * 1024;

    PesPacket() = default;
    PesPacket(PesPacket&&) noexcept = default;
    PesPacket& operator=(PesPacket&&) noexcept = default;

    // The byte after 00 00 01, above 0xBB once recognised.
    int stream_id() const { return stream_id_; }
    // The 16-bit length field: bytes that follow it; 0 means unbounded.
    int length() const { return length_; }
    // The recogniser's state while negative; from 0 on, the number of bytes stored.
    int fill() const { return fill_; }
    int capacity() const { return capacity_; }
    bool recognised() const { return fill_ >= 0; }
    // Bounded and every byte of it stored.
    bool complete() const { return length_ > 0 && fill_ == length_; }
    // Unbounded with bytes stored: it ends where the next packet of its stream starts, or with
    // the data.
    bool open_length_begun() const { return length_ == 0 && fill_ > 0; }
    // The bytes after the length field stored so far: header flags, header data, payload.
    std::span<const std::uint8_t> stored() const {
        return {data_.get(), fill_ > 0 ? static_cast<std::size_t>(fill_) : 0};
    }

  private:
    friend void pes_packet_release(PesPacket& packet);
    friend int pes_feed(PesPacket& packet, const std::uint8_t* bytes, int count);
    friend int read_pes_packet(PesPacket& packet, BlockReader& reader);  // fills data directly

    int recognise(const std::uint8_t* bytes, int count);
    int store_bounded(const std::uint8_t* bytes, int count);
    int store_unbounded(const std::uint8_t* bytes, int count);
    bool grow_to_hold(int bytes);

    int stream_id_ = 0;
    int length_ = 0;
    std::unique_ptr<std::uint8_t[]> data_;
    int capacity_ = 0;
    int fill_ = empty_fill;
};

// Makes the packet empty, ready to recognise the next packet start. Its storage stays for the
// next packet: a scan reads hundreds of thousands of packets.
void pes_packet_release(PesPacket& packet);

// Offers `count` bytes to the packet and returns how many it took (bytes skipped while
// looking for a packet start included). A result below `count` means the packet is complete:
// - a bounded packet takes bytes until `length` are stored; once complete it takes none;
// - an unbounded packet ends just before the next 00 00 01 followed by a stream id above
//   0xBB. When that prefix began in earlier feeds, its bytes are removed from the packet and
//   the result is negative (down to -3).
// A bounded packet uses the storage left from earlier packets when it holds `length` bytes,
// and allocates exactly `length` bytes otherwise. When an allocation fails the packet stores
// nothing: check complete() (bounded) or fill() before using it.
int pes_feed(PesPacket& packet, const std::uint8_t* bytes, int count);

// The first prefix in [from, end) that begins the next packet: 00 00 01 followed by a stream
// id above 0xBB, the id lying before `end` too. Nullptr when there is none. Every other
// prefix passed on the way, its id before `end`, is shown to `passed` in turn.
template <typename Passed>
const std::uint8_t* find_packet_start(const std::uint8_t* from, const std::uint8_t* end,
                                      Passed&& passed) {
    while (const std::uint8_t* hit = find_start_code(from, end)) {
        if (hit + 3 >= end) break;  // its stream id lies beyond the range: later bytes decide
        if (hit[3] > last_non_packet_code) return hit;
        passed(hit);
        from = hit + 3;
    }
    return nullptr;
}
inline const std::uint8_t* find_packet_start(const std::uint8_t* from, const std::uint8_t* end) {
    return find_packet_start(from, end, [](const std::uint8_t*) {});
}

}  // namespace quarnel
