#include "recon/frame_conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Matrix 0 (ITU-R BT.601) with the 16 .. 235 luma range stretched.
ColourParameters bt601(int width, int height) {
    ColourParameters c;
    c.width = width;
    c.height = height;
    c.luma_offset = 16;
    c.luma_scale = 76309;
    c.u_to_blue = 132201;
    c.u_to_green = -25675;
    c.v_to_green = -53279;
    c.v_to_red = 104597;
    return c;
}

struct Picture {
    Bytes y, u, v;
    PictureView view(int width, int chroma_width) {
        return {{y.data(), u.data(), v.data()}, width, chroma_width};
    }
};

Picture random_picture(int width, int chroma_width, int height, std::mt19937& rng) {
    Picture p{Bytes(static_cast<std::size_t>(width * height)),
              Bytes(static_cast<std::size_t>(chroma_width * height)),
              Bytes(static_cast<std::size_t>(chroma_width * height))};
    for (Bytes* b : {&p.y, &p.u, &p.v})
        for (auto& x : *b) x = static_cast<std::uint8_t>(rng());
    return p;
}

Picture flat_picture(int width, int chroma_width, int height, int y, int u, int v) {
    return {Bytes(static_cast<std::size_t>(width * height), static_cast<std::uint8_t>(y)),
            Bytes(static_cast<std::size_t>(chroma_width * height), static_cast<std::uint8_t>(u)),
            Bytes(static_cast<std::size_t>(chroma_width * height), static_cast<std::uint8_t>(v))};
}

TEST(Rgb24Conversion, ConvertsKnownColoursAndAlternatesPictures) {
    Picture white = flat_picture(4, 2, 2, 235, 128, 128);
    Picture red = flat_picture(4, 2, 2, 81, 90, 240);  // BT.601 red
    Bytes out(4 * 3 * 2);
    convert_rgb24_422(white.view(4, 2), red.view(4, 2), {out.data(), 12}, bt601(4, 2));
    // blue, green, red of line 0 from the first picture; 219 x 76309 falls just short of 255
    EXPECT_EQ(out[0], 254);
    EXPECT_EQ(out[1], 254);
    EXPECT_EQ(out[2], 254);
    EXPECT_EQ(out[12], 0);  // line 1 from the second picture
    EXPECT_EQ(out[13], 0);
    EXPECT_EQ(out[14], 254);
}

TEST(Rgb24Conversion, PairsShareChromaExceptIn444) {
    Picture p = flat_picture(2, 2, 1, 128, 128, 128);
    p.u = {128, 255};
    Bytes out422(6), out444(6);
    const ColourParameters c = bt601(2, 1);
    convert_rgb24_422(p.view(2, 1), p.view(2, 1), {out422.data(), 6}, c);
    convert_rgb24_444(p.view(2, 2), p.view(2, 2), {out444.data(), 6}, c);
    EXPECT_EQ(out422[0], out422[3]);
    EXPECT_NE(out444[0], out444[3]);
    EXPECT_EQ(out444[0], out422[0]);
}

TEST(Yuy2Packing, InterleavesLumaAndChroma) {
    // two lines each; line 1 of the output is line 1 of the second picture
    Picture a{{1, 2, 3, 4, 5, 0, 0, 0, 0, 0}, {10, 11, 12, 0, 0, 0}, {20, 21, 22, 0, 0, 0}};
    Picture b{{0, 0, 0, 0, 0, 6, 7, 8, 9, 0}, {0, 0, 0, 13, 14, 15}, {0, 0, 0, 23, 24, 25}};
    Bytes out(2 * 8, 0xEE);
    pack_yuy2_422(a.view(5, 3), b.view(5, 3), {out.data(), 8}, bt601(5, 2));
    // the odd fifth pixel is dropped
    EXPECT_EQ(out, (Bytes{1, 10, 2, 20, 3, 11, 4, 21, 6, 13, 7, 23, 8, 14, 9, 24}));
    Picture full{{1, 2, 3, 4}, {10, 11, 12, 13}, {20, 21, 22, 23}};
    Bytes out444(8);
    pack_yuy2_444(full.view(4, 4), full.view(4, 4), {out444.data(), 8}, bt601(4, 1));
    EXPECT_EQ(out444, (Bytes{1, 10, 2, 20, 3, 12, 4, 22}));
}

// BT.709 to BT.601 remix record.
constexpr Yuy2Record to_bt601{-7762, -13957, 66759, 7521, 4928, 67199};

TEST(Yuy2Adjustment, AppliesTheRecordPerPixelPair) {
    Bytes line{100, 128, 200, 128, 16, 0, 235, 255};
    adjust_yuy2(line.data(), 8, 1, to_bt601);
    EXPECT_EQ(line[0], 100);  // neutral chroma stays neutral
    EXPECT_EQ(line[1], 128);
    const int u = -128, v = 127;
    const int d = (-7762 * u - 13957 * v + 32768) >> 16;
    EXPECT_EQ(line[4], 16 + d);
    EXPECT_EQ(line[5], ((66759 * u + 7521 * v + 32768) >> 16) + 128);
    EXPECT_EQ(line[6], std::min(255, 235 + d));
    EXPECT_EQ(line[7], ((4928 * u + 67199 * v + 32768) >> 16) + 128);
}

TEST(Yuy2Adjustment, NegativeLineLengthWalksUpAndNoneLeavesTheBuffer) {
    Bytes buffer{50, 0, 50, 0, 60, 0, 60, 0};  // two lines of one pair each
    adjust_yuy2(buffer.data() + 4, -4, 2, to_bt601);
    EXPECT_NE(buffer[0], 50);
    EXPECT_NE(buffer[4], 60);
    Bytes copy = buffer;
    adjust_yuy2_none(copy.data(), 4, 2, to_bt601);
    EXPECT_EQ(copy, buffer);
}

using Conversion = FrameConversionRoutine;

struct SimdPair {
    const char* name;
    Conversion portable, simd;
};

TEST(FrameConversionSimd, MembersMatchThePortableOnesExactly) {
    std::vector<SimdPair> pairs;
    std::vector<Yuy2AdjustmentRoutine> adjustments;
#if QUARNEL_RECON_MMX
    pairs.push_back({"rgb24 mmx", convert_rgb24_422, convert_rgb24_422_mmx});
    pairs.push_back({"yuy2 mmx", pack_yuy2_422, pack_yuy2_422_mmx});
    adjustments.push_back(adjust_yuy2_mmx);
#endif
#if QUARNEL_RECON_SSE2
    pairs.push_back({"rgb24 sse2", convert_rgb24_422, convert_rgb24_422_sse2});
    pairs.push_back({"yuy2 sse2", pack_yuy2_422, pack_yuy2_422_sse2});
    adjustments.push_back(adjust_yuy2_sse2);
#endif
    std::mt19937 rng(5);
    const ColourParameters bt709{0, 0, 0, 0, 0, 16, 76309, 138453, -13954, -34903, 117504};
    const ColourParameters levels{0, 0, 0, 0, 0, 0, 65536, 116129, -22553, -46801, 91881};
    for (int width : {16, 30, 45}) {
        const int height = 3, chroma_width = (width + 1) / 2;
        Picture a = random_picture(width, chroma_width, height, rng);
        Picture b = random_picture(width, chroma_width, height, rng);
        for (ColourParameters c : {bt601(width, height), bt709, levels}) {
            c.width = width;
            c.height = height;
            for (const SimdPair& p : pairs) {
                Bytes expected(static_cast<std::size_t>(width * 3 * height)), out(expected.size());
                p.portable(a.view(width, chroma_width), b.view(width, chroma_width),
                           {expected.data(), width * 3}, c);
                p.simd(a.view(width, chroma_width), b.view(width, chroma_width),
                       {out.data(), width * 3}, c);
                EXPECT_EQ(out, expected) << p.name << " width " << width;
            }
        }
        Bytes yuy2(static_cast<std::size_t>(width / 2 * 4 * height));
        for (auto& x : yuy2) x = static_cast<std::uint8_t>(rng());
        for (const Yuy2Record& k :
             {to_bt601, Yuy2Record{6670, 12865, 64871, -7260, -4757, 64447}}) {
            Bytes expected = yuy2;
            adjust_yuy2(expected.data(), width / 2 * 4, height, k);
            for (auto adjust : adjustments) {
                Bytes out = yuy2;
                adjust(out.data(), width / 2 * 4, height, k);
                EXPECT_EQ(out, expected) << "width " << width;
            }
        }
    }
}

}  // namespace
}  // namespace quarnel
