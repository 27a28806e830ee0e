#pragma once
// The file extensions a video source opens.

#include <string_view>

namespace quarnel {

// True when the extension of `path` (from its last '.', provided no directory separator
// follows it) is one of the video file extensions, compared without regard to case.
bool has_video_extension(std::string_view path);

}  // namespace quarnel
