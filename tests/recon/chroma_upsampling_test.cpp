#include "recon/chroma_upsampling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace quarnel {
namespace {

using Plane = std::vector<std::uint8_t>;

struct Member {
    ChromaUpsamplingRoutine progressive, interlaced;
};

std::vector<Member> members() {
    std::vector<Member> m{{upsample_chroma_progressive, upsample_chroma_interlaced}};
#if QUARNEL_RECON_MMX
    m.push_back({upsample_chroma_progressive_mmx, upsample_chroma_interlaced_mmx});
#endif
#if QUARNEL_RECON_SSE2
    m.push_back({upsample_chroma_progressive_sse2, upsample_chroma_interlaced_sse2});
#endif
    return m;
}

// Source lines in the top half of a plane of `height` lines; the rest holds junk.
Plane random_plane(int width, int height, std::mt19937& rng) {
    Plane p(static_cast<std::size_t>(width * height));
    for (auto& b : p) b = static_cast<std::uint8_t>(rng());
    return p;
}

// Out-of-place upsampling, straight from the filter definitions.
Plane expected_progressive(const Plane& in, int width, int height) {
    const int n = height / 2;
    Plane out(in.size());
    auto src = [&](int line, int x) { return in[line * width + x]; };
    for (int x = 0; x < width; ++x) {
        out[x] = src(0, x);
        out[(height - 1) * width + x] = src(n - 1, x);
        for (int k = 0; k + 1 < n; ++k) {
            out[(2 * k + 1) * width + x] =
                static_cast<std::uint8_t>((3 * src(k, x) + src(k + 1, x) + 2) >> 2);
            out[(2 * k + 2) * width + x] =
                static_cast<std::uint8_t>((src(k, x) + 3 * src(k + 1, x) + 2) >> 2);
        }
    }
    return out;
}

Plane expected_interlaced(const Plane& in, int width, int height) {
    const int m = height / 4;
    Plane out(in.size());
    for (int parity = 0; parity < 2; ++parity)
        for (int x = 0; x < width; ++x)
            for (int j = 0; j < m; ++j) {
                auto f = [&](int line) {
                    return in[(2 * std::clamp(line, 0, m - 1) + parity) * width + x];
                };
                const int above =
                    parity ? (3 * f(j - 1) + 5 * f(j) + 4) >> 3 : (f(j - 1) + 7 * f(j) + 4) >> 3;
                const int below =
                    parity ? (7 * f(j) + f(j + 1) + 4) >> 3 : (5 * f(j) + 3 * f(j + 1) + 4) >> 3;
                out[(4 * j + parity) * width + x] = static_cast<std::uint8_t>(above);
                out[(4 * j + 2 + parity) * width + x] = static_cast<std::uint8_t>(below);
            }
    return out;
}

TEST(ChromaUpsampling, EveryMemberMatchesTheFiltersInPlace) {
    std::mt19937 rng(11);
    for (const Member& member : members())
        for (int width : {8, 24, 37})  // whole registers and tails
            for (int height : {4, 8, 36}) {
                const Plane cb = random_plane(width, height, rng),
                            cr = random_plane(width, height, rng);
                for (bool interlaced : {false, true}) {
                    Plane b = cb, r = cr;
                    (interlaced ? member.interlaced
                                : member.progressive)({height, width, b.data(), r.data()});
                    const auto expected = interlaced ? expected_interlaced : expected_progressive;
                    EXPECT_EQ(b, expected(cb, width, height))
                        << width << "x" << height << " " << interlaced;
                    EXPECT_EQ(r, expected(cr, width, height))
                        << width << "x" << height << " " << interlaced;
                }
            }
}

TEST(ChromaUpsampling, NothingHappensWithoutUsableFrame) {
    Plane cb(64, 7), cr(64, 9);
    upsample_chroma_none({8, 8, cb.data(), cr.data()});
    for (const Member& member : members()) {
        member.progressive({1, 8, cb.data(), cr.data()});
        member.interlaced({8, 0, cb.data(), cr.data()});
        member.progressive({8, 8, nullptr, cr.data()});
    }
    EXPECT_EQ(cb, Plane(64, 7));
    EXPECT_EQ(cr, Plane(64, 9));
}

}  // namespace
}  // namespace quarnel
