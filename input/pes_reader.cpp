#include "input/pes_reader.h"

#include <cstdint>

#include "base/start_code.h"

namespace quarnel {

namespace {
constexpr std::uint32_t first_packet_code = 0x000001BC;  // program stream map
constexpr std::uint8_t first_packet_id = 0xBC;
constexpr std::ptrdiff_t packet_start_size = 6;  // 00 00 01, stream id, 16-bit length
}  // namespace

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

std::optional<PesData> PesPacketWalker::next() {
    if (auto packet = next_in_block()) return packet;
    // Whatever the block does not settle (a packet or start code across its end, the end of
    // the file, a packet of length 0) read_pes_packet decides from the same position.
    pass_pending();
    if (read_pes_packet(packet_, *reader_) == 0) return std::nullopt;
    return PesData::of(packet_);
}

std::optional<PesData> PesPacketWalker::next_in_block() {
    const std::span<const std::uint8_t> rest = reader_->block_rest();
    if (rest.size() < pending_ + packet_start_size) return std::nullopt;
    const std::uint8_t* const end = rest.data() + rest.size();
    // The search of read_pes_packet: each start code below a packet's is passed by its 4 bytes.
    const std::uint8_t* at = rest.data() + pending_;
    for (;;) {
        at = find_start_code(at, end);
        if (at == nullptr || end - at < packet_start_size) return std::nullopt;
        if (at[3] >= first_packet_id) break;
        at += 4;
    }
    const auto length = static_cast<std::size_t>(at[4] << 8 | at[5]);
    const std::uint8_t* const data = at + packet_start_size;
    if (length == 0 || static_cast<std::size_t>(end - data) < length) return std::nullopt;
    pending_ = static_cast<std::size_t>(data + length - rest.data());
    return PesData{at[3], {data, length}};
}

}  // namespace quarnel
