#pragma once
// Output of decoded pictures: RGB24 conversion, YUY2 packing and the YUY2 colour-matrix
// adjustment. The pictures are 4:2:2 (after chroma upsampling) or 4:4:4; output line L
// is line L of `first` when L is even and of `second` when it is odd.

#include "recon/routine_types.h"
#include "recon/simd_support.h"

namespace quarnel {

// Y' = (Y - luma offset) x luma scale; blue = (Y' + (U - 128) x U-to-blue) >> 16,
// green = (Y' + (U - 128) x U-to-green + (V - 128) x V-to-green) >> 16,
// red = (Y' + (V - 128) x V-to-red) >> 16, clamped to 0 .. 255, stored blue, green, red.
void convert_rgb24_422(const PictureView& first, const PictureView& second,
                       const OutputView& output, const ColourParameters& colour);
void convert_rgb24_444(const PictureView& first, const PictureView& second,
                       const OutputView& output, const ColourParameters& colour);

// Y0 U Y1 V per pixel pair; an odd last pixel is dropped. 4:4:4 pictures give each pair the
// chroma of its first pixel, which sits where 4:2:2 chroma is sited.
void pack_yuy2_422(const PictureView& first, const PictureView& second, const OutputView& output,
                   const ColourParameters& colour);
void pack_yuy2_444(const PictureView& first, const PictureView& second, const OutputView& output,
                   const ColourParameters& colour);

// Per pixel pair, u = U - 128 and v = V - 128: both Y += (k0 u + k1 v + 32768) >> 16,
// U = ((k2 u + k3 v + 32768) >> 16) + 128, V = ((k4 u + k5 v + 32768) >> 16) + 128, all
// clamped to 0 .. 255. A line holds |line_length| / 4 pairs.
void adjust_yuy2(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines, const Yuy2Record& k);
// For streams whose matrix needs no conversion.
void adjust_yuy2_none(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines,
                      const Yuy2Record& k);

#if QUARNEL_RECON_MMX
void convert_rgb24_422_mmx(const PictureView& first, const PictureView& second,
                           const OutputView& output, const ColourParameters& colour);
void pack_yuy2_422_mmx(const PictureView& first, const PictureView& second,
                       const OutputView& output, const ColourParameters& colour);
void adjust_yuy2_mmx(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines,
                     const Yuy2Record& k);
#endif
#if QUARNEL_RECON_SSE2
void convert_rgb24_422_sse2(const PictureView& first, const PictureView& second,
                            const OutputView& output, const ColourParameters& colour);
void pack_yuy2_422_sse2(const PictureView& first, const PictureView& second,
                        const OutputView& output, const ColourParameters& colour);
void adjust_yuy2_sse2(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines,
                      const Yuy2Record& k);
#endif

}  // namespace quarnel
