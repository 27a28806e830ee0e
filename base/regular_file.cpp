#include "base/regular_file.h"

#include <filesystem>
#include <system_error>

#include "base/utf8_path.h"

namespace quarnel {

OpenFailure check_regular_file(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path_from_utf8(path), error);
    if (error || !std::filesystem::exists(status)) return OpenFailure::cannot_open;
    if (!std::filesystem::is_regular_file(status)) return OpenFailure::not_regular_file;
    return OpenFailure::none;
}

StdioFile open_regular_file_for_reading(const std::string& path) {
    if (check_regular_file(path) != OpenFailure::none) return nullptr;
    return open_stdio_file(path, "rb");
}

}  // namespace quarnel
