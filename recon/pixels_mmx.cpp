#include "recon/block_routines.h"
#include "recon/chroma_upsampling.h"
#include "recon/frame_conversion.h"

#if QUARNEL_RECON_MMX
#include "recon/pixels_simd.h"

namespace quarnel {

using simd::Mmx;

// Saturating word addition and unsigned byte packing clamp exactly as the byte table does.
void store_block_mmx(const std::int16_t* block, const PictureView& picture,
                     const MacroblockContext& macroblock, int x, int y, int block_number) {
    if (!block_in_macroblock(macroblock, block_number)) return;
    const BlockPlace place = block_place(picture, macroblock, x, y, block_number);
    for (int r = 0; r < 8; ++r) {
        std::uint8_t* line = place.origin + r * place.step;
        __m64 lo = Mmx::load(block + 8 * r), hi = Mmx::load(block + 8 * r + 4);
        if (!macroblock.intra) {
            const __m64 prediction = Mmx::load(line);
            lo = Mmx::adds16(lo, simd::widen_lo<Mmx>(prediction));
            hi = Mmx::adds16(hi, simd::widen_hi<Mmx>(prediction));
        }
        Mmx::store(line, Mmx::packus16(lo, hi));
    }
    Mmx::finish();
}

void scale_quantiser_matrices_mmx(std::int16_t* destination, const std::int16_t* source,
                                  int factor) {
    simd::scale_quantiser_matrices<Mmx>(destination, source, factor);
}

void upsample_chroma_progressive_mmx(const ChromaFrame& frame) {
    simd::upsample_chroma<Mmx>(frame, false);
}
void upsample_chroma_interlaced_mmx(const ChromaFrame& frame) {
    simd::upsample_chroma<Mmx>(frame, true);
}

void convert_rgb24_422_mmx(const PictureView& first, const PictureView& second,
                           const OutputView& output, const ColourParameters& colour) {
    simd::convert_rgb24_422<Mmx>(first, second, output, colour);
}

void pack_yuy2_422_mmx(const PictureView& first, const PictureView& second,
                       const OutputView& output, const ColourParameters& colour) {
    simd::pack_yuy2_422<Mmx>(first, second, output, colour);
}

void adjust_yuy2_mmx(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines,
                     const Yuy2Record& k) {
    simd::adjust_yuy2<Mmx>(buffer, line_length, lines, k);
}

}  // namespace quarnel
#endif
