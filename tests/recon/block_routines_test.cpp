#include "recon/block_routines.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace quarnel {
namespace {

struct Planes {
    std::vector<std::uint8_t> y = std::vector<std::uint8_t>(64 * 64, 100);
    std::vector<std::uint8_t> cb = std::vector<std::uint8_t>(64 * 64, 100);
    std::vector<std::uint8_t> cr = std::vector<std::uint8_t>(64 * 64, 100);
    PictureView view() { return {{y.data(), cb.data(), cr.data()}, 64, 64}; }
};

std::ptrdiff_t offset_in(const Planes& p, const BlockPlace& place, int plane) {
    const std::uint8_t* base = plane == 0 ? p.y.data() : plane == 1 ? p.cb.data() : p.cr.data();
    return place.origin - base;
}

TEST(BlockPlace, LumaAndChromaBlocksOfEachChromaFormat) {
    Planes p;
    const PictureView v = p.view();
    MacroblockContext mb;
    // 4:2:0: block 3 is the lower right luma block, 5 the whole Cr block at half position
    EXPECT_EQ(offset_in(p, block_place(v, mb, 16, 32, 3), 0), 40 * 64 + 24);
    EXPECT_EQ(offset_in(p, block_place(v, mb, 16, 32, 5), 2), 16 * 64 + 8);
    // 4:2:2: block 6 is the lower Cb block
    mb.chroma_format = 2;
    EXPECT_EQ(offset_in(p, block_place(v, mb, 16, 32, 6), 1), 40 * 64 + 8);
    // 4:4:4: block 8 is the upper right Cb block, 11 the lower right Cr block
    mb.chroma_format = 3;
    EXPECT_EQ(offset_in(p, block_place(v, mb, 16, 32, 8), 1), 32 * 64 + 24);
    EXPECT_EQ(offset_in(p, block_place(v, mb, 16, 32, 11), 2), 40 * 64 + 24);
}

TEST(BlockPlace, FieldDctInterleavesLinesExceptFor420Chroma) {
    Planes p;
    const PictureView v = p.view();
    MacroblockContext mb{false, true, 1};
    const BlockPlace bottom = block_place(v, mb, 0, 16, 2);
    EXPECT_EQ(offset_in(p, bottom, 0), 17 * 64);
    EXPECT_EQ(bottom.step, 128);
    EXPECT_EQ(block_place(v, mb, 0, 16, 4).step, 64);
    mb.chroma_format = 2;
    const BlockPlace chroma = block_place(v, mb, 0, 16, 6);
    EXPECT_EQ(offset_in(p, chroma, 1), 17 * 64);
    EXPECT_EQ(chroma.step, 128);
}

using Store = void (*)(const std::int16_t*, const PictureView&, const MacroblockContext&, int, int,
                       int);

std::vector<Store> stores() {
#if QUARNEL_RECON_MMX
    return {store_block, store_block_mmx};
#else
    return {store_block};
#endif
}

TEST(BlockStore, ClampsIntraSamplesAndPredictionSums) {
    std::array<std::int16_t, 64> block{};
    block[0] = -5;
    block[1] = 300;
    block[2] = 77;
    block[3] = 32767;  // far outside any transform's range
    block[4] = -32768;
    for (Store store : stores()) {
        Planes p;
        store(block.data(), p.view(), {true, false, 1}, 0, 0, 0);
        EXPECT_EQ(p.y[0], 0);
        EXPECT_EQ(p.y[1], 255);
        EXPECT_EQ(p.y[2], 77);
        EXPECT_EQ(p.y[3], 255);
        EXPECT_EQ(p.y[4], 0);
        EXPECT_EQ(p.y[5], 0);
        store(block.data(), p.view(), {false, false, 1}, 0, 8, 0);  // prediction 100
        EXPECT_EQ(p.y[8 * 64 + 0], 95);
        EXPECT_EQ(p.y[8 * 64 + 1], 255);
        EXPECT_EQ(p.y[8 * 64 + 2], 177);
        EXPECT_EQ(p.y[8 * 64 + 4], 0);
        EXPECT_EQ(p.y[8 * 64 + 5], 100);
        EXPECT_EQ(p.y[8 * 64 + 8], 100);  // nothing beside the block
    }
}

TEST(BlockStore, BlockNumbersBeyondTheChromaFormatStoreNothing) {
    std::array<std::int16_t, 64> block{};
    for (Store store : stores()) {
        Planes p;
        for (int n : {-1, 6, 11, 12}) store(block.data(), p.view(), {true, false, 1}, 16, 16, n);
        store(block.data(), p.view(), {true, false, 3}, 16, 16, 12);
        EXPECT_EQ(p.y, Planes{}.y);
        EXPECT_EQ(p.cb, Planes{}.cb);
        EXPECT_EQ(p.cr, Planes{}.cr);
    }
}

TEST(BlockStore, SimdMemberMatchesThePortableOneOnRandomBlocks) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> sample(-400, 400);
    for (int chroma_format = 1; chroma_format <= 3; ++chroma_format)
        for (int block_number = 0; block_number < 4 + 2 * (1 << (chroma_format - 1));
             ++block_number)
            for (int kind = 0; kind < 4; ++kind) {
                std::array<std::int16_t, 64> block{};
                for (auto& v : block) v = static_cast<std::int16_t>(sample(rng));
                const MacroblockContext mb{kind % 2 == 0, kind >= 2, chroma_format};
                Planes reference;
                for (auto* plane : {&reference.y, &reference.cb, &reference.cr})
                    for (auto& b : *plane) b = static_cast<std::uint8_t>(rng());
                Planes expected = reference;
                store_block(block.data(), expected.view(), mb, 16, 16, block_number);
                for (Store store : stores()) {
                    Planes p = reference;
                    store(block.data(), p.view(), mb, 16, 16, block_number);
                    ASSERT_EQ(p.y, expected.y);
                    ASSERT_EQ(p.cb, expected.cb);
                    ASSERT_EQ(p.cr, expected.cr);
                }
            }
}

TEST(QuantiserScaling, KeepsTheLowSixteenBitsInEveryMember) {
    std::array<std::int16_t, 256> source{}, expected{};
    for (int k = 0; k < 256; ++k) source[k] = static_cast<std::int16_t>(k * 37 - 4000);
    std::vector<QuantiserScalingRoutine> members{scale_quantiser_matrices};
#if QUARNEL_RECON_MMX
    members.push_back(scale_quantiser_matrices_mmx);
#endif
#if QUARNEL_RECON_SSE2
    members.push_back(scale_quantiser_matrices_sse2);
#endif
    for (int factor : {1, 31, 112, 70000}) {
        for (int k = 0; k < 256; ++k)
            expected[k] = static_cast<std::int16_t>(static_cast<std::uint32_t>(source[k]) *
                                                    static_cast<std::uint32_t>(factor));
        for (auto member : members) {
            std::array<std::int16_t, 256> out{};
            member(out.data(), source.data(), factor);
            EXPECT_EQ(out, expected) << factor;
        }
    }
    std::array<std::int16_t, 256> out{};
    scale_quantiser_matrices(out.data(), source.data(), 112);
    EXPECT_EQ(out[255], 18896);  // 5435 x 112 = 608720 = 9 x 65536 + 18896
}

}  // namespace
}  // namespace quarnel
