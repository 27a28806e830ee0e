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

void RefillResolutionList(MtvHeader& header, HeaderDialogView& view) {
    const auto resolutions = ResolutionList(header.GetVideoSystem());
    std::vector<std::string> entries;
    for (const Resolution& r : resolutions) entries.push_back(resolution_text(r));
    view.SetResolutionEntries(entries);
    if (header.GetResolutionIndex() >= resolutions.size()) header.SetResolutionIndex(0);
    view.SelectResolution(header.GetResolutionIndex());
}

void ChooseVideoSystem(MtvHeader& header, HeaderDialogView& view, std::uint8_t system) {
    header.SetVideoSystem(system);
    RefillResolutionList(header, view);
    view.SetAspectEnabled(system == video_system_ntsc);
}

void ShowValues(MtvHeader& header, HeaderDialogView& view, bool show_video, bool show_audio) {
    view.SetFileNameText(header.GetFileName());
    view.SetSizeText(byte_size_text(header.GetFileSize()));
    view.SetTimeTexts(
        {formatted("%4d", header.GetCreateYear()), formatted("%4d", header.GetCreateMonth()),
         formatted("%4d", header.GetCreateDay()), formatted("%4d", header.GetCreateHour()),
         formatted("%4d", header.GetCreateMinute()), formatted("%4d", header.GetCreateSecond())});
    if (show_video) {
        view.SetVideoSystemChoice(header.GetVideoSystem());
        ChooseVideoSystem(header, view, header.GetVideoSystem());
        view.SelectRateControl(header.GetRateControl());
        view.SelectAspect(header.GetAspectIndex());
        view.SetBitRateText(formatted("%d", header.GetVideoBitRate()));
    }
    if (show_audio) {
        view.SelectAudioBitRate(header.GetAudioBitRateIndex());
        view.SelectSampling(header.GetSamplingIndex());
        view.SetAc3Ticked(header.GetAudioCoding() == 0);
    }
}

void ReadValues(MtvHeader& header, const HeaderDialogView& view, bool read_video, bool read_audio) {
    if (read_video) {
        header.SetResolutionIndex(view.SelectedResolution());
        header.SetRateControl(view.SelectedRateControl());
        header.SetAspectIndex(view.SelectedAspect());
        header.SetVideoBitRate(read_decimal_text(view.BitRateText()));
    }
    if (read_audio) {
        header.SetAudioBitRateIndex(view.SelectedAudioBitRate());
        header.SetSamplingIndex(view.SelectedSampling());
        header.SetAudioCoding(view.Ac3Ticked() ? 0 : 2);
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
