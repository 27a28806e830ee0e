#include "mtv/header_derivation.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

#include "mtv/header_lists.h"

namespace quarnel {
namespace {

constexpr std::int32_t vbv_delay_variable_rate = 0xFFFF;  // ISO/IEC 13818-2, 6.3.9
constexpr std::int32_t aspect_code_16_9 = 3;              // ISO/IEC 13818-2, table 6-3
constexpr std::uint8_t rate_control_cbr = 0;
constexpr std::uint8_t rate_control_vbr = 1;
constexpr std::uint8_t aspect_4_3 = 0;
constexpr std::uint8_t aspect_16_9 = 1;

std::optional<std::int64_t> list_number(std::string_view entry) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
    if (error != std::errc{} || end != entry.data() + entry.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint8_t> resolution_position(std::uint8_t video_system, std::int32_t width,
                                                std::int32_t height) {
    const auto list = ResolutionList(video_system);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].width == width && list[i].height == height) return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

ResolutionChoice choose_resolution(std::int32_t width, std::int32_t height) {
    ResolutionChoice choice;
    // A match in a later list overrides one in an earlier list.
    for (const std::uint8_t system : {video_system_ntsc, video_system_pal})
        if (const auto position = resolution_position(system, width, height))
            choice = {system, *position, true};
    return choice;
}

std::int32_t video_bit_rate_bps(std::int32_t bit_rate_value) {
    const std::int64_t bps = std::int64_t{bit_rate_value} * 400;
    if (bps < 0) return 0;
    return bps > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(bps);
}

std::optional<std::uint8_t> audio_bit_rate_position(std::int32_t bit_rate) {
    const std::int64_t quotient = bit_rate / 1024;
    for (std::size_t i = 0; i < AudioBitRateList.size(); ++i) {
        const auto kbps = list_number(AudioBitRateList[i]);  // nothing for "unknown"
        if (kbps && *kbps >= quotient) return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}

std::optional<std::uint8_t> sampling_position(std::int32_t rate) {
    const std::string text = std::to_string(rate);
    for (std::size_t i = 0; i < SamplingFrequencyList.size(); ++i)
        if (SamplingFrequencyList[i] == text) return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

void derive_video_fields(MtvHeader& header, const VideoFacts& video) {
    header.SetRateControl(video.vbv_delay == vbv_delay_variable_rate ? rate_control_vbr
                                                                     : rate_control_cbr);
    header.SetVideoBitRate(video_bit_rate_bps(video.bit_rate));
    const ResolutionChoice resolution =
        choose_resolution(video.horizontal_size, video.vertical_size);
    header.SetVideoSystem(resolution.video_system);
    header.SetResolutionIndex(resolution.resolution_index);
    header.SetAspectIndex(video.aspect_ratio_information == aspect_code_16_9 ? aspect_16_9
                                                                             : aspect_4_3);
}

void derive_audio_fields(MtvHeader& header, const AudioFacts& audio) {
    if (const auto position = audio_bit_rate_position(audio.bit_rate))
        header.SetAudioBitRateIndex(*position);
    if (const auto position = sampling_position(audio.sampling_rate))
        header.SetSamplingIndex(*position);
}

}  // namespace quarnel
