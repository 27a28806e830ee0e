#pragma once
// The controls of the main dialog by the identifiers their dialog templates give them.
// Both languages use the same identifiers; the widgets are found through this mapping
// (MainDialog::control), so the identifiers stay the one name of each control.

namespace quarnel {

enum class ControlId : int {
    save = 1,          // default push button "Save MTV"
    cancel = 2,        // push button "Cancel": closes the dialog
    name = 1004,       // edit box accepting dropped files: the file name
    open = 1005,       // push button "Open"
    file_size = 1006,  // read-only edit box: the file size text
    year = 1007,       // read-only edit boxes 1007 to 1012: the creation time
    month = 1008,
    day = 1009,
    hour = 1010,
    minute = 1011,
    second = 1012,
    video_auto = 1013,      // check box: derive the video group when a file is read
    ntsc = 1015,            // radio button: video system NTSC
    pal = 1016,             // radio button: video system PAL
    resolution = 1017,      // drop-down list, refilled when the video system changes
    rate_control = 1018,    // drop-down list "CBR", "VBR"
    audio_auto = 1021,      // check box: derive the audio group when a file is read
    audio_bit_rate = 1022,  // drop-down list of the audio bit rates
    sampling = 1023,        // drop-down list of the sampling frequencies
    aspect = 1024,          // drop-down list "4:3", "16:9"
    video_bit_rate = 1025,  // edit box: the video bit rate in bit/s
    ac3 = 1041,             // check box: the audio is AC-3
};

}  // namespace quarnel
