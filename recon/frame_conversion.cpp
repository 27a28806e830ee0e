#include "recon/frame_conversion.h"

#include "recon/frame_conversion_rows.h"

namespace quarnel {

void convert_rgb24_422(const PictureView& first, const PictureView& second,
                       const OutputView& output, const ColourParameters& colour) {
    for_each_output_line(first, second, output, colour.height, [&](const ConversionLine& l) {
        rgb24_pixels_422(l, 0, colour.width, colour);
    });
}

void convert_rgb24_444(const PictureView& first, const PictureView& second,
                       const OutputView& output, const ColourParameters& colour) {
    for_each_output_line(first, second, output, colour.height, [&](const ConversionLine& l) {
        for (int x = 0; x < colour.width; ++x)
            rgb24_pixel(l.y[x], l.u[x], l.v[x], colour, l.out + 3 * x);
    });
}

void pack_yuy2_422(const PictureView& first, const PictureView& second, const OutputView& output,
                   const ColourParameters& colour) {
    for_each_output_line(first, second, output, colour.height,
                         [&](const ConversionLine& l) { yuy2_pairs_422(l, 0, colour.width / 2); });
}

void pack_yuy2_444(const PictureView& first, const PictureView& second, const OutputView& output,
                   const ColourParameters& colour) {
    for_each_output_line(first, second, output, colour.height, [&](const ConversionLine& l) {
        for (int p = 0; p < colour.width / 2; ++p) {
            std::uint8_t* o = l.out + 4 * p;
            o[0] = l.y[2 * p];
            o[1] = l.u[2 * p];
            o[2] = l.y[2 * p + 1];
            o[3] = l.v[2 * p];
        }
    });
}

void adjust_yuy2(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines, const Yuy2Record& k) {
    for_each_yuy2_line(buffer, line_length, lines, [&](std::uint8_t* line, int pairs) {
        for (int p = 0; p < pairs; ++p) yuy2_adjust_pair(line + 4 * p, k);
    });
}

void adjust_yuy2_none(std::uint8_t*, std::ptrdiff_t, int, const Yuy2Record&) {}

}  // namespace quarnel
