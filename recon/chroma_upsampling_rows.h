#pragma once
// The line order shared by every member of the chroma upsampling family. The frame is
// rewritten in place from the bottom up, and each step reads all its source lines before
// writing, so no source line is overwritten before its last use.

#include "recon/picture_views.h"

#include <cstdint>
#include <cstring>

namespace quarnel {

// Every new pair of lines is out0 = (w.first_a x a0 + w.first_b x b0 + 4) >> 3 and
// out1 = (w.second_a x a1 + w.second_b x b1 + 4) >> 3. A member reads a stretch of all four
// sources before it writes that stretch of the outputs, since an output may be a source.
struct UpsampleWeights {
    int first_a, first_b, second_a, second_b;
};

struct UpsampleLines {
    const std::uint8_t *a0, *b0, *a1, *b1;
    std::uint8_t *out0, *out1;
    UpsampleWeights w;
};

// The plain per-pixel form, for the portable member and the SIMD members' tails.
inline void blend_lines(const UpsampleLines& l, std::ptrdiff_t from, std::ptrdiff_t to) {
    for (std::ptrdiff_t i = from; i < to; ++i) {
        const int first = (l.w.first_a * l.a0[i] + l.w.first_b * l.b0[i] + 4) >> 3;
        const int second = (l.w.second_a * l.a1[i] + l.w.second_b * l.b1[i] + 4) >> 3;
        l.out0[i] = static_cast<std::uint8_t>(first);   // positive weights summing to 8:
        l.out1[i] = static_cast<std::uint8_t>(second);  // always within 0 .. 255
    }
}

inline bool upsampling_frame_valid(const ChromaFrame& frame) {
    return frame.cb && frame.cr && frame.line_step > 0 && frame.height >= 2;
}

// (3a + b + 2) >> 2 is (6a + 2b + 4) >> 3, so one blend serves both kinds.
template <typename Lines>
void progressive_rows(std::uint8_t* plane, const ChromaFrame& frame, Lines lines) {
    const std::ptrdiff_t step = frame.line_step;
    const int n = frame.height / 2;
    auto line = [&](int i) { return plane + i * step; };
    std::memmove(line(2 * n - 1), line(n - 1), static_cast<std::size_t>(step));
    for (int k = n - 2; k >= 0; --k)
        lines(UpsampleLines{line(k), line(k + 1), line(k), line(k + 1), line(2 * k + 1),
                            line(2 * k + 2), UpsampleWeights{6, 2, 2, 6}});
}

// Each field of n / 2 source lines becomes n lines; a line's neighbour beyond the field's
// edge is the edge line itself.
template <typename Lines>
void interlaced_rows(std::uint8_t* plane, const ChromaFrame& frame, Lines lines) {
    const std::ptrdiff_t step = frame.line_step;
    const int m = frame.height / 4;  // source lines per field
    auto line = [&](int field_line, int parity) {
        return plane + (2 * field_line + parity) * step;
    };
    for (int j = m - 1; j >= 0; --j)
        for (int parity = 0; parity < 2; ++parity) {
            const int above = j > 0 ? j - 1 : 0, below = j + 1 < m ? j + 1 : m - 1;
            std::uint8_t* out0 = plane + (4 * j + parity) * step;
            std::uint8_t* out1 = plane + (4 * j + 2 + parity) * step;
            // top field: 1/8 above + 7/8 here, then 5/8 here + 3/8 below;
            // bottom field: 3/8 above + 5/8 here, then 7/8 here + 1/8 below.
            const UpsampleWeights w =
                parity == 0 ? UpsampleWeights{1, 7, 5, 3} : UpsampleWeights{3, 5, 7, 1};
            lines(UpsampleLines{line(above, parity), line(j, parity), line(j, parity),
                                line(below, parity), out0, out1, w});
        }
}

}  // namespace quarnel

namespace quarnel {

template <typename Lines>
void upsample_both_planes(const ChromaFrame& frame, bool interlaced, Lines lines) {
    if (!upsampling_frame_valid(frame)) return;
    for (std::uint8_t* plane : {frame.cb, frame.cr}) {
        if (interlaced)
            interlaced_rows(plane, frame, lines);
        else
            progressive_rows(plane, frame, lines);
    }
}

}  // namespace quarnel
