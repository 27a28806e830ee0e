#include "recon/block_routines.h"
#include "recon/chroma_upsampling.h"
#include "recon/frame_conversion.h"

#if QUARNEL_RECON_SSE2
#include "recon/pixels_simd.h"

namespace quarnel {

using simd::Sse2;

void scale_quantiser_matrices_sse2(std::int16_t* destination, const std::int16_t* source,
                                   int factor) {
    simd::scale_quantiser_matrices<Sse2>(destination, source, factor);
}

void upsample_chroma_progressive_sse2(const ChromaFrame& frame) {
    simd::upsample_chroma<Sse2>(frame, false);
}
void upsample_chroma_interlaced_sse2(const ChromaFrame& frame) {
    simd::upsample_chroma<Sse2>(frame, true);
}

void convert_rgb24_422_sse2(const PictureView& first, const PictureView& second,
                            const OutputView& output, const ColourParameters& colour) {
    simd::convert_rgb24_422<Sse2>(first, second, output, colour);
}

void pack_yuy2_422_sse2(const PictureView& first, const PictureView& second,
                        const OutputView& output, const ColourParameters& colour) {
    simd::pack_yuy2_422<Sse2>(first, second, output, colour);
}

void adjust_yuy2_sse2(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines,
                      const Yuy2Record& k) {
    simd::adjust_yuy2<Sse2>(buffer, line_length, lines, k);
}

}  // namespace quarnel
#endif
