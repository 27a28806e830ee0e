#pragma once
// Why an open of an input found nothing, for front ends that say so. Opens still report
// failure by returning nothing; this names the cause beside it.

#include <string_view>

namespace quarnel {

enum class OpenFailure {
    none,
    cannot_open,          // missing, or not readable
    not_regular_file,     // a directory, named pipe or device: never opened, so nothing blocks
    not_video_extension,  // the video source does not try the file
    no_sequence_header,   // none before the "limit" setting or the end of the stream
    no_picture_header,    // none after the first sequence header, before "limit" or the end
    no_i_picture,         // the GOP list scan found nothing decoding can start from
    bad_picture,          // the GOP list scan met a picture it cannot count
    gop_list_too_large,   // the GOP list outgrows max_gop_list_bytes
    cancelled,            // the GOP list scan was cancelled
    no_layer2_audio,      // no MPEG-1 Layer II stream that can be measured
};

// A stable lower-case name of `failure` for machine-read output, such as "no_i_picture".
std::string_view open_failure_code(OpenFailure failure);

}  // namespace quarnel
