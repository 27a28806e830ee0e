#include "recon/clamp_tables.h"
#include "recon/dct_matrix.h"
#include "recon/idct.h"

#include <cmath>

namespace quarnel {
namespace {

// Rows, then columns, then one rounding per sample.
template <typename Real, typename Round>
void separable_idct(std::int16_t* block, Round round) {
    const DctMatrix<Real>& c = dct_matrix<Real>();
    Real rows[64];
    for (int v = 0; v < 8; ++v)
        for (int x = 0; x < 8; ++x) {
            Real sum = 0;
            for (int u = 0; u < 8; ++u) sum += c[u][x] * block[8 * v + u];
            rows[8 * v + x] = sum;
        }
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y) {
            Real sum = 0;
            for (int v = 0; v < 8; ++v) sum += c[v][y] * rows[8 * v + x];
            block[8 * y + x] = clamp_sample(round(sum));
        }
}

// Sums stay far inside int range for 16-bit coefficients (|sum| < 8 x 8 x 32768 / 8).
int floor_half_up(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}
int nearest(float v) {
    return static_cast<int>(std::lrint(v));
}

}  // namespace

void idct_reference(std::int16_t* block) {
    separable_idct<double>(block, floor_half_up);
}

void idct_reference_single(std::int16_t* block) {
    separable_idct<float>(block, nearest);
}

}  // namespace quarnel
