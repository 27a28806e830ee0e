#include "app/dialog_texts.h"

#include "app/ui_texts.h"

namespace quarnel {
namespace {

constexpr MainDialogTexts english{
    .title = QUARNEL_TITLE,
    .font = QUARNEL_EN_FONT,
    .open = QUARNEL_EN_OPEN,
    .file_size = QUARNEL_EN_FILE_SIZE,
    .date = QUARNEL_EN_DATE,
    .date_units = {QUARNEL_EN_YEAR, QUARNEL_EN_MONTH, QUARNEL_EN_DAY, QUARNEL_EN_HOUR,
                   QUARNEL_EN_MINUTE, QUARNEL_EN_SECOND},
    .video_group = QUARNEL_EN_VIDEO_GROUP,
    .video_auto = QUARNEL_EN_VIDEO_AUTO,
    .video_type = QUARNEL_EN_VIDEO_TYPE,
    .ntsc = QUARNEL_NTSC,
    .pal = QUARNEL_PAL,
    .resolution = QUARNEL_EN_RESOLUTION,
    .rate_control = QUARNEL_RATE_CONTROL,
    .video_bit_rate = QUARNEL_EN_VIDEO_BIT_RATE,
    .bit_rate_unit = QUARNEL_BIT_RATE_UNIT,
    .aspect = QUARNEL_EN_ASPECT,
    .audio_group = QUARNEL_EN_AUDIO_GROUP,
    .audio_auto = QUARNEL_EN_AUDIO_AUTO,
    .ac3 = QUARNEL_AC3,
    .audio_bit_rate = QUARNEL_EN_AUDIO_BIT_RATE,
    .sampling = QUARNEL_EN_SAMPLING,
    .save = QUARNEL_EN_SAVE,
    .cancel = QUARNEL_EN_CANCEL,
};

constexpr MainDialogTexts japanese{
    .title = QUARNEL_TITLE,
    .font = QUARNEL_JA_FONT,
    .open = QUARNEL_JA_OPEN,
    .file_size = QUARNEL_JA_FILE_SIZE,
    .date = QUARNEL_JA_DATE,
    .date_units = {QUARNEL_JA_YEAR, QUARNEL_JA_MONTH, QUARNEL_JA_DAY, QUARNEL_JA_HOUR,
                   QUARNEL_JA_MINUTE, QUARNEL_JA_SECOND},
    .video_group = QUARNEL_JA_VIDEO_GROUP,
    .video_auto = QUARNEL_JA_VIDEO_AUTO,
    .video_type = QUARNEL_JA_VIDEO_TYPE,
    .ntsc = QUARNEL_NTSC,
    .pal = QUARNEL_PAL,
    .resolution = QUARNEL_JA_RESOLUTION,
    .rate_control = QUARNEL_RATE_CONTROL,
    .video_bit_rate = QUARNEL_JA_VIDEO_BIT_RATE,
    .bit_rate_unit = QUARNEL_BIT_RATE_UNIT,
    .aspect = QUARNEL_JA_ASPECT,
    .audio_group = QUARNEL_JA_AUDIO_GROUP,
    .audio_auto = QUARNEL_JA_AUDIO_AUTO,
    .ac3 = QUARNEL_AC3,
    .audio_bit_rate = QUARNEL_JA_AUDIO_BIT_RATE,
    .sampling = QUARNEL_JA_SAMPLING,
    .save = QUARNEL_JA_SAVE,
    .cancel = QUARNEL_JA_CANCEL,
};

}  // namespace

const MainDialogTexts& main_dialog_texts(Language language) {
    return language == Language::japanese ? japanese : english;
}

const ProgressTexts& progress_texts(Language language) {
    return language == Language::japanese ? progress_texts_japanese : progress_texts_english;
}

}  // namespace quarnel
