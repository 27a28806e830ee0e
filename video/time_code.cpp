#include "video/time_code.h"

namespace quarnel {

GopTimeCode parse_gop_time_code(VideoBitReader& reader) {
    GopTimeCode tc;
    tc.drop_frame_flag = static_cast<std::int32_t>(reader.get_bits(1));
    tc.time_code_hours = static_cast<std::int32_t>(reader.get_bits(5));
    tc.time_code_minutes = static_cast<std::int32_t>(reader.get_bits(6));
    tc.marker_bit = static_cast<std::int32_t>(reader.get_bits(1));
    tc.time_code_seconds = static_cast<std::int32_t>(reader.get_bits(6));
    tc.time_code_pictures = static_cast<std::int32_t>(reader.get_bits(6));
    return tc;
}

std::int64_t time_code_to_frames(const GopTimeCode& tc, std::int32_t whole_frame_rate) {
    const std::int64_t f = whole_frame_rate;
    std::int64_t frames = tc.time_code_hours * f * 3600 + tc.time_code_minutes * f * 60 +
                          tc.time_code_seconds * f + tc.time_code_pictures;
    if (tc.drop_frame_flag) {
        // Drop-frame counting skips two frame numbers each minute except every tenth minute.
        const std::int64_t minutes = std::int64_t{tc.time_code_hours} * 60 + tc.time_code_minutes;
        frames -= 2 * (minutes - minutes / 10);
    }
    return frames;
}

}  // namespace quarnel
