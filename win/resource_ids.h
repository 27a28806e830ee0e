#ifndef QUARNEL_WIN_RESOURCE_IDS_H
#define QUARNEL_WIN_RESOURCE_IDS_H
/* The identifiers of the program's resources, shared by the resource script and the code.
   The main dialog's controls are named in app/control_ids.h. */

#define QUARNEL_MAIN_DIALOG_JAPANESE 102
#define QUARNEL_MAIN_DIALOG_ENGLISH 131
#define QUARNEL_PROGRESS_DIALOG_JAPANESE 129
#define QUARNEL_PROGRESS_DIALOG_ENGLISH 130
#define QUARNEL_ICON 133

/* The progress window's controls: the text line has another identifier in each language. */
#define QUARNEL_PROGRESS_TEXT_JAPANESE 1000
#define QUARNEL_PROGRESS_BAR 1001
#define QUARNEL_PROGRESS_TEXT_ENGLISH 1002

#endif
