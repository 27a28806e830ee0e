#include "tests/support/ts_writer.h"

#include <algorithm>
#include <stdexcept>

namespace quarnel::test {

namespace {

constexpr int header_bytes = 4;
constexpr int packet_bytes = 188;

void append_be(Bytes& out, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// table_id, section_length over `body` and the CRC, `body`, CRC.
Bytes finish_section(int table_id, const Bytes& body) {
    Bytes out;
    out.push_back(static_cast<std::uint8_t>(table_id));
    append_be(out, 0xB000u | static_cast<std::uint32_t>(body.size() + 4), 2);
    out.insert(out.end(), body.begin(), body.end());
    append_be(out, crc32_mpeg2(out), 4);
    return out;
}

// The fields from the table id extension to last_section_number, version 0, current.
void append_section_numbers(Bytes& out, int table_id_extension) {
    append_be(out, static_cast<std::uint32_t>(table_id_extension), 2);
    out.insert(out.end(), {0xC1, 0x00, 0x00});
}

}  // namespace

std::uint32_t crc32_mpeg2(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const std::uint8_t byte : bytes) {
        crc ^= std::uint32_t{byte} << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) != 0 ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

Bytes pat_section(std::initializer_list<PatEntry> programs) {
    Bytes body;
    append_section_numbers(body, 1);
    for (const auto& p : programs) {
        append_be(body, static_cast<std::uint32_t>(p.program_number), 2);
        append_be(body, 0xE000u | static_cast<std::uint32_t>(p.pid), 2);
    }
    return finish_section(0x00, body);
}

Bytes pmt_section(int program_number, std::initializer_list<PmtEntry> streams,
                  const Bytes& program_info) {
    Bytes body;
    append_section_numbers(body, program_number);
    append_be(body, 0xE000u | 0x1FFF, 2);  // PCR_PID: none
    append_be(body, 0xF000u | static_cast<std::uint32_t>(program_info.size()), 2);
    body.insert(body.end(), program_info.begin(), program_info.end());
    for (const auto& s : streams) {
        body.push_back(static_cast<std::uint8_t>(s.stream_type));
        append_be(body, 0xE000u | static_cast<std::uint32_t>(s.pid), 2);
        append_be(body, 0xF000u | static_cast<std::uint32_t>(s.es_info.size()), 2);
        body.insert(body.end(), s.es_info.begin(), s.es_info.end());
    }
    return finish_section(0x02, body);
}

TsWriter& TsWriter::packet(int pid, bool unit_start, std::span<const std::uint8_t> payload,
                           int adaptation_length) {
    if (packet_size_ == 192) append_be(bytes_, static_cast<std::uint32_t>(packet_count()), 4);
    const std::size_t start = bytes_.size();
    const bool has_adaptation = adaptation_length >= 0;
    const int payload_room =
        packet_bytes - header_bytes - (has_adaptation ? 1 + adaptation_length : 0);
    if (payload_room < 0) throw std::invalid_argument("adaptation field too long");
    const int control = (has_adaptation ? 2 : 0) | (payload_room > 0 ? 1 : 0);
    bytes_.push_back(0x47);
    bytes_.push_back(static_cast<std::uint8_t>((unit_start ? 0x40 : 0x00) | (pid >> 8)));
    bytes_.push_back(static_cast<std::uint8_t>(pid));
    bytes_.push_back(static_cast<std::uint8_t>((control << 4) | continuity_[pid]));
    if (control & 1) continuity_[pid] = (continuity_[pid] + 1) & 0x0F;
    if (has_adaptation) {
        bytes_.push_back(static_cast<std::uint8_t>(adaptation_length));
        if (adaptation_length > 0) bytes_.push_back(0x00);  // no flags
        bytes_.resize(bytes_.size() + static_cast<std::size_t>(std::max(0, adaptation_length - 1)),
                      0xFF);
    }
    const std::size_t used = std::min(payload.size(), static_cast<std::size_t>(payload_room));
    bytes_.insert(bytes_.end(), payload.begin(),
                  payload.begin() + static_cast<std::ptrdiff_t>(used));
    bytes_.resize(start + packet_bytes, 0xFF);
    if (packet_size_ == 204) bytes_.resize(bytes_.size() + 16, 0x5A);
    return *this;
}

TsWriter& TsWriter::adaptation_only(int pid, int length) {
    return packet(pid, false, {}, length);
}

TsWriter& TsWriter::pes(int pid, std::span<const std::uint8_t> pes) {
    constexpr std::size_t room = packet_bytes - header_bytes;
    bool first = true;
    while (first || !pes.empty()) {
        const std::size_t used = std::min(pes.size(), room);
        // A short last piece is padded in front by adaptation field stuffing.
        const int adaptation = used < room ? static_cast<int>(room - used) - 1 : -1;
        packet(pid, first, pes.first(used), adaptation);
        pes = pes.subspan(used);
        first = false;
    }
    return *this;
}

TsWriter& TsWriter::section(int pid, std::span<const std::uint8_t> section, const Bytes& after) {
    Bytes payload{0x00};
    payload.insert(payload.end(), section.begin(), section.end());
    payload.insert(payload.end(), after.begin(), after.end());
    return packet(pid, true, payload);
}

TsWriter& TsWriter::video(int pid, std::span<const std::uint8_t> payload, std::size_t chunk,
                          int stream_id) {
    for (std::size_t at = 0; at < payload.size(); at += chunk) {
        const auto piece = payload.subspan(at, std::min(chunk, payload.size() - at));
        pes(pid, pes_packet(MuxSyntax::mpeg2, stream_id, piece, {}, false));
    }
    return *this;
}

Bytes repack(std::span<const std::uint8_t> ts, std::size_t prefix_size, std::size_t suffix_size) {
    Bytes out;
    for (std::size_t at = 0; at + packet_bytes <= ts.size(); at += packet_bytes) {
        out.resize(out.size() + prefix_size, 0x00);
        out.insert(out.end(), ts.begin() + static_cast<std::ptrdiff_t>(at),
                   ts.begin() + static_cast<std::ptrdiff_t>(at + packet_bytes));
        out.resize(out.size() + suffix_size, 0xA5);
    }
    return out;
}

}  // namespace quarnel::test
