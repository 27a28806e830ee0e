#include "tests/support/ps_writer.h"

#include <algorithm>
#include <stdexcept>

namespace quarnel::test {

namespace {

void append(Bytes& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The `count` low bytes of `value`, most significant first.
void append_be(Bytes& out, std::uint64_t value, int count) {
    for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 4-bit prefix and a 33-bit time stamp as 3 + 15 + 15 bits, each with a marker bit.
void append_timestamp(Bytes& out, int prefix, std::int64_t value) {
    const auto v = static_cast<std::uint64_t>(value);
    const std::uint64_t bits = (std::uint64_t(prefix) << 36) | (((v >> 30) & 0x7) << 33) |
                               (1ull << 32) | (((v >> 15) & 0x7FFF) << 17) | (1ull << 16) |
                               ((v & 0x7FFF) << 1) | 1;
    append_be(out, bits, 5);
}

void append_start_code(Bytes& out, int code) {
    append_be(out, 0x00000100u | static_cast<std::uint32_t>(code), 4);
}

Bytes mpeg1_header(const PesFields& f) {
    Bytes out(static_cast<std::size_t>(f.stuffing), 0xFF);
    if (f.std_buffer) append_be(out, 0x4000 | (1 << 13) | 46, 2);  // '01', scale 1, size 46
    if (f.pts >= 0 && f.dts >= 0) {
        append_timestamp(out, 0b0011, f.pts);
        append_timestamp(out, 0b0001, f.dts);
    } else if (f.pts >= 0) {
        append_timestamp(out, 0b0010, f.pts);
    } else {
        out.push_back(0x0F);
    }
    return out;
}

Bytes mpeg2_header(const PesFields& f) {
    Bytes data;
    int pts_dts_flags = 0;
    if (f.pts >= 0 && f.dts >= 0) {
        pts_dts_flags = 0b11;
        append_timestamp(data, 0b0011, f.pts);
        append_timestamp(data, 0b0001, f.dts);
    } else if (f.pts >= 0) {
        pts_dts_flags = 0b10;
        append_timestamp(data, 0b0010, f.pts);
    }
    if (f.std_buffer) {
        data.push_back(0x1E);                          // P-STD_buffer_flag, reserved
        append_be(data, 0x4000 | (1 << 13) | 112, 2);  // '01', scale 1, size 112
    }
    data.insert(data.end(), static_cast<std::size_t>(f.stuffing), 0xFF);
    Bytes out{0x80, static_cast<std::uint8_t>((pts_dts_flags << 6) | (f.std_buffer ? 1 : 0)),
              static_cast<std::uint8_t>(data.size())};
    append(out, data);
    return out;
}

}  // namespace

Bytes pes_header_bytes(MuxSyntax syntax, const PesFields& fields) {
    return syntax == MuxSyntax::mpeg1 ? mpeg1_header(fields) : mpeg2_header(fields);
}

Bytes system_packet(int stream_id, std::span<const std::uint8_t> body, bool bounded) {
    if (body.size() > 0xFFFF) throw std::length_error("packet body longer than 65535 bytes");
    Bytes out;
    append_start_code(out, stream_id);
    append_be(out, bounded ? body.size() : 0, 2);
    append(out, body);
    return out;
}

Bytes pes_packet(MuxSyntax syntax, int stream_id, std::span<const std::uint8_t> payload,
                 const PesFields& fields, bool bounded) {
    Bytes body = pes_header_bytes(syntax, fields);
    append(body, payload);
    return system_packet(stream_id, body, bounded);
}

PsWriter& PsWriter::pack_header(std::int64_t scr, int mux_rate) {
    append_start_code(bytes_, 0xBA);
    const auto rate = static_cast<std::uint64_t>(mux_rate);
    if (syntax_ == MuxSyntax::mpeg1) {  // ISO/IEC 11172-1, 2.4.3.2
        append_timestamp(bytes_, 0b0010, scr);
        append_be(bytes_, (1u << 23) | (rate << 1) | 1, 3);
        return *this;
    }
    // ISO/IEC 13818-1, 2.5.3.3: '01', SCR base with markers, SCR extension 0, mux rate.
    const auto v = static_cast<std::uint64_t>(scr);
    const std::uint64_t bits = (1ull << 46) | (((v >> 30) & 0x7) << 43) | (1ull << 42) |
                               (((v >> 15) & 0x7FFF) << 27) | (1ull << 26) | ((v & 0x7FFF) << 11) |
                               (1ull << 10) | 1;
    append_be(bytes_, bits, 6);
    append_be(bytes_, (rate << 2) | 0x3, 3);
    bytes_.push_back(0xF8);  // reserved, no pack stuffing
    return *this;
}

PsWriter& PsWriter::system_header(std::initializer_list<int> stream_ids) {
    Bytes body;
    append_be(body, (1u << 23) | (25200u << 1) | 1, 3);  // rate_bound
    body.push_back(0x04);                                // audio_bound 1
    body.push_back(0xE1);                                // locks, marker, video_bound 1
    body.push_back(0x7F);                                // no packet rate restriction
    for (int id : stream_ids) {
        body.push_back(static_cast<std::uint8_t>(id));
        append_be(body, 0xC000 | (1 << 13) | 232, 2);  // '11', scale 1, size bound 232
    }
    append(bytes_, system_packet(0xBB, body));
    return *this;
}

PsWriter& PsWriter::pes(int stream_id, std::span<const std::uint8_t> payload,
                        const PesFields& fields) {
    append(bytes_, pes_packet(syntax_, stream_id, payload, fields));
    return *this;
}

PsWriter& PsWriter::private_stream_1(int sub_stream_id, std::span<const std::uint8_t> payload,
                                     const PesFields& fields) {
    Bytes body{static_cast<std::uint8_t>(sub_stream_id)};
    if (sub_stream_id >= 0x80 && sub_stream_id <= 0x8F) append(body, Bytes{0x01, 0x00, 0x01});
    append(body, payload);
    return pes(0xBD, body, fields);
}

PsWriter& PsWriter::padding(int length) {
    append(bytes_, system_packet(0xBE, Bytes(static_cast<std::size_t>(length), 0xFF)));
    return *this;
}

PsWriter& PsWriter::end_code() {
    append_start_code(bytes_, 0xB9);
    return *this;
}

PsWriter& PsWriter::raw(std::span<const std::uint8_t> bytes) {
    append(bytes_, bytes);
    return *this;
}

PsWriter& PsWriter::packets(int stream_id, std::span<const std::uint8_t> payload, std::size_t chunk,
                            const PesFields& first) {
    for (std::size_t at = 0; at < payload.size(); at += chunk) {
        pack_header(static_cast<std::int64_t>(at));
        pes(stream_id, payload.subspan(at, std::min(chunk, payload.size() - at)),
            at == 0 ? first : PesFields{});
    }
    return *this;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) append(out, part);
    return out;
}

Bytes pattern_bytes(std::size_t count, std::uint8_t seed) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = static_cast<std::uint8_t>(2 + (i + i / 251 + 31u * seed) % 254);  // never 0 or 1
    }
    return out;
}

}  // namespace quarnel::test
