#include "input/ts_tables.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace quarnel {

namespace {

constexpr int pat_table_id = 0x00;
constexpr int pmt_table_id = 0x02;
constexpr std::size_t crc_bytes = 4;

int read_u16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (bytes[at] << 8) | bytes[at + 1];
}

// The section that starts after the pointer_field, cut to the packet and to its
// section_length (which counts the bytes after itself); nothing when `table_id` differs or
// the pointer leaves the packet.
std::optional<std::span<const std::uint8_t>> section_in(std::span<const std::uint8_t> payload,
                                                        int table_id) {
    if (payload.empty()) return std::nullopt;
    const std::size_t start = 1 + std::size_t{payload[0]};
    if (start + 3 > payload.size() || payload[start] != table_id) return std::nullopt;
    const auto section = payload.subspan(start);
    const std::size_t length = 3 + static_cast<std::size_t>(read_u16(section, 1) & 0x0FFF);
    return section.first(std::min(length, section.size()));
}

PidTable::Mark mark_of_stream_type(int stream_type) {
    switch (stream_type) {
        case 0x01:
            return PidTable::mpeg1_video;
        case 0x02:
            return PidTable::mpeg2_video;
        case 0x10:
            return PidTable::mpeg4_video;
        case 0x03:
            return PidTable::mpeg1_audio;
        case 0x04:
            return PidTable::mpeg2_audio;
        case 0x0F:
            return PidTable::aac_audio;
        default:
            return PidTable::unknown;
    }
}

}  // namespace

void parse_pat(std::span<const std::uint8_t> payload, PidTable& table) {
    const auto section = section_in(payload, pat_table_id);
    if (!section) return;
    // table_id, section_length, transport_stream_id, version, section numbers: 8 bytes; the
    // program loop runs to the CRC.
    constexpr std::size_t first_entry = 8;
    constexpr std::size_t entry_bytes = 4;
    for (std::size_t at = first_entry; at + entry_bytes + crc_bytes <= section->size();
         at += entry_bytes) {
        const int program_number = read_u16(*section, at);
        const int pid = read_u16(*section, at + 2) & 0x1FFF;
        table.mark(pid, program_number != 0 ? PidTable::program_map : PidTable::network);
    }
    table.mark(0, PidTable::association_read);
}

int parse_pmt(std::span<const std::uint8_t> payload, StreamKind wanted, PidTable& table) {
    const auto section = section_in(payload, pmt_table_id);
    constexpr std::size_t program_info_at = 10;
    if (!section || section->size() < program_info_at + 2) return 0;
    // The stream loop lies between the program descriptors and the CRC.
    const std::size_t first_entry =
        program_info_at + 2 + (read_u16(*section, program_info_at) & 0x0FFF);
    constexpr std::size_t entry_bytes = 5;
    int chosen = 0;
    for (std::size_t at = first_entry; at + entry_bytes + crc_bytes <= section->size();) {
        const int stream_type = (*section)[at];
        const int pid = read_u16(*section, at + 1) & 0x1FFF;
        const std::size_t es_info_length = read_u16(*section, at + 3) & 0x0FFF;
        const PidTable::Mark mark = mark_of_stream_type(stream_type);
        if (mark != PidTable::unknown) table.mark(pid, mark);
        const bool mpeg_video = stream_type == 0x01 || stream_type == 0x02;
        if (mpeg_video && wanted == StreamKind::video && chosen == 0) chosen = pid;
        at += entry_bytes + es_info_length;
    }
    return chosen;
}

}  // namespace quarnel
