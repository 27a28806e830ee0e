#pragma once
// The SIMD members of the pixel families (prediction kernels, quantiser-matrix scaling,
// chroma upsampling, RGB24 conversion, YUY2 packing and adjustment), written once over the
// register wrappers of simd_vector.h. Included only by the per-instruction-set sources.
//
// Products by 32-bit coefficients are exact: a coefficient k splits into hi x 65536 + lo with
// both halves signed 16-bit, and a multiply-add of (x1, x2) gives x1 k1 + x2 k2 as
// madd(lo) + (madd(hi) << 16), which is what the portable members compute.

#include "recon/chroma_upsampling_rows.h"
#include "recon/frame_conversion_rows.h"
#include "recon/routine_types.h"
#include "recon/simd_vector.h"

#include <cstdint>

namespace quarnel::simd {

template <class S>
typename S::V widen_lo(typename S::V bytes) {
    return S::unpacklo8(bytes, S::zero());
}
template <class S>
typename S::V widen_hi(typename S::V bytes) {
    return S::unpackhi8(bytes, S::zero());
}

// A dword holding the words a (low) and b (high) in every lane.
template <class S>
typename S::V word_pair(int a, int b) {
    return S::set32(
        static_cast<int>(static_cast<std::uint16_t>(a) |
                         (static_cast<std::uint32_t>(static_cast<std::uint16_t>(b)) << 16)));
}

struct SplitCoefficient {
    int lo, hi;
};
inline SplitCoefficient split(std::int32_t k) {
    const auto hi = static_cast<int>((static_cast<std::int64_t>(k) + 32768) >> 16);
    return {static_cast<int>(k - static_cast<std::int64_t>(hi) * 65536), hi};
}

// x1 k1 + x2 k2 for the word pairs (x1, x2) of `x`, exact in 32 bits.
template <class S>
typename S::V multiply_add(typename S::V x, std::int32_t k1, std::int32_t k2) {
    const SplitCoefficient a = split(k1), b = split(k2);
    return S::add32(S::madd(x, word_pair<S>(a.lo, b.lo)),
                    S::slli32(S::madd(x, word_pair<S>(a.hi, b.hi)), 16));
}

// --- prediction kernels ---------------------------------------------------------------

// Interpolation and averaging in 16-bit lanes: any entry of the kernel table.
template <class S, int Width, bool HalfX, bool HalfY, bool Store>
void kernel_widened(const std::uint8_t* source, std::uint8_t* destination,
                    std::ptrdiff_t source_step, std::ptrdiff_t destination_step, int rows) {
    static_assert(Width % S::bytes == 0);
    using V = typename S::V;
    for (int r = 0; r < rows; ++r, source += source_step, destination += destination_step) {
        for (int c = 0; c < Width; c += S::bytes) {
            const std::uint8_t* s = source + c;
            const V a = S::load(s);
            V lo = widen_lo<S>(a), hi = widen_hi<S>(a);
            auto add = [&](const std::uint8_t* p) {
                const V b = S::load(p);
                lo = S::add16(lo, widen_lo<S>(b));
                hi = S::add16(hi, widen_hi<S>(b));
            };
            if constexpr (HalfX) add(s + 1);
            if constexpr (HalfY) add(s + source_step);
            if constexpr (HalfX && HalfY) add(s + source_step + 1);
            constexpr int taps = 1 + HalfX + HalfY + (HalfX && HalfY);
            if constexpr (taps > 1) {
                constexpr int shift = taps == 4 ? 2 : 1;
                const V rounding = S::set16(taps / 2);
                lo = S::srli16(S::add16(lo, rounding), shift);
                hi = S::srli16(S::add16(hi, rounding), shift);
            }
            if constexpr (!Store) {
                const V p = S::load(destination + c);
                const V one = S::set16(1);
                lo = S::srli16(S::add16(S::add16(lo, widen_lo<S>(p)), one), 1);
                hi = S::srli16(S::add16(S::add16(hi, widen_hi<S>(p)), one), 1);
            }
            S::store(destination + c, S::packus16(lo, hi));
        }
    }
    S::finish();
}

// Byte averaging rounds (a + b + 1) >> 1 exactly, so it serves every entry but the two-way
// half-pel ones.
template <class S, int Width, bool HalfX, bool HalfY, bool Store>
void kernel_averaged(const std::uint8_t* source, std::uint8_t* destination,
                     std::ptrdiff_t source_step, std::ptrdiff_t destination_step, int rows) {
    static_assert(Width % S::bytes == 0 && !(HalfX && HalfY));
    using V = typename S::V;
    for (int r = 0; r < rows; ++r, source += source_step, destination += destination_step) {
        for (int c = 0; c < Width; c += S::bytes) {
            V v = S::load(source + c);
            if constexpr (HalfX) v = S::avg8(v, S::load(source + c + 1));
            if constexpr (HalfY) v = S::avg8(v, S::load(source + c + source_step));
            if constexpr (!Store) v = S::avg8(S::load(destination + c), v);
            S::store(destination + c, v);
        }
    }
    S::finish();
}

// --- quantiser-matrix scaling ---------------------------------------------------------

template <class S>
void scale_quantiser_matrices(std::int16_t* destination, const std::int16_t* source, int factor) {
    const typename S::V f = S::set16(factor);
    for (int k = 0; k < 256; k += S::bytes / 2)
        S::store(destination + k, S::mullo16(S::load(source + k), f));
    S::finish();
}

// --- chroma upsampling ----------------------------------------------------------------

template <class S>
void blend_lines(const UpsampleLines& l, std::ptrdiff_t width) {
    using V = typename S::V;
    const V w0a = S::set16(l.w.first_a), w0b = S::set16(l.w.first_b);
    const V w1a = S::set16(l.w.second_a), w1b = S::set16(l.w.second_b);
    const V four = S::set16(4);
    auto blend = [&](V a, V b, V wa, V wb) {
        auto half = [&](V x, V y) {
            return S::srli16(S::add16(S::add16(S::mullo16(x, wa), S::mullo16(y, wb)), four), 3);
        };
        return S::packus16(half(widen_lo<S>(a), widen_lo<S>(b)),
                           half(widen_hi<S>(a), widen_hi<S>(b)));
    };
    std::ptrdiff_t i = 0;
    for (; i + S::bytes <= width; i += S::bytes) {
        // all four sources first: an output line may be one of them
        const V a0 = S::load(l.a0 + i), b0 = S::load(l.b0 + i);
        const V a1 = S::load(l.a1 + i), b1 = S::load(l.b1 + i);
        S::store(l.out0 + i, blend(a0, b0, w0a, w0b));
        S::store(l.out1 + i, blend(a1, b1, w1a, w1b));
    }
    quarnel::blend_lines(l, i, width);
}

template <class S>
void upsample_chroma(const ChromaFrame& frame, bool interlaced) {
    upsample_both_planes(frame, interlaced,
                         [&](const UpsampleLines& l) { blend_lines<S>(l, frame.line_step); });
    S::finish();
}

// --- RGB24 and YUY2 -------------------------------------------------------------------

template <class S>
void convert_rgb24_422(const PictureView& first, const PictureView& second,
                       const OutputView& output, const ColourParameters& c) {
    using V = typename S::V;
    constexpr int pixels = S::bytes / 2;
    const V offset = S::set16(c.luma_offset), bias = S::set16(128);
    for_each_output_line(first, second, output, c.height, [&](const ConversionLine& l) {
        int x = 0;
        for (; x + pixels <= c.width; x += pixels) {
            const V y = S::sub16(widen_lo<S>(S::load_partial(l.y + x, pixels)), offset);
            const V ub = S::load_partial(l.u + x / 2, pixels / 2);
            const V vb = S::load_partial(l.v + x / 2, pixels / 2);
            const V u = S::sub16(widen_lo<S>(S::unpacklo8(ub, ub)), bias);  // each chroma twice
            const V v = S::sub16(widen_lo<S>(S::unpacklo8(vb, vb)), bias);
            V blue[2], green[2], red[2];
            for (int h = 0; h < 2; ++h) {
                const V yu = h ? S::unpackhi16(y, u) : S::unpacklo16(y, u);
                const V yv = h ? S::unpackhi16(y, v) : S::unpacklo16(y, v);
                const V v0 = h ? S::unpackhi16(v, S::zero()) : S::unpacklo16(v, S::zero());
                blue[h] = S::srai32(multiply_add<S>(yu, c.luma_scale, c.u_to_blue), 16);
                green[h] = S::srai32(S::add32(multiply_add<S>(yu, c.luma_scale, c.u_to_green),
                                              multiply_add<S>(v0, c.v_to_green, 0)),
                                     16);
                red[h] = S::srai32(multiply_add<S>(yv, c.luma_scale, c.v_to_red), 16);
            }
            alignas(16) std::uint8_t bytes[3][S::bytes];
            S::store(bytes[0], S::packus16(S::packs32(blue[0], blue[1]), S::zero()));
            S::store(bytes[1], S::packus16(S::packs32(green[0], green[1]), S::zero()));
            S::store(bytes[2], S::packus16(S::packs32(red[0], red[1]), S::zero()));
            for (int i = 0; i < pixels; ++i)
                for (int k = 0; k < 3; ++k) l.out[3 * (x + i) + k] = bytes[k][i];
        }
        rgb24_pixels_422(l, x, c.width, c);
    });
    S::finish();
}

template <class S>
void pack_yuy2_422(const PictureView& first, const PictureView& second, const OutputView& output,
                   const ColourParameters& c) {
    using V = typename S::V;
    constexpr int pairs = S::bytes / 2;
    for_each_output_line(first, second, output, c.height, [&](const ConversionLine& l) {
        int p = 0;
        for (; p + pairs <= c.width / 2; p += pairs) {
            const V y = S::load(l.y + 2 * p);
            const V uv =
                S::unpacklo8(S::load_partial(l.u + p, pairs), S::load_partial(l.v + p, pairs));
            S::store(l.out + 4 * p, S::unpacklo8(y, uv));
            S::store(l.out + 4 * p + S::bytes, S::unpackhi8(y, uv));
        }
        yuy2_pairs_422(l, p, c.width / 2);
    });
    S::finish();
}

template <class S>
void adjust_yuy2(std::uint8_t* buffer, std::ptrdiff_t line_length, int lines, const Yuy2Record& k) {
    using V = typename S::V;
    constexpr int pairs = S::bytes / 4;  // one pixel pair Y0 U Y1 V per dword
    const V low_bytes = S::set32(0xFF), chroma_bytes = S::set32(0x00FF00FF);
    const V half = S::set32(32768), bias16 = S::set16(128), bias32 = S::set32(128);
    auto mix = [&](V uv, std::int32_t ku, std::int32_t kv) {
        return S::srai32(S::add32(multiply_add<S>(uv, ku, kv), half), 16);
    };
    for_each_yuy2_line(buffer, line_length, lines, [&](std::uint8_t* line, int count) {
        int p = 0;
        for (; p + pairs <= count; p += pairs) {
            const V x = S::load(line + 4 * p);
            const V uv = S::sub16(S::and_(S::srli32(x, 8), chroma_bytes), bias16);
            const V d = mix(uv, k[0], k[1]);
            const V y0 = S::add32(S::and_(x, low_bytes), d);
            const V y1 = S::add32(S::and_(S::srli32(x, 16), low_bytes), d);
            const V u = S::add32(mix(uv, k[2], k[3]), bias32);
            const V v = S::add32(mix(uv, k[4], k[5]), bias32);
            const V yy = S::packs32(y0, y1), uu_vv = S::packs32(u, v);
            const V y0u = S::unpacklo16(yy, uu_vv), y1v = S::unpackhi16(yy, uu_vv);
            S::store(line + 4 * p, S::packus16(S::unpacklo32(y0u, y1v), S::unpackhi32(y0u, y1v)));
        }
        for (; p < count; ++p) yuy2_adjust_pair(line + 4 * p, k);
    });
    S::finish();
}

}  // namespace quarnel::simd
