#include "mtv/header_dialog_view.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "mtv/byte_size_text.h"
#include "mtv/header_lists.h"

namespace quarnel {
namespace {

std::string formatted(const char* format, int value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

void refill_resolution_list(MtvHeader& header, HeaderDialogView& view) {
    const auto resolutions = ResolutionList(header.GetVideoSystem());
    std::vector<std::string> entries;
    for (const Resolution& r : resolutions) entries.push_back(resolution_text(r));
    view.set_resolution_entries(entries);
    if (header.GetResolutionIndex() >= resolutions.size()) header.SetResolutionIndex(0);
    view.select_resolution(header.GetResolutionIndex());
}

void choose_video_system(MtvHeader& header, HeaderDialogView& view, std::uint8_t system) {
    header.SetVideoSystem(system);
    refill_resolution_list(header, view);
    view.set_aspect_enabled(system == video_system_ntsc);
}

void ShowValues(MtvHeader& header, HeaderDialogView& view, bool show_video, bool show_audio) {
    view.set_file_name_text(header.GetFileName());
    view.set_size_text(byte_size_text(header.GetFileSize()));
    view.set_time_texts(
        {formatted("%4d", header.GetCreateYear()), formatted("%4d", header.GetCreateMonth()),
         formatted("%4d", header.GetCreateDay()), formatted("%4d", header.GetCreateHour()),
         formatted("%4d", header.GetCreateMinute()), formatted("%4d", header.GetCreateSecond())});
    if (show_video) {
        view.set_video_system_choice(header.GetVideoSystem());
        choose_video_system(header, view, header.GetVideoSystem());
        view.select_rate_control(header.GetRateControl());
        view.select_aspect(header.GetAspectIndex());
        view.set_bit_rate_text(formatted("%d", header.GetVideoBitRate()));
    }
    if (show_audio) {
        view.select_audio_bit_rate(header.GetAudioBitRateIndex());
        view.select_sampling(header.GetSamplingIndex());
        view.set_ac3_ticked(header.GetAudioCoding() == 0);
    }
}

void ReadValues(MtvHeader& header, const HeaderDialogView& view, bool read_video, bool read_audio) {
    if (read_video) {
        header.SetResolutionIndex(view.selected_resolution());
        header.SetRateControl(view.selected_rate_control());
        header.SetAspectIndex(view.selected_aspect());
        header.SetVideoBitRate(read_decimal_text(view.bit_rate_text()));
    }
    if (read_audio) {
        header.SetAudioBitRateIndex(view.selected_audio_bit_rate());
        header.SetSamplingIndex(view.selected_sampling());
        header.SetAudioCoding(view.ac3_ticked() ? 0 : 2);
    }
}

std::int32_t read_decimal_text(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && is_space(text[i])) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    // Accumulates the magnitude, stopping once it is past what any 32-bit result can hold.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (magnitude <= limit) magnitude = magnitude * 10 + (text[i] - '0');
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace quarnel
