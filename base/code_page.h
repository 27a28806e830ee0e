#pragma once
// File names in the 8-bit code pages that header readers expect. Inside the program names
// are UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// `utf8` in code page 932 (Japanese); nothing when it is not valid UTF-8 or holds a
// character that code page 932 cannot represent.
std::optional<std::string> utf8_to_cp932(std::string_view utf8);

// `utf8` as the system's narrow file interfaces name it: unchanged where they take UTF-8
// (POSIX), in the ANSI code page on Windows; nothing when it has no form there.
std::optional<std::string> utf8_to_system_code_page(std::string_view utf8);

}  // namespace quarnel
