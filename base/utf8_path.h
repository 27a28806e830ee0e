#pragma once
// Paths are UTF-8 text inside the program. The standard library's paths take narrow text in
// the system's own encoding, which on Windows is the ANSI code page, not UTF-8: every path
// handed to std::filesystem goes through these two.

#include <filesystem>
#include <string>
#include <string_view>

namespace quarnel {

std::filesystem::path path_from_utf8(std::string_view utf8);
std::string utf8_from_path(const std::filesystem::path& path);

// The last component of `path`, in UTF-8.
std::string file_name_of(std::string_view path);

}  // namespace quarnel
