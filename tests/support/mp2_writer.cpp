#include "support/mp2_writer.h"

#include <algorithm>
#include <array>

namespace quarnel::test {
namespace {

constexpr std::array<std::int32_t, 15> bit_rates = {0,      32000,  48000,  56000,  64000,
                                                    80000,  96000,  112000, 128000, 160000,
                                                    192000, 224000, 256000, 320000, 384000};

std::uint32_t bit_rate_index(std::int32_t bit_rate) {
    const auto* hit = std::find(bit_rates.begin(), bit_rates.end(), bit_rate);
    return static_cast<std::uint32_t>(hit == bit_rates.end() ? 0 : hit - bit_rates.begin());
}

std::uint32_t sampling_index(std::int32_t rate) {
    if (rate == 44100) return 0;
    if (rate == 48000) return 1;
    return 2;
}

}  // namespace

std::uint32_t mp2_header_word(const Mp2Format& format, bool padding) {
    return 0xFFF00000u | (1u << 19) | (0b10u << 17) | ((format.crc ? 0u : 1u) << 16) |
           (bit_rate_index(format.bit_rate) << 12) | (sampling_index(format.sampling_rate) << 10) |
           ((padding ? 1u : 0u) << 9) | (static_cast<std::uint32_t>(format.mode) << 6) |
           ((format.mode_extension & 3u) << 4);
}

std::int32_t mp2_frame_length(const Mp2Format& format, bool padding) {
    return (padding ? 1 : 0) + format.bit_rate * 144 / format.sampling_rate;
}

std::vector<std::uint8_t> mp2_frames(const Mp2Format& format, int count) {
    std::vector<std::uint8_t> out;
    // The remainder of bit_rate * 144 / sampling_rate, accumulated over the frames,
    // tells when a padding byte is due.
    const std::int64_t remainder = std::int64_t{format.bit_rate} * 144 % format.sampling_rate;
    std::int64_t carried = 0;
    for (int i = 0; i < count; ++i) {
        carried += remainder;
        const bool padding = carried >= format.sampling_rate;
        if (padding) carried -= format.sampling_rate;
        const std::uint32_t word = mp2_header_word(format, padding);
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(mp2_frame_length(format, padding)), 0);
        for (int b = 0; b < 4; ++b)
            out[start + static_cast<std::size_t>(b)] =
                static_cast<std::uint8_t>(word >> (24 - 8 * b));
    }
    return out;
}

}  // namespace quarnel::test
