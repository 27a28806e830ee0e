#pragma once
// Which YCbCr-to-RGB matrix a stream uses, the conversion coefficients of each matrix, and the
// remix that turns YUY2 output of one matrix into another. Matrices are numbered as
// matrix_coefficients (ISO/IEC 13818-2 Table 6-9): 1 = ITU-R BT.709, 4 = FCC,
// 7 = SMPTE 240M, the others (5, 6 = BT.601) all convert alike.

#include <array>
#include <cstdint>
#include <optional>

#include "base/settings.h"
#include "recon/yuy2_record.h"
#include "video/sequence_info.h"

namespace quarnel {

// Width x height x frame rate from which a stream without a colour description counts as
// high definition and gets the BT.709 matrix.
inline constexpr std::int64_t high_definition_pixel_rate = 12000000;

// The matrix the stream's pictures are coded with: its colour description when it has one,
// else for MPEG-2 the color_matrix setting, or when that is 0 a guess from the pixel rate;
// MPEG-1 is always 0.
std::int32_t choose_colour_matrix(const SequenceInfo& sequence, const VideoSettings& settings);

// Luma levels before conversion: re_map 1 stretches 16-235 to full range.
struct LumaRange {
    std::int32_t offset = 0;
    std::int32_t scale = 65536;  // 16.16
};
LumaRange luma_range(std::int32_t re_map);

// 16.16 fixed point.
struct ColourCoefficients {
    std::int32_t v_to_red = 0;
    std::int32_t u_to_green = 0;
    std::int32_t v_to_green = 0;
    std::int32_t u_to_blue = 0;

    bool operator==(const ColourCoefficients&) const = default;
};

// True for the matrices the coefficient table has a row for (0 to 7).
bool colour_matrix_in_table(std::int32_t matrix);

// The coefficients of `matrix` for re_map 0 or 1. A matrix outside the table (above 7, which
// a colour description or the setting can name) converts as matrix 0.
ColourCoefficients colour_coefficients(std::int32_t matrix, std::int32_t re_map);

// The remix from `source_matrix` to the matrix yuy2_matrix names (1 to 4 target matrices
// 0, 1, 4 and 7); nothing when the source already is the target or yuy2_matrix asks for none.
std::optional<Yuy2Record> yuy2_conversion(std::int32_t source_matrix, std::int32_t yuy2_matrix);

}  // namespace quarnel
