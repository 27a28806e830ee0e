#pragma once
// File names as the header stores them. Capture software on Japanese systems reads the name
// in code page 932; Linux file systems hand out UTF-8, Windows' narrow interfaces the ANSI
// code page.

#include <optional>
#include <string>
#include <string_view>

namespace quarnel::cli {

enum class NameEncoding { as_is, cp932 };

// The name to store, from its UTF-8 form: as the system's narrow file interfaces name it for
// as_is, in code page 932 for cp932; nothing when it has no form there.
std::optional<std::string> encode_file_name(std::string_view name, NameEncoding encoding);

}  // namespace quarnel::cli
