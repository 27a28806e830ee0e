#pragma once
// Tables for resizing output pictures horizontally to the display aspect ratio of a stream:
// for every output pixel of a line, which source pixels to combine and with which weights,
// from a three-lobe Lanczos kernel. Only built; picture output would apply them.

#include "base/settings.h"
#include "recon/picture_views.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quarnel {

// What the tables take from the first sequence header of a stream and its extensions.
struct SequenceShape {
    std::int32_t horizontal_size = 0;
    std::int32_t vertical_size = 0;
    std::int32_t coded_width = 0;
    std::int32_t coded_height = 0;
    std::int32_t aspect_ratio_information = 0;
    std::int32_t sequence_extension_present = 0;  // MPEG-2
    std::int32_t chroma_format = 0;
    std::int32_t sequence_display_extension_present = 0;
    std::int32_t display_horizontal_size = 0;
    std::int32_t display_vertical_size = 0;
};

struct ResizeFilter {
    std::int32_t height = 0;  // output lines
    std::int32_t output_width = 0;
    std::int32_t source_line_step = 0;   // the coded width
    std::int32_t source_offset = 0;      // of the first source pixel
    std::int32_t aligned_width = 0;      // luma output width rounded up to a multiple of 16
    std::int32_t chroma_line_width = 0;  // 4:2:0 chroma only: aligned width / 2
    std::int32_t output_count = 0;       // output pixels per line
    std::int32_t taps = 0;               // source pixels per output pixel
    // output_count x taps each: source indices (within 0 .. source width - 1) and 16.16 weights
    std::vector<std::int32_t> source_indices;
    std::vector<std::int32_t> weights;

    const std::int32_t* indices_of(int output) const {
        return source_indices.data() + output * taps;
    }
    const std::int32_t* weights_of(int output) const { return weights.data() + output * taps; }
};

struct ResizeTables {
    ResizeFilter luma;
    ResizeFilter chroma;
};

// The tables for the first sequence header of a stream, or nothing when the aspect_ratio
// setting is 0, the computed width equals horizontal_size, the sizes are unusable or memory
// runs out. A sequence display extension whose display size is 0 or larger than the coded
// size gets the coded size written into `sequence`.
std::unique_ptr<ResizeTables> build_resize_tables(SequenceShape& sequence,
                                                  const VideoSettings& settings);

// Resized output replaces the picture size of the colour parameters: width and height by
// the luma filter's, the coded width by its aligned width, the chroma line width by the
// chroma filter's.
void apply_resize_tables(const ResizeTables& tables, ColourParameters& colour);

// sin(pi x / 3) sin(pi x) / (pi^2 x^2 / 3) for |x| < 3, 1 at 0, 0 beyond.
long double lanczos3(long double x);

// Tap sets; each fills output_count, taps, source_indices and weights of `filter`. Weights
// are each tap's kernel value over the sum of the output's kernel values, x 65536, truncated.
void filter_identity(ResizeFilter& filter, int outputs);
void filter_upscale(ResizeFilter& filter, int source_width, int outputs);
void filter_downscale(ResizeFilter& filter, int source_width, int outputs);

}  // namespace quarnel
