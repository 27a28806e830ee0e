#include "video/colour_matrix.h"

#include "video/frame_rate.h"

namespace quarnel {

namespace {

// By matrix, then re_map 0 and 1: V-to-red, U-to-green, V-to-green, U-to-blue.
using CoefficientRow = std::array<ColourCoefficients, 2>;
constexpr std::array<CoefficientRow, 8> coefficient_table{{
    {{{91881, -22553, -46801, 116129}, {104597, -25675, -53279, 132201}}},   // 0
    {{{103219, -12257, -30659, 121621}, {117504, -13954, -34903, 138453}}},  // 1
    {{{91881, -22553, -46801, 116129}, {104597, -25675, -53279, 132201}}},   // 2
    {{{91881, -22553, -46801, 116129}, {104597, -25675, -53279, 132201}}},   // 3
    {{{91750, -21749, -46652, 116654}, {104448, -24759, -53109, 132798}}},   // 4
    {{{91881, -22553, -46801, 116129}, {104597, -25675, -53279, 132201}}},   // 5
    {{{91881, -22553, -46801, 116129}, {104597, -25675, -53279, 132201}}},   // 6
    {{{103284, -14851, -31235, 119668}, {117579, -16907, -35559, 136230}}},  // 7
}};

// The four matrices YUY2 output can be remixed between; every matrix not named converts as 0.
std::int32_t yuy2_family(std::int32_t matrix) {
    return matrix == 1 || matrix == 4 || matrix == 7 ? matrix : 0;
}

constexpr std::array<std::int32_t, 5> yuy2_targets{-1, 0, 1, 4, 7};  // by yuy2_matrix

struct Yuy2Row {
    std::int32_t target;  // yuy2_matrix
    std::int32_t source;  // yuy2_family of the stream's matrix
    Yuy2Record record;
};

constexpr std::array<Yuy2Row, 12> yuy2_table{{
    {1, 1, {6670, 12865, 64871, -7260, -4757, 64447}},
    {1, 4, {532, 48, 65532, -27, -379, 65408}},
    {1, 7, {4924, 12547, 64754, -7081, -3512, 64720}},
    {2, 0, {-7762, -13957, 66759, 7521, 4928, 67199}},
    {2, 4, {-7149, -13878, 66711, 7478, 4539, 67066}},
    {2, 7, {-1997, -398, 65560, 215, 1268, 65830}},
    {3, 0, {-532, -49, 65540, 27, 380, 65664}},
    {3, 1, {6147, 12876, 64874, -7234, -4390, 64531}},
    {3, 7, {4401, 12556, 64757, -7054, -3144, 64806}},
    {4, 0, {-5707, -13329, 66723, 7300, 3621, 66758}},
    {4, 1, {1989, 390, 65516, -214, -1262, 65247}},
    {4, 4, {-5097, -13252, 66676, 7258, 3234, 66626}},
}};

}  // namespace

std::int32_t choose_colour_matrix(const SequenceInfo& sequence, const VideoSettings& settings) {
    if (sequence.sequence_display_extension_present != 0 && sequence.colour_description != 0)
        return sequence.matrix_coefficients;
    if (sequence.sequence_extension_present == 0) return 0;
    if (settings.color_matrix != 0) return settings.color_matrix;
    // The masks keep a record read from a cache file within the extension's field widths.
    const std::int64_t frame_rate = std::int64_t{(sequence.frame_rate_extension_n & 3) + 1} *
                                    whole_frame_rate(sequence.frame_rate_code) /
                                    ((sequence.frame_rate_extension_d & 31) + 1);
    const std::int64_t pixel_rate = frame_rate * sequence.vertical_size * sequence.horizontal_size;
    return pixel_rate >= high_definition_pixel_rate ? 1 : 0;
}

LumaRange luma_range(std::int32_t re_map) {
    return re_map != 0 ? LumaRange{16, 76309} : LumaRange{0, 65536};
}

bool colour_matrix_in_table(std::int32_t matrix) {
    return matrix >= 0 && matrix <= 7;
}

ColourCoefficients colour_coefficients(std::int32_t matrix, std::int32_t re_map) {
    const auto row = static_cast<std::size_t>(colour_matrix_in_table(matrix) ? matrix : 0);
    return coefficient_table[row][re_map != 0 ? 1 : 0];
}

std::optional<Yuy2Record> yuy2_conversion(std::int32_t source_matrix, std::int32_t yuy2_matrix) {
    if (yuy2_matrix < 1 || yuy2_matrix > 4) return std::nullopt;
    const std::int32_t source = yuy2_family(source_matrix);
    if (source == yuy2_targets[static_cast<std::size_t>(yuy2_matrix)]) return std::nullopt;
    for (const Yuy2Row& row : yuy2_table)
        if (row.target == yuy2_matrix && row.source == source) return row.record;
    return std::nullopt;  // unreachable: every other pair has a row
}

}  // namespace quarnel
