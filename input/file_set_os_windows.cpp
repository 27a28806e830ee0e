#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX  // keep std::min usable
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "base/utf8_path.h"
#include "input/file_set_os.h"

namespace quarnel {

std::optional<OsFile> OsFile::open(const std::string& path) {
    // The wide-character open: the narrow one reads the name in the ANSI code page.
    const int descriptor =
        ::_wopen(path_from_utf8(path).c_str(), _O_RDONLY | _O_BINARY | _O_SEQUENTIAL);
    if (descriptor < 0) return std::nullopt;
    return OsFile(descriptor);
}

void OsFile::close_descriptor(int descriptor) {
    ::_close(descriptor);
}

std::optional<std::size_t> OsFile::read_at(std::int64_t position, std::uint8_t* destination,
                                           std::size_t size) {
    // ReadFile at an explicit offset; the system serialises reads of one handle, so reads
    // from two threads stay correct (if not parallel).
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor_));
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(position));
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(position) >> 32);
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
    DWORD got = 0;
    if (::ReadFile(handle, destination, wanted, &got, &at)) return static_cast<std::size_t>(got);
    if (::GetLastError() == ERROR_HANDLE_EOF) return std::size_t{0};
    return std::nullopt;
}

std::optional<std::int64_t> OsFile::size() {
    const __int64 result = ::_filelengthi64(descriptor_);
    if (result < 0) return std::nullopt;
    return result;
}

bool is_path_separator(char c) {
    return c == '\\' || c == '/';
}

// Paths are UTF-8 inside the program, whose continuation bytes are never separators, dots
// or digits.
const char* next_path_char(const char* p) {
    return p + 1;
}

}  // namespace quarnel

#endif
