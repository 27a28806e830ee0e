#include "base/open_failure.h"

namespace quarnel {

std::string_view open_failure_code(OpenFailure failure) {
    switch (failure) {
        case OpenFailure::none:
            return "none";
        case OpenFailure::cannot_open:
            return "cannot_open";
        case OpenFailure::not_regular_file:
            return "not_regular_file";
        case OpenFailure::not_video_extension:
            return "not_video_extension";
        case OpenFailure::no_sequence_header:
            return "no_sequence_header";
        case OpenFailure::no_picture_header:
            return "no_picture_header";
        case OpenFailure::no_i_picture:
            return "no_i_picture";
        case OpenFailure::bad_picture:
            return "bad_picture";
        case OpenFailure::gop_list_too_large:
            return "gop_list_too_large";
        case OpenFailure::cancelled:
            return "cancelled";
        case OpenFailure::no_layer2_audio:
            return "no_layer2_audio";
    }
    return "unknown";
}

}  // namespace quarnel
