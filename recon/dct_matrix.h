#pragma once
// The 8-point DCT basis c(u, x) = k(u) / 2 x cos((2x + 1) u pi / 16), k(0) = 1 / sqrt 2,
// k(u) = 1 otherwise (ISO/IEC 13818-2, Annex A).

#include <array>
#include <cmath>

namespace quarnel {

template <typename Real>
using DctMatrix = std::array<std::array<Real, 8>, 8>;  // [u][x]

template <typename Real>
DctMatrix<Real> make_dct_matrix() {
    const long double pi = 4.0L * std::atan2(1.0L, 1.0L);
    DctMatrix<Real> c{};
    for (int u = 0; u < 8; ++u) {
        const long double k = u == 0 ? 1.0L / std::sqrt(2.0L) : 1.0L;
        for (int x = 0; x < 8; ++x)
            c[u][x] = static_cast<Real>(k / 2 * std::cos((2 * x + 1) * u * pi / 16));
    }
    return c;
}

template <typename Real>
const DctMatrix<Real>& dct_matrix() {
    static const DctMatrix<Real> matrix = make_dct_matrix<Real>();
    return matrix;
}

}  // namespace quarnel
