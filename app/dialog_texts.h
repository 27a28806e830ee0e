#pragma once
// The captions of the main dialog and of the progress window in both languages (UTF-8; '&' marks
// the mnemonic).

#include <array>
#include <string_view>

#include "app/language.h"
#include "base/progress.h"

namespace quarnel {

struct MainDialogTexts {
    std::string_view title;
    std::string_view font;
    std::string_view open;
    std::string_view file_size;
    std::string_view date;
    std::array<std::string_view, 6> date_units;  // year, month, day, hour, minute, second
    std::string_view video_group;
    std::string_view video_auto;
    std::string_view video_type;
    std::string_view ntsc;
    std::string_view pal;
    std::string_view resolution;
    std::string_view rate_control;
    std::string_view video_bit_rate;
    std::string_view bit_rate_unit;
    std::string_view aspect;
    std::string_view audio_group;
    std::string_view audio_auto;
    std::string_view ac3;
    std::string_view audio_bit_rate;
    std::string_view sampling;
    std::string_view save;
    std::string_view cancel;
};

const MainDialogTexts& main_dialog_texts(Language language);

const ProgressTexts& progress_texts(Language language);

}  // namespace quarnel
