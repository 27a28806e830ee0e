#include "recon/prediction.h"

#include <utility>

namespace quarnel {
namespace {

template <int Width, bool HalfX, bool HalfY, bool Store>
void kernel(const std::uint8_t* source, std::uint8_t* destination, std::ptrdiff_t source_step,
            std::ptrdiff_t destination_step, int rows) {
    for (int r = 0; r < rows; ++r, source += source_step, destination += destination_step)
        for (int i = 0; i < Width; ++i) {
            const std::uint8_t* s = source + i;
            int v;
            if constexpr (HalfX && HalfY)
                v = (s[0] + s[1] + s[source_step] + s[source_step + 1] + 2) >> 2;
            else if constexpr (HalfX)
                v = (s[0] + s[1] + 1) >> 1;
            else if constexpr (HalfY)
                v = (s[0] + s[source_step] + 1) >> 1;
            else
                v = s[0];
            destination[i] = static_cast<std::uint8_t>(Store ? v : (destination[i] + v + 1) >> 1);
        }
}

template <std::size_t... I>
constexpr KernelTable make_table(std::index_sequence<I...>) {
    return {kernel < (I & 8) ? 16 : 8, (I & 4) != 0, (I & 2) != 0, (I & 1) != 0 > ...};
}

constexpr KernelTable portable_table = make_table(std::make_index_sequence<16>{});

struct Geometry {
    bool field;
    int rows;
    int reference_parity;
    int destination_parity;
};

// Predicts one plane; x, y are the block's position in this plane (y in field lines for a
// field prediction) and the vector is in half pels of this plane.
void predict_plane(const KernelTable& kernels, const std::uint8_t* reference,
                   std::uint8_t* destination, std::ptrdiff_t step, const Geometry& g, int x, int y,
                   int vector_x, int vector_y, int rows, bool wide, bool store) {
    const std::ptrdiff_t line = g.field ? 2 * step : step;
    const std::uint8_t* from = reference + (g.field ? g.reference_parity * step : 0) +
                               (y + (vector_y >> 1)) * line + x + (vector_x >> 1);
    std::uint8_t* to = destination + (g.field ? g.destination_parity * step : 0) + y * line + x;
    kernels[kernel_index(wide, vector_x & 1, vector_y & 1, store)](from, to, line, line, rows);
}

}  // namespace

const KernelTable& portable_kernels() {
    return portable_table;
}

void predict_macroblock(const KernelTable& kernels, const PictureView& current,
                        const PictureView& reference, const PredictionRequest& q) {
    Geometry g{};
    switch (q.type) {
        case 0:
            g = {false, 16, 0, 0};
            break;
        case 1:
        case 2:
        case 17:
        case 18:
        case 33:
        case 34:
            g.field = true;
            g.rows = 8;
            g.reference_parity = (q.type & 3) - 1;
            g.destination_parity = q.type < 16 ? g.reference_parity : q.type / 16 - 1;
            break;
        default:
            return;
    }
    const int y = g.field ? q.y / 2 : q.y;
    predict_plane(kernels, reference.plane[0], current.plane[0], current.luma_step, g, q.x, y,
                  q.vector_x, q.vector_y, g.rows, true, q.store);

    const bool half_width = q.chroma_format != 3;
    const bool half_height = q.chroma_format == 1;
    const int cx = half_width ? q.x / 2 : q.x;
    const int cvx = half_width ? q.vector_x / 2 : q.vector_x;
    const int cy = half_height ? (g.field ? q.y / 2 / 2 : q.y / 2) : y;
    const int cvy = half_height ? q.vector_y / 2 : q.vector_y;
    const int rows = half_height ? g.rows / 2 : g.rows;
    for (int p = 1; p < 3; ++p)
        predict_plane(kernels, reference.plane[p], current.plane[p], current.chroma_step, g, cx, cy,
                      cvx, cvy, rows, !half_width, q.store);
}

}  // namespace quarnel
