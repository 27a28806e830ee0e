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

// Calls `visit`(program_number, PID) for each entry of the program association section in
// `payload`; false when it is none.
template <typename Visit>
bool for_each_pat_entry(std::span<const std::uint8_t> payload, Visit visit) {
    const auto section = section_in(payload, pat_table_id);
    if (!section) return false;
    // table_id, section_length, transport_stream_id, version, section numbers: 8 bytes; the
    // program loop runs to the CRC.
    constexpr std::size_t first_entry = 8;
    constexpr std::size_t entry_bytes = 4;
    for (std::size_t at = first_entry; at + entry_bytes + crc_bytes <= section->size();
         at += entry_bytes) {
        visit(read_u16(*section, at), read_u16(*section, at + 2) & 0x1FFF);
    }
    return true;
}

}  // namespace

void parse_pat(std::span<const std::uint8_t> payload, PidTable& table) {
    const bool read = for_each_pat_entry(payload, [&](int program_number, int pid) {
        table.mark(pid, program_number != 0 ? PidTable::program_map : PidTable::network);
    });
    if (read) table.mark(0, PidTable::association_read);
}

std::optional<std::vector<int>> parse_pat_maps(std::span<const std::uint8_t> payload) {
    std::vector<int> maps;
    const bool read = for_each_pat_entry(payload, [&](int program_number, int pid) {
        if (program_number != 0) maps.push_back(pid);
    });
    if (!read) return std::nullopt;
    return maps;
}

namespace {

// Calls `visit`(stream_type, elementary_PID) for each entry of the stream loop of the program
// map section in `payload`, which lies between the program descriptors and the CRC. False
// when it is no program map section.
template <typename Visit>
bool for_each_pmt_stream(std::span<const std::uint8_t> payload, Visit visit) {
    const auto section = section_in(payload, pmt_table_id);
    constexpr std::size_t program_info_at = 10;
    if (!section || section->size() < program_info_at + 2) return false;
    const std::size_t first_entry =
        program_info_at + 2 + (read_u16(*section, program_info_at) & 0x0FFF);
    constexpr std::size_t entry_bytes = 5;
    for (std::size_t at = first_entry; at + entry_bytes + crc_bytes <= section->size();) {
        visit((*section)[at], read_u16(*section, at + 1) & 0x1FFF);
        at += entry_bytes + (read_u16(*section, at + 3) & 0x0FFF);  // ES_info_length
    }
    return true;
}

bool is_mpeg_video_type(int stream_type) {
    return stream_type == 0x01 || stream_type == 0x02;
}

}  // namespace

int parse_pmt(std::span<const std::uint8_t> payload, StreamKind wanted, PidTable& table) {
    int chosen = 0;
    for_each_pmt_stream(payload, [&](int stream_type, int pid) {
        const PidTable::Mark mark = mark_of_stream_type(stream_type);
        if (mark != PidTable::unknown) table.mark(pid, mark);
        if (is_mpeg_video_type(stream_type) && wanted == StreamKind::video && chosen == 0)
            chosen = pid;
    });
    return chosen;
}

std::optional<TsProgram> parse_program(std::span<const std::uint8_t> payload, int map_pid) {
    TsProgram program;
    program.map_pid = map_pid;
    const bool map = for_each_pmt_stream(payload, [&](int stream_type, int pid) {
        if (is_mpeg_video_type(stream_type) && program.video_pid == 0) program.video_pid = pid;
        // Recorders in the Blu-ray style mark MPEG audio as private PES data (0x06); its packets
        // tell by their stream id.
        if (stream_type == 0x03 || stream_type == 0x04 || stream_type == 0x06)
            program.audio_pids.push_back(pid);
    });
    if (!map) return std::nullopt;
    return program;
}

}  // namespace quarnel
