#pragma once
// Windows takes text as UTF-16; inside the program text and paths are UTF-8. The header's
// file name alone is in the system's ANSI code page, as the reading software expects it.

#include <string>
#include <string_view>

namespace quarnel {

std::wstring wide_from_utf8(std::string_view utf8);
std::string utf8_from_wide(std::wstring_view wide);
std::wstring wide_from_system_code_page(std::string_view text);

}  // namespace quarnel
