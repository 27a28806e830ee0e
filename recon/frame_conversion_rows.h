#pragma once
// Per-line and per-pixel pieces shared by the members of the output conversion families.

#include "recon/picture_views.h"
#include "recon/yuy2_record.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace quarnel {

struct ConversionLine {
    const std::uint8_t *y, *u, *v;
    std::uint8_t* out;
};

// Calls convert(line) for every output line, lines alternating between the two pictures.
template <typename Convert>
void for_each_output_line(const PictureView& first, const PictureView& second,
                          const OutputView& output, int height, Convert convert) {
    for (int row = 0; row < height; ++row) {
        const PictureView& p = (row & 1) ? second : first;
        convert(ConversionLine{p.plane[0] + row * p.luma_step, p.plane[1] + row * p.chroma_step,
                               p.plane[2] + row * p.chroma_step,
                               output.data + row * output.line_step});
    }
}

inline std::uint8_t clamp_byte(std::int64_t v) {
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
}

inline void rgb24_pixel(int y, int u, int v, const ColourParameters& c, std::uint8_t* out) {
    const std::int64_t luma = static_cast<std::int64_t>(y - c.luma_offset) * c.luma_scale;
    u -= 128;
    v -= 128;
    out[0] = clamp_byte((luma + static_cast<std::int64_t>(u) * c.u_to_blue) >> 16);
    out[1] = clamp_byte((luma + static_cast<std::int64_t>(u) * c.u_to_green +
                         static_cast<std::int64_t>(v) * c.v_to_green) >>
                        16);
    out[2] = clamp_byte((luma + static_cast<std::int64_t>(v) * c.v_to_red) >> 16);
}

// Pixels [from, to) of a 4:2:2 line.
inline void rgb24_pixels_422(const ConversionLine& l, int from, int to, const ColourParameters& c) {
    for (int x = from; x < to; ++x) rgb24_pixel(l.y[x], l.u[x / 2], l.v[x / 2], c, l.out + 3 * x);
}

inline void yuy2_pairs_422(const ConversionLine& l, int from, int to) {
    for (int p = from; p < to; ++p) {
        std::uint8_t* o = l.out + 4 * p;
        o[0] = l.y[2 * p];
        o[1] = l.u[p];
        o[2] = l.y[2 * p + 1];
        o[3] = l.v[p];
    }
}

inline void yuy2_adjust_pair(std::uint8_t* p, const Yuy2Record& k) {
    const std::int64_t u = p[1] - 128, v = p[3] - 128;
    const std::int64_t d = (k[0] * u + k[1] * v + 32768) >> 16;
    p[0] = clamp_byte(p[0] + d);
    p[2] = clamp_byte(p[2] + d);
    p[1] = clamp_byte(((k[2] * u + k[3] * v + 32768) >> 16) + 128);
    p[3] = clamp_byte(((k[4] * u + k[5] * v + 32768) >> 16) + 128);
}

// Calls adjust(line, pairs) for each line of a YUY2 buffer with a signed line length.
template <typename Adjust>
void for_each_yuy2_line(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines,
                        Adjust adjust) {
    const int pairs = static_cast<int>(std::abs(line_length) / 4);
    for (int row = 0; row < lines; ++row) adjust(buffer + row * line_length, pairs);
}

}  // namespace quarnel
