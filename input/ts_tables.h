#pragma once
// The program association and program map sections (ISO/IEC 13818-1, 2.4.4.3 and 2.4.4.8),
// read as far as choosing the PID of a stream needs.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "input/pes_payload.h"

namespace quarnel {

// What the tables have said about each PID.
class PidTable {
  public:
    enum Mark : std::uint8_t {
        unknown = 0,
        association_read = 1,  // on PID 0: a program association section has been read
        network = 2,
        program_map = 3,
        // Elementary streams, by stream_type.
        mpeg1_video = 0x10,
        mpeg2_video = 0x11,
        mpeg4_video = 0x12,
        mpeg1_audio = 0x20,
        mpeg2_audio = 0x21,
        aac_audio = 0x22,
    };

    Mark operator[](int pid) const { return marks_[static_cast<std::size_t>(pid & 0x1FFF)]; }
    void mark(int pid, Mark mark) { marks_[static_cast<std::size_t>(pid & 0x1FFF)] = mark; }
    bool association_seen() const { return marks_[0] == association_read; }

  private:
    std::array<Mark, 8192> marks_{};
};

// Marks the program map PIDs and the network PID that a program association section in
// `payload` (a transport packet's, from its pointer_field) lists, then PID 0 as read. Other
// tables are ignored. Only the bytes of this one packet are read.
void parse_pat(std::span<const std::uint8_t> payload, PidTable& table);

// The program map PIDs that a program association section in `payload` lists, in its order;
// nothing when it is no such section.
std::optional<std::vector<int>> parse_pat_maps(std::span<const std::uint8_t> payload);

// Marks the elementary PIDs of a program map section in `payload` by their stream type and
// returns the PID of its first MPEG-1 or MPEG-2 video stream when `wanted` is video; 0 when
// there is none or this is not a program map section.
int parse_pmt(std::span<const std::uint8_t> payload, StreamKind wanted, PidTable& table);

// The streams of one program that the analyser reads: its first MPEG-1 or MPEG-2 video and
// the streams that may carry MPEG audio (stream types 0x03 and 0x04, and 0x06, private PES
// data), in the order of its map.
struct TsProgram {
    int map_pid = 0;    // of its program map section
    int video_pid = 0;  // 0 without video
    std::vector<int> audio_pids;
    bool operator==(const TsProgram&) const = default;
};

// The program that a program map section in `payload` (a transport packet's, from its
// pointer_field) describes; nothing when it is no program map section.
std::optional<TsProgram> parse_program(std::span<const std::uint8_t> payload, int map_pid);

}  // namespace quarnel
