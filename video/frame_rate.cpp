#include "video/frame_rate.h"

namespace quarnel {

namespace {
// Records may come from a cache file, so the code is checked rather than trusted.
bool in_table(std::int32_t frame_rate_code) {
    return frame_rate_code >= 0 && frame_rate_code < 16;
}
}  // namespace

FrameRate frame_rate(const SequenceInfo& sequence) {
    if (!in_table(sequence.frame_rate_code)) return {};
    const auto code = static_cast<std::size_t>(sequence.frame_rate_code);
    FrameRate result{frame_rate_table.rate[code], frame_rate_table.scale[code]};
    if (sequence.sequence_extension_present) {
        // ISO/IEC 13818-2 6.3.3; the masks keep a damaged record from dividing by zero.
        result.rate *= (sequence.frame_rate_extension_n & 3) + 1;
        result.scale *= (sequence.frame_rate_extension_d & 31) + 1;
    }
    return result;
}

std::int32_t whole_frame_rate(std::int32_t frame_rate_code) {
    return in_table(frame_rate_code)
               ? whole_frame_rate_table[static_cast<std::size_t>(frame_rate_code)]
               : 0;
}

}  // namespace quarnel
