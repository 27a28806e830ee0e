#pragma once
// The time code of a group of pictures header (ISO/IEC 13818-2 6.2.2.6, Table 6-11).

#include <cstdint>

#include "video/video_bit_reader.h"

namespace quarnel {

struct GopTimeCode {
    std::int32_t drop_frame_flag = 0;
    std::int32_t time_code_hours = 0;
    std::int32_t time_code_minutes = 0;
    std::int32_t marker_bit = 0;  // as read
    std::int32_t time_code_seconds = 0;
    std::int32_t time_code_pictures = 0;

    bool operator==(const GopTimeCode&) const = default;
};
static_assert(sizeof(GopTimeCode) == 24, "GopTimeCode is six words");

// Reads the 25 time code bits just past a group start code; closed_gop and broken_link follow.
GopTimeCode parse_gop_time_code(VideoBitReader& reader);

// The frame number the time code names at `whole_frame_rate` frames per second.
std::int64_t time_code_to_frames(const GopTimeCode& time_code, std::int32_t whole_frame_rate);

}  // namespace quarnel
