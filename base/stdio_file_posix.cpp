#ifndef _WIN32

#include "base/stdio_file.h"

namespace quarnel {

StdioFile open_stdio_file(const std::string& path, const char* mode) {
    return StdioFile(std::fopen(path.c_str(), mode));
}

}  // namespace quarnel

#endif
