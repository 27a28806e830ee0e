#pragma once
// Builds MPEG-1 Layer II frames (ISO/IEC 11172-3) for tests: valid headers and frame
// lengths, with a silent-looking body of zero bytes.

#include <cstdint>
#include <vector>

namespace quarnel::test {

enum class Mp2Mode : std::uint32_t { stereo = 0, joint_stereo = 1, dual_channel = 2, mono = 3 };

struct Mp2Format {
    std::int32_t bit_rate = 192000;      // bit/s, a Layer II rate
    std::int32_t sampling_rate = 48000;  // 32000, 44100 or 48000
    Mp2Mode mode = Mp2Mode::stereo;
    std::uint32_t mode_extension = 0;  // 0 to 3, used in joint stereo
    bool crc = false;
};

// The 32-bit header word of a frame in `format`.
std::uint32_t mp2_header_word(const Mp2Format& format, bool padding);

// Bytes of one frame in `format` with the given padding bit.
std::int32_t mp2_frame_length(const Mp2Format& format, bool padding);

// `count` consecutive frames; at 44100 Hz the padding bit is set on the frames that keep the
// average bit rate exact, as an encoder does.
std::vector<std::uint8_t> mp2_frames(const Mp2Format& format, int count);

}  // namespace quarnel::test
