#include "cli/open_failure_text.h"

#include <vector>

#include "base/settings.h"
#include "video/file_name_extensions.h"
#include "video/gop_list.h"

namespace quarnel::cli {
namespace {

std::string search_limit_text(const SettingsStore& settings) {
    // A stored value of 2 GiB or more is a wide limit, as the video source reads it.
    return std::to_string(static_cast<std::uint32_t>(read_search_limit(settings))) +
           " bytes (setting limit)";
}

std::string extension_list() {
    std::string list;
    for (const std::string_view extension : video_file_extensions())
        list += (list.empty() ? "" : ", ") + std::string(extension);
    return list;
}

// The reasons that stand alone: the audio source never saw the file, or the user stopped it.
std::vector<OpenFailure> reasons(const OpenFailures& failures) {
    if (failures.video == failures.audio || failures.video == OpenFailure::cancelled)
        return {failures.video};
    return {failures.video, failures.audio};
}

template <typename Name>
std::string joined(const OpenFailures& failures, const char* separator, Name name) {
    std::string text;
    for (const OpenFailure failure : reasons(failures))
        text += (text.empty() ? "" : separator) + std::string(name(failure));
    return text;
}

}  // namespace

std::string open_failure_text(OpenFailure failure, const SettingsStore& settings) {
    switch (failure) {
        case OpenFailure::none:
            break;
        case OpenFailure::cannot_open:
            return "cannot open the file";
        case OpenFailure::not_regular_file:
            return "not a regular file";
        case OpenFailure::not_video_extension:
            return "extension not among the video extensions (" + extension_list() + ")";
        case OpenFailure::no_sequence_header:
            return "no sequence header in the first " + search_limit_text(settings);
        case OpenFailure::no_picture_header:
            return "no picture after the sequence header in the first " +
                   search_limit_text(settings);
        case OpenFailure::no_i_picture:
            return "no I picture in the video";
        case OpenFailure::bad_picture:
            return "a picture the GOP list scan cannot count";
        case OpenFailure::gop_list_too_large:
            return "GOP list larger than the memory bound (" +
                   std::to_string(max_gop_list_bytes / (1024 * 1024)) + " MiB)";
        case OpenFailure::cancelled:
            return "cancelled";
        case OpenFailure::no_layer2_audio:
            return "no Layer II audio";
    }
    return "no MPEG video or audio stream found";
}

std::string open_failures_text(const OpenFailures& failures, const SettingsStore& settings) {
    return joined(failures, "; ", [&settings](OpenFailure failure) {
        return open_failure_text(failure, settings);
    });
}

std::string open_failures_code(const OpenFailures& failures) {
    return joined(failures, ",", open_failure_code);
}

}  // namespace quarnel::cli
