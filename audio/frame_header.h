#pragma once
// MPEG-1 Layer II audio frame headers (ISO/IEC 11172-3, 2.4.2.3), frame counting in a
// payload and the conversions between 90 kHz time stamps and sample counts.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quarnel {

// One parsed frame header; a rejected header leaves every field 0.
struct AudioFrameHeader {
    std::int32_t version = 0;        // 1 for MPEG-1
    std::int32_t layer = 0;          // always 2
    std::int32_t crc_protected = 0;  // 1 when a CRC follows the header
    std::int32_t bit_rate = 0;       // bit/s
    std::int32_t sampling_rate = 0;  // Hz
    std::int32_t padding = 0;
    std::int32_t channels = 0;  // 1 for single channel, else 2
    std::int32_t bound = 0;     // first intensity-stereo sub-band, at most sub_band_limit
    std::int32_t emphasis = 0;
    std::int32_t sub_band_limit = 0;  // sblimit of the allocation table in force: 8, 12, 27 or 30
    std::int32_t frame_length = 0;    // bytes from this header to the next

    friend bool operator==(const AudioFrameHeader&, const AudioFrameHeader&) = default;
};

// Every Layer II frame holds 1152 samples per channel.
inline constexpr std::int64_t samples_per_frame = 1152;

// A frame sync: 0xFF followed by a byte whose top four bits are set. `p` must have 2 bytes.
inline bool is_frame_sync(const std::uint8_t* p) {
    return p[0] == 0xFF && p[1] >= 0xF0;
}

// The four bytes at `p`, big-endian.
inline std::uint32_t read_header_word(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

// Fills `header` from the 32-bit word at a frame sync and returns true for an MPEG-1 Layer II
// header whose bit rate, sampling rate and mode form an allowed combination; otherwise
// zeroes `header` and returns false.
bool parse_audio_header(std::uint32_t word, AudioFrameHeader& header);

// Frames in a row that confirm a stream's format.
inline constexpr int confirming_run_frames = 3;

// The header of the first frame of the first run of confirming_run_frames frames in `data`
// that follow one another (each header where the frame before it ends) and agree in layer,
// sampling frequency and mode; nothing when there is no such run. Bytes before and after the
// run do not matter.
std::optional<AudioFrameHeader> find_confirming_run(std::span<const std::uint8_t> data);

// What a walk along chained frames found: from the start of the data, each frame whose
// header parses is followed to its end; a frame sync there links the two, anything else
// breaks the chain and the walk moves on by one byte. The walk stops at a frame whose end
// lies in the last 3 bytes or beyond, or when fewer than 4 bytes are left.
struct FrameChain {
    int links = 0;           // frames whose successor's sync was found
    bool cut_short = false;  // stopped on a frame whose end lies beyond the data
};
FrameChain walk_frame_chain(std::span<const std::uint8_t> data);

// Number of frames that begin in `payload`: chained frames are counted, and the last frame
// found, whose successor lies beyond the payload, counts as well.
int count_frames_in_payload(std::span<const std::uint8_t> payload);

// `later` - `earlier` for two time stamps of the 33-bit 90 kHz clock, which wraps about every
// 26.5 hours: of the two ways round the clock the shorter one, so a stamp just after the wrap
// follows one just before it.
std::int64_t stamp_difference(std::int64_t later, std::int64_t earlier);

// 90 kHz ticks to samples at `rate`, and back; both truncate toward zero and split the
// product so that it stays within 64 bits.
std::int64_t ticks_to_samples(std::int64_t ticks, std::int64_t rate);
std::int64_t samples_to_ticks(std::int64_t samples, std::int64_t rate);

}  // namespace quarnel
