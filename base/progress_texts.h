#ifndef QUARNEL_BASE_PROGRESS_TEXTS_H
#define QUARNEL_BASE_PROGRESS_TEXTS_H
/* The texts of the progress window of a GOP list scan in both languages: UTF-8 string
   literals that the C++ tables (progress.h) and the Windows resource script both take, so
   each text is written once. Plain preprocessor definitions, since the resource compiler
   reads nothing else. */

#define QUARNEL_PROGRESS_JA_CAPTION "VEZA-2 DOROZ IROVE Dodi-Vi : 情報"
#define QUARNEL_PROGRESS_JA_FONT "ＭＳ Ｐゴシック"
#define QUARNEL_PROGRESS_JA_INITIAL_TEXT "GOP リストを作成中です……"
#define QUARNEL_PROGRESS_JA_CANCEL "中断"
#define QUARNEL_PROGRESS_JA_FORMAT "GOP リストを作成中です…… %3d %%"

#define QUARNEL_PROGRESS_EN_CAPTION "VEZA-2 DOROZ IROVE Dodi-Vi : Information"
#define QUARNEL_PROGRESS_EN_FONT "Arial"
#define QUARNEL_PROGRESS_EN_INITIAL_TEXT "Creating GOP List .. "
#define QUARNEL_PROGRESS_EN_CANCEL "Cancel"
#define QUARNEL_PROGRESS_EN_FORMAT "Creating GOP List .. %3d %%"

#endif
