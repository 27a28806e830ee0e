#pragma once
// What the header's video and audio fields become for what the analyser found in a stream.
// Plain values in, header fields out, so each rule is checked without a stream.

#include <cstdint>
#include <optional>

#include "mtv/mtv_header.h"

namespace quarnel {

// The parts of the first sequence header and the picture after it that the header uses.
struct VideoFacts {
    std::int32_t horizontal_size = 0;
    std::int32_t vertical_size = 0;
    std::int32_t aspect_ratio_information = 0;
    std::int32_t bit_rate = 0;  // units of 400 bit/s, with the MPEG-2 extension bits
    std::int32_t vbv_delay = 0;
};

struct AudioFacts {
    std::int32_t bit_rate = 0;       // bit/s of the chosen stream's frame headers
    std::int32_t sampling_rate = 0;  // Hz
};

// The position of a picture size in the resolution list of `video_system`; nothing when the
// list does not have it.
std::optional<std::uint8_t> resolution_position(std::uint8_t video_system, std::int32_t width,
                                                std::int32_t height);

// The video system and resolution position of a picture size. The NTSC list is searched
// first and the PAL list after it, so a size in both would be PAL; a size in neither gives
// NTSC at position 0 (720x480).
struct ResolutionChoice {
    std::uint8_t video_system = 0;
    std::uint8_t resolution_index = 0;
    bool listed = false;  // whether the size is in either list

    bool operator==(const ResolutionChoice&) const = default;
};
ResolutionChoice choose_resolution(std::int32_t width, std::int32_t height);

// The sequence header's bit rate in bit/s: bit_rate x 400 (ISO/IEC 13818-2, 6.3.3), held at
// the 32-bit limit of the header field. The MPEG-1 variable-rate marker 0x3FFFF
// (ISO/IEC 11172-2, 2.4.3.2) is not told apart: it gives 104857200 bit/s, the largest rate
// an MPEG-1 sequence header can state.
std::int32_t video_bit_rate_bps(std::int32_t bit_rate_value);

// The first audio bit-rate list position, skipping "unknown", whose kbit/s number is at least
// bit_rate / 1024; nothing when every listed rate is below it.
std::optional<std::uint8_t> audio_bit_rate_position(std::int32_t bit_rate);

// The position of the sampling frequency list entry that reads as `rate` in decimal; nothing
// for a rate that is not listed (22050 Hz, for example).
std::optional<std::uint8_t> sampling_position(std::int32_t rate);

// Rate control (VBR when vbv_delay is 0xFFFF), bit rate, video system, resolution and aspect
// (16:9 for aspect_ratio_information 3, else 4:3).
void derive_video_fields(MtvHeader& header, const VideoFacts& video);

// Audio bit-rate and sampling positions, each left as it was when nothing fits; the AC-3
// mark is the user's choice and never derived.
void derive_audio_fields(MtvHeader& header, const AudioFacts& audio);

}  // namespace quarnel
