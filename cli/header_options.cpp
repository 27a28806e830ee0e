#include "cli/header_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace quarnel::cli {
namespace {

constexpr int audio_coding_ac3 = 0;
constexpr int audio_coding_other = 2;

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The position of `text` in a list of labels, compared without regard to case.
template <std::size_t N>
std::optional<std::uint8_t> label_position(const std::array<std::string_view, N>& labels,
                                           std::string_view text) {
    for (std::size_t i = 0; i < N; ++i)
        if (equal_ignoring_case(labels[i], text)) return static_cast<std::uint8_t>(i);
    return std::nullopt;
}

// The whole of `text` as a non-negative decimal int32.
std::optional<std::int32_t> whole_number(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint8_t> parse_video_system(std::string_view text) {
    return label_position(video_system_labels, text);
}

std::optional<Resolution> parse_resolution(std::string_view text) {
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return std::nullopt;
    const auto width = whole_number(text.substr(0, x));
    const auto height = whole_number(text.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return Resolution{*width, *height};
}

std::optional<std::uint8_t> parse_rate_control(std::string_view text) {
    return label_position(rate_control_labels, text);
}

std::optional<std::int32_t> parse_video_bit_rate(std::string_view text) {
    const auto value = whole_number(text);
    if (!value || *value == 0) return std::nullopt;
    return value;
}

std::optional<std::uint8_t> parse_aspect(std::string_view text) {
    return label_position(aspect_labels, text);
}

std::optional<std::uint8_t> parse_audio_bit_rate(std::string_view text) {
    return label_position(AudioBitRateList, text);
}

std::optional<std::uint8_t> parse_sampling(std::string_view text) {
    return label_position(SamplingFrequencyList, text);
}

std::optional<ResolutionChoice> chosen_resolution(const HeaderOptions& options) {
    if (!options.resolution) return std::nullopt;
    const auto [width, height] = *options.resolution;
    if (!options.video_system) {
        const ResolutionChoice choice = choose_resolution(width, height);
        return choice.listed ? std::optional(choice) : std::nullopt;
    }
    const auto position = resolution_position(*options.video_system, width, height);
    if (!position) return std::nullopt;
    return ResolutionChoice{*options.video_system, *position, true};
}

void apply_header_options(MtvHeader& header, const HeaderOptions& options) {
    if (const auto choice = chosen_resolution(options)) {
        header.SetVideoSystem(choice->video_system);
        header.SetResolutionIndex(choice->resolution_index);
    } else if (options.video_system) {
        header.SetVideoSystem(*options.video_system);
        if (header.GetResolutionIndex() >= ResolutionList(*options.video_system).size())
            header.SetResolutionIndex(0);
    }
    if (options.rate_control) header.SetRateControl(*options.rate_control);
    if (options.video_bit_rate) header.SetVideoBitRate(*options.video_bit_rate);
    if (options.aspect) header.SetAspectIndex(*options.aspect);
    if (options.audio_bit_rate_index) header.SetAudioBitRateIndex(*options.audio_bit_rate_index);
    if (options.sampling_index) header.SetSamplingIndex(*options.sampling_index);
    header.SetAudioCoding(options.ac3 ? audio_coding_ac3 : audio_coding_other);
}

}  // namespace quarnel::cli
