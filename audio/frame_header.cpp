#include "audio/frame_header.h"

#include <algorithm>
#include <array>

namespace quarnel {
namespace {

// ISO/IEC 11172-3, 2.4.2.3: bitrate_index for Layer II, in bit/s. Index 0 (free format) and
// 15 (forbidden) are marked so that they are rejected.
constexpr std::array<std::int32_t, 16> layer2_bit_rates = {
    -1,     32000,  48000,  56000,  64000,  80000,  96000,  112000,
    128000, 160000, 192000, 224000, 256000, 320000, 384000, 0};

// sampling_frequency, in Hz; index 3 is reserved.
constexpr std::array<std::int32_t, 4> sampling_rates = {44100, 48000, 32000, 0};

constexpr std::uint32_t bits(std::uint32_t word, int high, int low) {
    return (word >> low) & ((1u << (high - low + 1)) - 1);
}

// Layer II allocation tables (ISO/IEC 11172-3, Annex B, Table 3-B.2): which one applies,
// and with it how many sub-bands are coded, follows from the bit rate per channel.
std::int32_t sub_band_limit(std::int32_t rate_per_channel, std::int32_t sampling_rate) {
    if (rate_per_channel < 56000) return sampling_rate == 32000 ? 12 : 8;
    if (rate_per_channel < 96000) return 27;
    return sampling_rate == 48000 ? 27 : 30;
}

// The sampling_frequency and mode fields of a header word.
constexpr std::uint32_t format_fields = 0x00000CC0;

bool reject(AudioFrameHeader& header) {
    header = AudioFrameHeader{};
    return false;
}

}  // namespace

bool parse_audio_header(std::uint32_t word, AudioFrameHeader& header) {
    header = AudioFrameHeader{};
    if (bits(word, 31, 20) != 0xFFF) return reject(header);
    if (bits(word, 19, 19) != 1) return reject(header);  // ID 0: not MPEG-1
    header.version = 1;
    if (bits(word, 18, 17) != 0b10) return reject(header);
    header.layer = 2;
    header.crc_protected = bits(word, 16, 16) == 0 ? 1 : 0;
    header.bit_rate = layer2_bit_rates[bits(word, 15, 12)];
    if (header.bit_rate < 1) return reject(header);
    header.sampling_rate = sampling_rates[bits(word, 11, 10)];
    if (header.sampling_rate == 0) return reject(header);
    header.padding = static_cast<std::int32_t>(bits(word, 9, 9));

    const std::uint32_t mode = bits(word, 7, 6);
    header.channels = mode == 0b11 ? 1 : 2;
    header.bound = mode == 0b01 ? static_cast<std::int32_t>(bits(word, 5, 4)) * 4 + 4 : 32;
    header.emphasis = static_cast<std::int32_t>(bits(word, 1, 0));

    // Layer II allows only some bit rate and mode pairs (ISO/IEC 11172-3, 2.4.2.3).
    const std::int32_t per_channel = header.channels == 2 ? header.bit_rate / 2 : header.bit_rate;
    if (header.channels == 2 && per_channel < 32000) return reject(header);
    if (header.channels == 1 && header.bit_rate > 192000) return reject(header);

    header.sub_band_limit = sub_band_limit(per_channel, header.sampling_rate);
    header.bound = std::min(header.bound, header.sub_band_limit);
    header.frame_length = header.padding + header.bit_rate * 144 / header.sampling_rate;
    return true;
}

std::optional<AudioFrameHeader> find_confirming_run(std::span<const std::uint8_t> data) {
    AudioFrameHeader first;
    AudioFrameHeader next;
    for (std::size_t p = 0; p + 4 <= data.size(); ++p) {
        if (!is_frame_sync(&data[p])) continue;
        const std::uint32_t word = read_header_word(&data[p]);
        if (!parse_audio_header(word, first)) continue;
        // Every parsed header is Layer II: agreeing in layer comes with parsing.
        std::size_t q = p + static_cast<std::size_t>(first.frame_length);
        for (int frames = 1; q + 4 <= data.size() && is_frame_sync(&data[q]); ++frames) {
            const std::uint32_t following = read_header_word(&data[q]);
            if (((following ^ word) & format_fields) != 0 || !parse_audio_header(following, next))
                break;
            if (frames + 1 == confirming_run_frames) return first;
            q += static_cast<std::size_t>(next.frame_length);
        }
    }
    return std::nullopt;
}

FrameChain walk_frame_chain(std::span<const std::uint8_t> data) {
    FrameChain chain;
    if (data.size() < 4) return chain;
    const std::size_t limit = data.size() - 3;
    AudioFrameHeader header;
    for (std::size_t p = 0; p < limit;) {
        if (is_frame_sync(&data[p]) && parse_audio_header(read_header_word(&data[p]), header)) {
            const std::size_t q = p + static_cast<std::size_t>(header.frame_length);
            if (q >= limit) {
                chain.cut_short = true;
                break;
            }
            if (is_frame_sync(&data[q])) {
                ++chain.links;
                p = q;
                continue;
            }
        }
        ++p;
    }
    return chain;
}

int count_frames_in_payload(std::span<const std::uint8_t> payload) {
    // The frame the walk stopped on has its successor beyond the payload: it counts too.
    const FrameChain chain = walk_frame_chain(payload);
    return chain.links + (chain.cut_short ? 1 : 0);
}

std::int64_t stamp_difference(std::int64_t later, std::int64_t earlier) {
    constexpr std::int64_t wrap = std::int64_t{1} << 33;
    const std::int64_t forward = (later - earlier) & (wrap - 1);
    return forward < wrap / 2 ? forward : forward - wrap;
}

std::int64_t ticks_to_samples(std::int64_t ticks, std::int64_t rate) {
    return (ticks / 90000) * rate + (ticks % 90000) * rate / 90000;
}

std::int64_t samples_to_ticks(std::int64_t samples, std::int64_t rate) {
    return (samples / rate) * 90000 + (samples % rate) * 90000 / rate;
}

}  // namespace quarnel
