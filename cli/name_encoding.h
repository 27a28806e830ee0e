#pragma once
// File names as the header stores them. Capture software on Japanese systems reads the name
// in code page 932; Linux file systems hand out UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace quarnel::cli {

enum class NameEncoding { as_is, cp932 };

// `utf8` in code page 932; nothing when it is not valid UTF-8 or holds a character that code
// page 932 cannot represent.
std::optional<std::string> utf8_to_cp932(std::string_view utf8);

// The name to store: unchanged for as_is, converted for cp932.
std::optional<std::string> encode_file_name(std::string_view name, NameEncoding encoding);

}  // namespace quarnel::cli
