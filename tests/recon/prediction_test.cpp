#include "recon/prediction.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes random_bytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(rng());
    return b;
}

constexpr int step = 40;  // source and destination line step in the kernel tests

// What entry `index` must produce, written out pixel by pixel.
Bytes expected_kernel(int index, const Bytes& src, Bytes dst, int rows) {
    const int width = index & 8 ? 16 : 8;
    const bool hx = index & 4, hy = index & 2, store = index & 1;
    for (int r = 0; r < rows; ++r)
        for (int i = 0; i < width; ++i) {
            auto s = [&](int dy, int dx) { return src[(r + dy) * step + i + dx]; };
            int v = s(0, 0);
            if (hx && hy)
                v = (s(0, 0) + s(0, 1) + s(1, 0) + s(1, 1) + 2) >> 2;
            else if (hx)
                v = (s(0, 0) + s(0, 1) + 1) >> 1;
            else if (hy)
                v = (s(0, 0) + s(1, 0) + 1) >> 1;
            std::uint8_t& d = dst[r * step + i];
            d = static_cast<std::uint8_t>(store ? v : (d + v + 1) >> 1);
        }
    return dst;
}

void expect_table_exact(const KernelTable& table, const char* name) {
    for (int index = 0; index < 16; ++index)
        for (std::uint32_t seed = 0; seed < 4; ++seed) {
            const Bytes src = random_bytes(step * 18, seed);
            Bytes dst = random_bytes(step * 16, seed + 100);
            const int rows = seed % 2 ? 16 : 8;
            const Bytes expected = expected_kernel(index, src, dst, rows);
            table[index](src.data(), dst.data(), step, step, rows);
            ASSERT_EQ(dst, expected) << name << " entry " << index;
        }
}

TEST(PredictionKernels, EveryTableReproducesTheRoundingExactly) {
    expect_table_exact(portable_kernels(), "portable");
#if QUARNEL_RECON_MMX
    expect_table_exact(mmx_kernels(), "mmx");
#endif
#if QUARNEL_RECON_SSE
    expect_table_exact(sse_kernels(), "sse");
#endif
#if QUARNEL_RECON_SSE2
    expect_table_exact(sse2_kernels(), "sse2");
#endif
}

#if QUARNEL_RECON_SSE2
TEST(PredictionKernels, SseTablesKeepMmxKernelsWhereByteAveragingWouldRoundWrongly) {
    const KernelTable &mmx = mmx_kernels(), &sse = sse_kernels(), &sse2 = sse2_kernels();
    for (int wide = 0; wide < 2; ++wide) {
        EXPECT_EQ(sse[kernel_index(wide, false, false, true)],
                  mmx[kernel_index(wide, false, false, true)]);
        EXPECT_EQ(sse[kernel_index(wide, true, true, false)],
                  mmx[kernel_index(wide, true, true, false)]);
        EXPECT_EQ(sse[kernel_index(wide, true, true, true)],
                  mmx[kernel_index(wide, true, true, true)]);
        EXPECT_NE(sse[kernel_index(wide, true, false, true)],
                  mmx[kernel_index(wide, true, false, true)]);
        EXPECT_NE(sse[kernel_index(wide, false, false, false)],
                  mmx[kernel_index(wide, false, false, false)]);
    }
    for (int i = 0; i < 8; ++i) EXPECT_EQ(sse2[i], sse[i]);
    for (int i = 8; i < 16; ++i)
        if (i == kernel_index(true, false, false, true))
            EXPECT_EQ(sse2[i], mmx[i]);
        else
            EXPECT_NE(sse2[i], sse[i]) << i;
}
#endif

// A picture whose every byte tells its plane, line and column.
struct TestPicture {
    int width, height, chroma_width, chroma_height;
    std::vector<Bytes> planes;
    PictureView view() {
        return {{planes[0].data(), planes[1].data(), planes[2].data()}, width, chroma_width};
    }
};

TestPicture make_picture(int chroma_format, bool patterned) {
    TestPicture p{64, 64, chroma_format == 3 ? 64 : 32, chroma_format == 1 ? 32 : 64, {}};
    for (int plane = 0; plane < 3; ++plane) {
        const int w = plane ? p.chroma_width : p.width, h = plane ? p.chroma_height : p.height;
        Bytes b(static_cast<std::size_t>(w * h));
        if (patterned)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    b[y * w + x] = static_cast<std::uint8_t>(plane * 80 + y + x * 3);
        p.planes.push_back(std::move(b));
    }
    return p;
}

TEST(Prediction, FramePredictionMovesLumaAndHalvedChromaVectors) {
    TestPicture ref = make_picture(1, true), cur = make_picture(1, false);
    // full-pel vector (4, -6) in half pels: luma moves by (2, -3), chroma by (1, -1.5)
    predict_macroblock(portable_kernels(), cur.view(), ref.view(), {0, 4, -6, 16, 16, true, 1});
    EXPECT_EQ(cur.planes[0][16 * 64 + 16], ref.planes[0][13 * 64 + 18]);
    EXPECT_EQ(cur.planes[0][31 * 64 + 31], ref.planes[0][28 * 64 + 33]);
    EXPECT_EQ(cur.planes[0][15 * 64 + 16], 0);  // outside the macroblock
    const auto& rc = ref.planes[1];
    EXPECT_EQ(cur.planes[1][8 * 32 + 8], (rc[6 * 32 + 9] + rc[7 * 32 + 9] + 1) >> 1);
    EXPECT_EQ(cur.planes[1][16 * 32 + 8], 0);  // 8 chroma lines only
}

TEST(Prediction, ChromaFormatDecidesWhichDirectionsAreHalved) {
    for (int c : {2, 3}) {
        TestPicture ref = make_picture(c, true), cur = make_picture(c, false);
        predict_macroblock(portable_kernels(), cur.view(), ref.view(), {0, 4, 4, 16, 16, true, c});
        const int w = cur.chroma_width;
        const int cx = c == 3 ? 16 : 8, dx = c == 3 ? 2 : 1;
        EXPECT_EQ(cur.planes[2][16 * w + cx], ref.planes[2][18 * w + cx + dx]) << c;
        EXPECT_EQ(cur.planes[2][31 * w + cx], ref.planes[2][33 * w + cx + dx]) << c;
    }
}

TEST(Prediction, FieldTypesPickFieldLines) {
    TestPicture ref = make_picture(1, true), cur = make_picture(1, false);
    // type 34: bottom reference field into the bottom destination field
    predict_macroblock(portable_kernels(), cur.view(), ref.view(), {34, 0, 0, 0, 16, true, 1});
    EXPECT_EQ(cur.planes[0][17 * 64], ref.planes[0][17 * 64]);
    EXPECT_EQ(cur.planes[0][31 * 64], ref.planes[0][31 * 64]);
    EXPECT_EQ(cur.planes[0][16 * 64], 0);
    // type 18: bottom reference field into the top destination field, averaged
    TestPicture avg = make_picture(1, false);
    avg.planes[0].assign(avg.planes[0].size(), 9);
    predict_macroblock(portable_kernels(), avg.view(), ref.view(), {18, 0, 0, 0, 0, false, 1});
    EXPECT_EQ(avg.planes[0][2 * 64], (ref.planes[0][3 * 64] + 9 + 1) >> 1);
    EXPECT_EQ(avg.planes[0][3 * 64], 9);
}

TEST(Prediction, UnknownTypesDoNothing) {
    TestPicture ref = make_picture(1, true), cur = make_picture(1, false);
    for (int type : {3, 16, 19, 35, 64, -1})
        predict_macroblock(portable_kernels(), cur.view(), ref.view(), {type, 0, 0, 0, 0, true, 1});
    for (const Bytes& plane : cur.planes)
        for (std::uint8_t b : plane) ASSERT_EQ(b, 0);
}

}  // namespace
}  // namespace quarnel
