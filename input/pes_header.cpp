#include "input/pes_header.h"

#include "base/memory_bit_reader.h"

namespace quarnel {

namespace {

// A 33-bit time stamp as 3 + 15 + 15 bits, each part followed by a marker bit; the 4-bit
// prefix before it has already been consumed. The last marker bit is left to the caller.
std::int64_t read_timestamp(MemoryBitReader& bits) {
    std::int64_t value = bits.get_bits(3);
    bits.skip_bits(1);
    value = (value << 15) | bits.get_bits(15);
    bits.skip_bits(1);
    return (value << 15) | bits.get_bits(15);
}

// ISO/IEC 13818-1, 2.4.3.6: the payload begins after PES_header_data_length bytes.
PesHeaderInfo parse_mpeg2(MemoryBitReader& bits) {
    PesHeaderInfo info;
    info.syntax = PesSyntax::mpeg2;
    bits.skip_bits(8);  // '10', scrambling control, priority, alignment, copyright, original
    const std::uint32_t pts_dts_flags = bits.get_bits(2);
    bits.skip_bits(6);
    info.payload_offset = static_cast<int>(bits.get_bits(8)) + 3;
    if (pts_dts_flags == 0b10 || pts_dts_flags == 0b11) {
        bits.skip_bits(4);
        info.timestamps.pts = read_timestamp(bits);
    }
    if (pts_dts_flags == 0b11) {
        bits.skip_bits(1 + 4);
        info.timestamps.dts = read_timestamp(bits);
    }
    return info;
}

// ISO/IEC 11172-1, 2.4.3.3: stuffing, optional STD buffer fields, then the time stamps or
// the byte 0x0F; the payload follows directly.
PesHeaderInfo parse_mpeg1(MemoryBitReader& bits) {
    PesHeaderInfo info;
    info.syntax = PesSyntax::mpeg1;
    while (bits.peek_bits(8) == 0xFF) bits.skip_bits(8);  // zeros follow the end of the data
    if (bits.peek_bits(2) == 0b01) bits.skip_bits(16);    // STD_buffer_scale and size
    const std::uint32_t prefix = bits.peek_bits(4);
    if (prefix == 0b0010 || prefix == 0b0011) {
        bits.skip_bits(4);
        info.timestamps.pts = read_timestamp(bits);
        bits.skip_bits(1);
        if (prefix == 0b0011) {
            bits.skip_bits(4);
            info.timestamps.dts = read_timestamp(bits);
            bits.skip_bits(1);
        }
    } else {
        bits.skip_bits(8);
    }
    info.payload_offset = static_cast<int>(bits.bytes_consumed());
    return info;
}

}  // namespace

PesHeaderInfo parse_pes_header(std::span<const std::uint8_t> data) {
    MemoryBitReader bits(data.data(), data.size());
    return bits.peek_bits(2) == 0b10 ? parse_mpeg2(bits) : parse_mpeg1(bits);
}

PesTimestamps get_pes_timestamps(const PesPacket& packet) {
    return parse_pes_header(packet).timestamps;
}

}  // namespace quarnel
