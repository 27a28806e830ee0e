#include "base/utf8_path.h"

namespace quarnel {

std::filesystem::path path_from_utf8(std::string_view utf8) {
    // char8_t text is UTF-8 on every platform.
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8_from_path(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string file_name_of(std::string_view path) {
    return utf8_from_path(path_from_utf8(path).filename());
}

}  // namespace quarnel
