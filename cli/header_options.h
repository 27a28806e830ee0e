#pragma once
// The values convert can set by hand, and how each option's text reads. An option that is
// given wins over what the stream analysis derived.

#include <cstdint>
#include <optional>
#include <string_view>

#include "mtv/header_derivation.h"
#include "mtv/header_lists.h"
#include "mtv/mtv_header.h"

namespace quarnel::cli {

struct HeaderOptions {
    std::optional<std::uint8_t> video_system;  // 0 NTSC, 1 PAL
    std::optional<Resolution> resolution;
    std::optional<std::uint8_t> rate_control;  // 0 CBR, 1 VBR
    std::optional<std::int32_t> video_bit_rate;
    std::optional<std::uint8_t> aspect;  // 0 4:3, 1 16:9
    std::optional<std::uint8_t> audio_bit_rate_index;
    std::optional<std::uint8_t> sampling_index;
    bool ac3 = false;
};

// "ntsc" or "pal", any case.
std::optional<std::uint8_t> parse_video_system(std::string_view text);
// "WxH" with decimal numbers, "720x576".
std::optional<Resolution> parse_resolution(std::string_view text);
// "cbr" or "vbr", any case.
std::optional<std::uint8_t> parse_rate_control(std::string_view text);
// A positive decimal bit/s that fits the header's 32-bit field.
std::optional<std::int32_t> parse_video_bit_rate(std::string_view text);
// "4:3" or "16:9".
std::optional<std::uint8_t> parse_aspect(std::string_view text);
// A kbit/s number of the audio bit-rate list, or "unknown": its position in the list.
std::optional<std::uint8_t> parse_audio_bit_rate(std::string_view text);
// A sampling frequency of the list in Hz: its position.
std::optional<std::uint8_t> parse_sampling(std::string_view text);

// Where `options` place their picture size: in the list of the video system they name, else
// in whichever list has it. Nothing without a size or when that list lacks it.
std::optional<ResolutionChoice> chosen_resolution(const HeaderOptions& options);

// Stores every value `options` give, and the AC-3 mark (set or cleared) always. A video
// system chosen without a size keeps the resolution position when the system's list has it,
// else takes position 0, as clicking the system's button in the dialog does.
void apply_header_options(MtvHeader& header, const HeaderOptions& options);

}  // namespace quarnel::cli
