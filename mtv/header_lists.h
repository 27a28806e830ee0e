#pragma once
// The fixed lists whose positions the MTV header stores. The dialog shows their entries as
// they are, in this order, so a stored index is a position in the list as shown.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quarnel {

struct Resolution {
    int width;
    int height;
};

inline constexpr std::array<Resolution, 6> ntsc_resolutions{{
    {720, 480},
    {704, 480},
    {352, 480},
    {352, 240},
    {544, 480},
    {480, 480},
}};

inline constexpr std::array<Resolution, 4> pal_resolutions{{
    {720, 576},
    {704, 576},
    {352, 576},
    {352, 288},
}};

inline constexpr std::uint8_t video_system_ntsc = 0;
inline constexpr std::uint8_t video_system_pal = 1;

// The picture sizes of a video system (0 NTSC, 1 PAL); empty for any other value.
constexpr std::span<const Resolution> ResolutionList(std::uint8_t video_system) {
    if (video_system == video_system_ntsc) return ntsc_resolutions;
    if (video_system == video_system_pal) return pal_resolutions;
    return {};
}

// "720x480", as the resolution list shows an entry (each number right-aligned in three).
std::string resolution_text(Resolution r);

inline constexpr std::array<std::string_view, 2> video_system_labels{"NTSC", "PAL"};
inline constexpr std::array<std::string_view, 2> rate_control_labels{"CBR", "VBR"};
inline constexpr std::array<std::string_view, 2> aspect_labels{"4:3", "16:9"};

// kbit/s; the last entry stands for a rate that is not known.
inline constexpr std::array<std::string_view, 16> AudioBitRateList{
    "56",  "64",  "80",  "96",  "112", "128", "160",  "192",
    "224", "256", "320", "384", "448", "640", "1536", "unknown"};

// Hz.
inline constexpr std::array<std::string_view, 3> SamplingFrequencyList{"48000", "44100", "32000"};

// The entry at `index` of a label list, or nothing when the index is past its end.
template <std::size_t N>
constexpr std::string_view label_at(const std::array<std::string_view, N>& list,
                                    std::size_t index) {
    return index < N ? list[index] : std::string_view{};
}

}  // namespace quarnel
