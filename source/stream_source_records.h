#pragma once
// The records of the stream source interface, shaped after the VFAPI plug-in interface: the
// caller owns each record and sets its first word to the record's size, which the interface
// checks before it writes anything. 64-bit counts are split into a low and a high half.

#include <cstdint>

namespace quarnel {

// Result codes: 0 for success and the one failure code, the generic failure HRESULT of
// Windows. Where <windows.h> came first its own S_OK and E_FAIL, of the same values, stand.
using SourceResult = std::int32_t;
#ifndef S_OK
inline constexpr SourceResult S_OK = 0;
#endif
#ifndef E_FAIL
inline constexpr SourceResult E_FAIL = static_cast<SourceResult>(0x80004005u);
#endif

// Stream numbers of GetStreamInfo.
inline constexpr int video_stream_number = 1;
inline constexpr int audio_stream_number = 2;

// Bits of VF_FileInfo::stream_flags.
inline constexpr std::uint32_t has_video_stream = 1;
inline constexpr std::uint32_t has_audio_stream = 2;

struct VF_FileInfo {
    std::uint32_t size = sizeof(VF_FileInfo);
    std::uint32_t stream_flags = 0;
};
static_assert(sizeof(VF_FileInfo) == 8);

struct VF_StreamInfo_Video {
    std::uint32_t size = sizeof(VF_StreamInfo_Video);
    std::uint32_t length_low = 0;  // frames
    std::uint32_t length_high = 0;
    std::uint32_t rate = 0;  // frames per second = rate / scale
    std::uint32_t scale = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bit_count = 0;  // bits per pixel of a delivered picture, always 24
};
static_assert(sizeof(VF_StreamInfo_Video) == 32);

// Describes the samples as delivered, 16-bit stereo, whatever the stream's own channels.
struct VF_StreamInfo_Audio {
    std::uint32_t size = sizeof(VF_StreamInfo_Audio);
    std::uint32_t length_low = 0;  // samples
    std::uint32_t length_high = 0;
    std::uint32_t rate = 0;   // Hz
    std::uint32_t scale = 0;  // always 1
    std::uint32_t channels = 0;
    std::uint32_t bits_per_sample = 0;
    std::uint32_t block_align = 0;  // bytes per sample frame
};
static_assert(sizeof(VF_StreamInfo_Audio) == 32);

// The two halves of a 64-bit count.
constexpr std::uint32_t low_half(std::int64_t count) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(count) & 0xFFFFFFFFu);
}
constexpr std::uint32_t high_half(std::int64_t count) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(count) >> 32);
}

}  // namespace quarnel
