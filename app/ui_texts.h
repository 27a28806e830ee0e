#ifndef QUARNEL_APP_UI_TEXTS_H
#define QUARNEL_APP_UI_TEXTS_H
/* The texts of the main dialog and of the message boxes in both languages: UTF-8 string
   literals that the C++ tables (dialog_texts.cpp, messages.cpp) and the Windows resource
   script (win/quarnel.rc) both take, so each text is written once. Plain preprocessor
   definitions, since the resource compiler reads nothing else. '&' marks a mnemonic. */

#define QUARNEL_TITLE "Quarnel"

#define QUARNEL_EN_FONT "Arial"
#define QUARNEL_EN_OPEN "Open(&O)"
#define QUARNEL_EN_FILE_SIZE "FileSize"
#define QUARNEL_EN_DATE "Date"
#define QUARNEL_EN_YEAR "Year"
#define QUARNEL_EN_MONTH "Month"
#define QUARNEL_EN_DAY "Day"
#define QUARNEL_EN_HOUR "Hour"
#define QUARNEL_EN_MINUTE "Mins"
#define QUARNEL_EN_SECOND "Secs"
#define QUARNEL_EN_VIDEO_GROUP "VIDEO"
#define QUARNEL_EN_VIDEO_AUTO "AUTO(&V)"
#define QUARNEL_EN_VIDEO_TYPE "VideoType"
#define QUARNEL_EN_RESOLUTION "Resolution(&R)"
#define QUARNEL_EN_VIDEO_BIT_RATE "BitRate(&B)"
#define QUARNEL_EN_ASPECT "Aspect Ratio(&U)"
#define QUARNEL_EN_AUDIO_GROUP "AUDIO"
#define QUARNEL_EN_AUDIO_AUTO "AUTO(&A)"
#define QUARNEL_EN_AUDIO_BIT_RATE "BitRate(&T)"
#define QUARNEL_EN_SAMPLING "Sampling Frequency(&S)"
#define QUARNEL_EN_SAVE "Save MTV"
#define QUARNEL_EN_CANCEL "Cancel"

#define QUARNEL_JA_FONT "ＭＳ ゴシック"
#define QUARNEL_JA_OPEN "開く(&O)"
#define QUARNEL_JA_FILE_SIZE "ファイルサイズ"
#define QUARNEL_JA_DATE "作成日"
#define QUARNEL_JA_YEAR "年"
#define QUARNEL_JA_MONTH "月"
#define QUARNEL_JA_DAY "日"
#define QUARNEL_JA_HOUR "時"
#define QUARNEL_JA_MINUTE "分"
#define QUARNEL_JA_SECOND "秒"
#define QUARNEL_JA_VIDEO_GROUP "映像"
#define QUARNEL_JA_VIDEO_AUTO "映像自動認識(&V)"
#define QUARNEL_JA_VIDEO_TYPE "放送形式"
#define QUARNEL_JA_RESOLUTION "解像度(&R)"
#define QUARNEL_JA_VIDEO_BIT_RATE "ビットレート(&B)"
#define QUARNEL_JA_ASPECT "アスペクト比(&U)"
#define QUARNEL_JA_AUDIO_GROUP "音声"
#define QUARNEL_JA_AUDIO_AUTO "音声自動認識(&A)"
#define QUARNEL_JA_AUDIO_BIT_RATE "ビットレート(&T)"
#define QUARNEL_JA_SAMPLING "サンプリング周波数(&S)"
#define QUARNEL_JA_SAVE "MTV 保存"
#define QUARNEL_JA_CANCEL "キャンセル"

/* The same in both languages. */
#define QUARNEL_NTSC "NTSC(&N)"
#define QUARNEL_PAL "PAL(&P)"
#define QUARNEL_RATE_CONTROL "CBR/VBR(&F)"
#define QUARNEL_AC3 "AC-3(&C)"
#define QUARNEL_BIT_RATE_UNIT "bps"

/* Message box texts by their identifiers; one literal each, '\n' the line breaks. */
#define QUARNEL_EN_MESSAGE_134 "getting MPEG2 information failed."
#define QUARNEL_EN_MESSAGE_135 "file name is empty"
#define QUARNEL_EN_MESSAGE_137 "save of a file failed."
#define QUARNEL_EN_MESSAGE_138 "Two or more files were dropped.\nAll processings are performed at once.\nfilename [original filetitle].mtv\nIs it all right?"

#define QUARNEL_JA_MESSAGE_134 "MPEG2情報の取得に失敗しました"
#define QUARNEL_JA_MESSAGE_135 "ファイル名が空です"
#define QUARNEL_JA_MESSAGE_137 "ファイルの保存に失敗しました"
#define QUARNEL_JA_MESSAGE_138 "複数のファイルがドロップされました。\n変換可能なファイルを元のファイル名の拡張子を.mtvに変更したMTVファイルへ一度に変換します。\n変換を開始してよろしいですか？"

#endif
