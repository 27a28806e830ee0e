#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#define NOMINMAX  // keep std::min usable
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "input/file_set_os.h"

namespace quarnel {

std::optional<OsFile> OsFile::open(const std::string& path) {
    const int descriptor = ::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_SEQUENTIAL);
    if (descriptor < 0) return std::nullopt;
    return OsFile(descriptor);
}

void OsFile::close_descriptor(int descriptor) {
    ::_close(descriptor);
}

std::optional<std::size_t> OsFile::read(std::uint8_t* destination, std::size_t size) {
    // _read takes an unsigned int count and reports through an int.
    const auto wanted = static_cast<unsigned>(std::min<std::size_t>(size, 0x40000000));
    for (;;) {
        const int got = ::_read(descriptor_, destination, wanted);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return std::nullopt;
    }
}

std::optional<std::int64_t> OsFile::seek(std::int64_t position) {
    const __int64 result = ::_lseeki64(descriptor_, position, SEEK_SET);
    if (result < 0) return std::nullopt;
    return result;
}

std::optional<std::int64_t> OsFile::tell() {
    const __int64 result = ::_telli64(descriptor_);
    if (result < 0) return std::nullopt;
    return result;
}

std::optional<std::int64_t> OsFile::size() {
    const __int64 result = ::_filelengthi64(descriptor_);
    if (result < 0) return std::nullopt;
    return result;
}

bool is_path_separator(char c) {
    return c == '\\' || c == '/';
}

// Walks by characters of the system code page, so that the second byte of a double-byte
// character is never taken for a separator, a dot or a digit.
const char* next_path_char(const char* p) {
    return ::CharNextA(p);
}

}  // namespace quarnel

#endif
