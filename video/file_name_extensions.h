#pragma once
// The file extensions a video source opens.

#include <span>
#include <string_view>

namespace quarnel {

// True when the extension of `path` (from its last '.', provided no directory separator
// follows it) is one of the video file extensions, compared without regard to case.
bool has_video_extension(std::string_view path);

// The video file extensions, dot included, in lower case.
std::span<const std::string_view> video_file_extensions();

}  // namespace quarnel
