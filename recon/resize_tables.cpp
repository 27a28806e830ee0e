#include "recon/resize_tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <utility>

namespace quarnel {
namespace {

const long double pi = 4.0L * std::atan2(1.0L, 1.0L);

// Largest picture dimension the sequence header and its extension can code (14 bits).
constexpr std::int64_t max_dimension = 16383;

// Pel aspect ratio (ISO/IEC 11172-2, 2.4.3.2) as height / width x 10000, by code.
constexpr std::array<std::pair<int, int>, 11> mpeg1_pel_aspect{{{2, 6735},
                                                                {3, 7031},
                                                                {4, 7615},
                                                                {5, 8055},
                                                                {6, 8437},
                                                                {7, 8935},
                                                                {9, 9815},
                                                                {10, 10255},
                                                                {11, 10695},
                                                                {13, 11575},
                                                                {14, 12015}}};

std::int64_t display_width(const SequenceShape& s, std::int64_t b, std::int64_t a) {
    if (!s.sequence_extension_present) {
        const int p = s.aspect_ratio_information;
        if (p == 8) return 59 * b / 54;
        if (p == 12) return 10 * b / 11;
        for (const auto& [code, q] : mpeg1_pel_aspect)
            if (code == p) return b * 10000 / q;
        return b;
    }
    switch (s.aspect_ratio_information) {
        case 2:
            return 4 * a / 3;  // 4:3
        case 3:
            return 16 * a / 9;  // 16:9
        case 4:
            return 221 * a / 100;  // 2.21:1
        default:
            return b;
    }
}

template <typename Taps>
void fill(ResizeFilter& f, int outputs, int taps, int source_width, Taps tap) {
    if (outputs < 1 || source_width < 1) taps = outputs = 0;  // nothing to resize
    f.output_count = outputs;
    f.taps = taps;
    f.source_indices.assign(static_cast<std::size_t>(outputs) * taps, 0);
    f.weights.assign(static_cast<std::size_t>(outputs) * taps, 0);
    std::vector<long double> values(static_cast<std::size_t>(taps));
    for (int i = 0; i < outputs; ++i) {
        long double sum = 0;
        for (int j = 0; j < taps; ++j) {
            const auto [source, value] = tap(i, j);
            f.source_indices[i * taps + j] =
                static_cast<std::int32_t>(std::clamp<std::int64_t>(source, 0, source_width - 1));
            values[j] = value;
            sum += value;
        }
        if (sum == 0) continue;  // cannot happen for the kernels used; keeps weights 0
        for (int j = 0; j < taps; ++j)
            f.weights[i * taps + j] = static_cast<std::int32_t>(values[j] / sum * 65536);
    }
}

struct Tap {
    std::int64_t source;
    long double value;
};

}  // namespace

void apply_resize_tables(const ResizeTables& tables, ColourParameters& colour) {
    colour.width = tables.luma.output_width;
    colour.height = tables.luma.height;
    colour.coded_width = tables.luma.aligned_width;
    colour.chroma_line_width = tables.chroma.chroma_line_width;
}

long double lanczos3(long double x) {
    x = std::fabs(x);
    if (x < 2.220446049250313e-16L) return 1;
    if (x >= 3) return 0;
    return std::sin(pi * x / 3) * std::sin(pi * x) / (pi * pi * x * x / 3);
}

void filter_identity(ResizeFilter& filter, int outputs) {
    fill(filter, outputs, 1, outputs, [](int i, int) { return Tap{i, 1}; });
}

void filter_upscale(ResizeFilter& filter, int source_width, int outputs) {
    const long double scale = static_cast<long double>(source_width) / std::max(outputs, 1);
    fill(filter, outputs, 6, source_width, [&](int i, int j) {
        const long double x = (i + 0.5L) * scale;
        const auto base = static_cast<std::int64_t>(std::floor(x - 2.5L));
        return Tap{base + j, lanczos3(base + j + 0.5L - x)};
    });
}

void filter_downscale(ResizeFilter& filter, int source_width, int outputs) {
    const std::int64_t s = source_width, n = std::max(outputs, 1);
    const int taps = static_cast<int>((6 * s + n - 1) / n - (s % n == 0 ? 1 : 0));
    fill(filter, outputs, taps, source_width, [&](int i, int j) {
        const auto start = static_cast<std::int64_t>(std::floor(s * (i - 2.5L) / n + 0.5L));
        const std::int64_t source = start + j;
        // distance in output pixels
        return Tap{source, lanczos3((source + 0.5L) * n / s - (i + 0.5L))};
    });
}

std::unique_ptr<ResizeTables> build_resize_tables(SequenceShape& s, const VideoSettings& settings) {
    if (settings.aspect_ratio == 0) return nullptr;

    const bool display = s.sequence_display_extension_present != 0;
    if (display &&
        (s.display_horizontal_size == 0 || s.display_vertical_size == 0 ||
         s.display_horizontal_size > s.coded_width || s.display_vertical_size > s.coded_height)) {
        s.display_horizontal_size = s.coded_width;
        s.display_vertical_size = s.coded_height;
    }
    const std::int64_t b = display ? s.display_horizontal_size : s.horizontal_size;
    const std::int64_t a = display ? s.display_vertical_size : s.vertical_size;
    if (b < 2 || b > max_dimension || a < 1 || a > max_dimension) return nullptr;

    const std::int64_t d = display_width(s, b, a);
    if (d == s.horizontal_size || d < 1) return nullptr;
    const int c = s.sequence_extension_present ? s.chroma_format : 1;

    const auto w = static_cast<int>(d + (d & 1));
    const int chroma_width = c == 3 ? w : w / 2;
    const auto chroma_source = static_cast<int>(c == 3 ? b : b / 2);

    // A display area larger than the picture gets no (negative) offset.
    std::int64_t r = 0, h = 0;
    if (display) {
        r = std::max<std::int64_t>(0, (s.vertical_size - s.display_vertical_size) / 2) *
            s.coded_width;
        h = std::max<std::int64_t>(0, (s.horizontal_size - s.display_horizontal_size) / 2);
    }

    try {
        auto tables = std::make_unique<ResizeTables>();
        for (ResizeFilter* f : {&tables->luma, &tables->chroma}) {
            f->height = static_cast<std::int32_t>(a);
            f->source_line_step = s.coded_width;
            f->aligned_width = (w + 15) & ~15;
        }
        tables->luma.output_width = w;
        tables->luma.source_offset = static_cast<std::int32_t>(r + h);
        tables->chroma.output_width = chroma_width;
        tables->chroma.source_offset = static_cast<std::int32_t>(c == 3 ? r + h : r + h / 2);
        if (c == 1) {
            tables->chroma.source_offset += s.coded_width / 2;
            tables->chroma.chroma_line_width = tables->chroma.aligned_width / 2;
        }

        if (w < b) {
            filter_downscale(tables->luma, static_cast<int>(b), w);
            filter_downscale(tables->chroma, chroma_source, chroma_width);
        } else if (w == b) {
            filter_identity(tables->luma, w);
            filter_identity(tables->chroma, chroma_width);
        } else {
            filter_upscale(tables->luma, static_cast<int>(b), w);
            filter_upscale(tables->chroma, chroma_source, chroma_width);
        }
        return tables;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace quarnel
