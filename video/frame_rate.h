#pragma once
// Frame rates by frame_rate_code (ISO/IEC 11172-2 2.4.3.2, ISO/IEC 13818-2 Table 6-4).

#include <array>
#include <cstdint>

#include "video/sequence_info.h"

namespace quarnel {

// rate / scale frames per second; codes 0 and 9 to 15 are forbidden or reserved and give 0.
struct FrameRateTable {
    std::array<std::int32_t, 16> rate;
    std::array<std::int32_t, 16> scale;
};
inline constexpr FrameRateTable frame_rate_table{
    {0, 24000, 24, 25, 30000, 30, 50, 60000, 60, 0, 0, 0, 0, 0, 0, 0},
    {1, 1001, 1, 1, 1001, 1, 1, 1001, 1, 1, 1, 1, 1, 1, 1, 1}};

// The rates rounded up to whole frames, as time codes count them.
inline constexpr std::array<std::int32_t, 16> whole_frame_rate_table{0,  24, 24, 25, 30,
                                                                     30, 50, 60, 60};

struct FrameRate {
    std::int64_t rate = 0;
    std::int64_t scale = 1;

    bool operator==(const FrameRate&) const = default;
};

// The sequence's frame rate, scaled by frame_rate_extension_n and _d in an MPEG-2 stream.
FrameRate frame_rate(const SequenceInfo& sequence);

// Whole frames per second for a frame_rate_code; 0 for codes outside the table.
std::int32_t whole_frame_rate(std::int32_t frame_rate_code);

}  // namespace quarnel
