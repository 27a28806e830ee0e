#ifdef _WIN32

#include <string_view>

#include "base/stdio_file.h"
#include "base/utf8_path.h"

namespace quarnel {

// The wide-character open: the narrow one reads the name in the ANSI code page.
StdioFile open_stdio_file(const std::string& path, const char* mode) {
    const std::string_view narrow_mode(mode);
    const std::wstring wide_mode(narrow_mode.begin(), narrow_mode.end());  // ASCII letters
    return StdioFile(::_wfopen(path_from_utf8(path).c_str(), wide_mode.c_str()));
}

}  // namespace quarnel

#endif
