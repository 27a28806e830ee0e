#include "video/file_name_extensions.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quarnel {

namespace {

constexpr std::array<std::string_view, 14> video_extensions{".mpeg", ".mpg", ".m2p", ".mp2", ".vob",
                                                            ".vro",  ".m2v", ".m1v", ".mpv", ".ves",
                                                            ".m2t",  ".ssg", ".ts",  ".bs"};

// The text from the last '.' on, or nothing when a directory separator follows that '.'.
// Both separators count, so that a path written for either platform is judged alike.
std::string_view path_extension(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos) return {};
    if (path.find_first_of("/\\", dot) != std::string_view::npos) return {};
    return path.substr(dot);
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::span<const std::string_view> video_file_extensions() {
    return video_extensions;
}

bool has_video_extension(std::string_view path) {
    const std::string_view extension = path_extension(path);
    return std::ranges::any_of(video_extensions, [extension](std::string_view known) {
        return equal_ignoring_case(extension, known);
    });
}

}  // namespace quarnel
