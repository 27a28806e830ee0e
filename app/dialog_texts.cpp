#include "app/dialog_texts.h"

namespace quarnel {
namespace {

constexpr MainDialogTexts english{
    .title = "Quarnel",
    .font = "Arial",
    .open = "Open(&O)",
    .file_size = "FileSize",
    .date = "Date",
    .date_units = {"Year", "Month", "Day", "Hour", "Mins", "Secs"},
    .video_group = "VIDEO",
    .video_auto = "AUTO(&V)",
    .video_type = "VideoType",
    .ntsc = "NTSC(&N)",
    .pal = "PAL(&P)",
    .resolution = "Resolution(&R)",
    .rate_control = "CBR/VBR(&F)",
    .video_bit_rate = "BitRate(&B)",
    .bit_rate_unit = "bps",
    .aspect = "Aspect Ratio(&U)",
    .audio_group = "AUDIO",
    .audio_auto = "AUTO(&A)",
    .ac3 = "AC-3(&C)",
    .audio_bit_rate = "BitRate(&T)",
    .sampling = "Sampling Frequency(&S)",
    .save = "Save MTV",
    .cancel = "Cancel",
};

constexpr MainDialogTexts japanese{
    .title = "Quarnel",
    .font = "ＭＳ ゴシック",
    .open = "開く(&O)",
    .file_size = "ファイルサイズ",
    .date = "作成日",
    .date_units = {"年", "月", "日", "時", "分", "秒"},
    .video_group = "映像",
    .video_auto = "映像自動認識(&V)",
    .video_type = "放送形式",
    .ntsc = "NTSC(&N)",
    .pal = "PAL(&P)",
    .resolution = "解像度(&R)",
    .rate_control = "CBR/VBR(&F)",
    .video_bit_rate = "ビットレート(&B)",
    .bit_rate_unit = "bps",
    .aspect = "アスペクト比(&U)",
    .audio_group = "音声",
    .audio_auto = "音声自動認識(&A)",
    .ac3 = "AC-3(&C)",
    .audio_bit_rate = "ビットレート(&T)",
    .sampling = "サンプリング周波数(&S)",
    .save = "MTV 保存",
    .cancel = "キャンセル",
};

}  // namespace

const MainDialogTexts& main_dialog_texts(Language language) {
    return language == Language::japanese ? japanese : english;
}

}  // namespace quarnel
