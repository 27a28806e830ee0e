#pragma once
// Plain views of the buffers the reconstruction routines work on. None of them owns memory;
// the routines trust the caller to pass planes large enough for the area they touch.

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarnel {

// A picture of three planes (Y, Cb, Cr). Steps are in bytes and may be negative.
struct PictureView {
    std::array<std::uint8_t*, 3> plane{};
    std::ptrdiff_t luma_step = 0;
    std::ptrdiff_t chroma_step = 0;
};

// The chroma planes of a 4:2:0 frame, upsampled in place to 4:2:2. `height` is the luma
// height (the output line count); the source occupies the first height / 2 lines; every
// line is `line_step` bytes wide.
struct ChromaFrame {
    int height = 0;
    std::ptrdiff_t line_step = 0;
    std::uint8_t* cb = nullptr;
    std::uint8_t* cr = nullptr;
};

// Colour conversion parameters of a video source, in their stored order: picture size, luma
// range and the conversion coefficients (16.16) of its colour matrix.
struct ColourParameters {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t coded_width = 0;
    std::int32_t reserved = 0;
    std::int32_t chroma_line_width = 0;
    std::int32_t luma_offset = 0;
    std::int32_t luma_scale = 65536;
    std::int32_t u_to_blue = 0;
    std::int32_t u_to_green = 0;
    std::int32_t v_to_green = 0;
    std::int32_t v_to_red = 0;
};

// An output frame of packed pixels; `line_step` may be negative for bottom-up buffers.
struct OutputView {
    std::uint8_t* data = nullptr;
    std::ptrdiff_t line_step = 0;
};

// What the block store needs to know about the macroblock being reconstructed.
struct MacroblockContext {
    bool intra = false;
    bool field_dct = false;  // dct_type 1: luma blocks hold alternate lines
    int chroma_format = 1;   // 1 = 4:2:0, 2 = 4:2:2, 3 = 4:4:4
};

}  // namespace quarnel
