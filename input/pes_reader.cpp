#include "input/pes_reader.h"

#include <cstdint>

namespace quarnel {

namespace {
constexpr std::uint32_t first_packet_code = 0x000001BC;  // program stream map
}

int read_pes_packet(PesPacket& packet, BlockReader& reader) {
    std::uint32_t code = 0;
    do {
        if (!reader.next_start_code()) return 0;
        code = reader.get_bits(32);
    } while (code < first_packet_code);

    pes_packet_release(packet);
    const std::uint32_t length = reader.get_bits(16);
    const std::uint8_t start[] = {0x00,
                                  0x00,
                                  0x01,
                                  static_cast<std::uint8_t>(code),
                                  static_cast<std::uint8_t>(length >> 8),
                                  static_cast<std::uint8_t>(length)};
    pes_feed(packet, start, sizeof start);
    if (length == 0 || packet.capacity() < static_cast<int>(length)) return 0;

    // The feed allocated exactly `length` bytes; they are read straight into them.
    while (!packet.complete()) {
        const std::size_t missing = static_cast<std::size_t>(packet.length_ - packet.fill_);
        const std::size_t got = reader.read_bytes(packet.data_.get() + packet.fill_, missing);
        if (got == 0) return 0;
        packet.fill_ += static_cast<int>(got);
    }
    return packet.length();
}

}  // namespace quarnel
