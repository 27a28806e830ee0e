#pragma once
// A C stdio file that closes itself. Writers that must know whether the close succeeded
// release() it and close it themselves.

#include <cstdio>
#include <memory>
#include <string>

namespace quarnel {

struct StdioFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

using StdioFile = std::unique_ptr<std::FILE, StdioFileCloser>;

// Opens the file at the UTF-8 `path` with fopen's `mode`; null when it cannot.
StdioFile open_stdio_file(const std::string& path, const char* mode);

}  // namespace quarnel
