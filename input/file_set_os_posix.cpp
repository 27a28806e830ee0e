#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "input/file_set_os.h"

namespace quarnel {

std::optional<OsFile> OsFile::open(const std::string& path) {
    // Non-blocking, so that naming a FIFO cannot hang the open; only regular files are taken.
    int descriptor = -1;
    do descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) return std::nullopt;
    OsFile file(descriptor);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    // The input is read front to back in large blocks.
    (void)posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    return file;
}

void OsFile::close_descriptor(int descriptor) {
    ::close(descriptor);
}

std::optional<std::size_t> OsFile::read_at(std::int64_t position, std::uint8_t* destination,
                                           std::size_t size) {
    // One call never asks for more than a signed result can report.
    const std::size_t wanted = std::min<std::size_t>(size, std::numeric_limits<int>::max());
    for (;;) {
        const ssize_t got = ::pread(descriptor_, destination, wanted, static_cast<off_t>(position));
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return std::nullopt;
    }
}

std::optional<std::int64_t> OsFile::size() {
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) return std::nullopt;
    return static_cast<std::int64_t>(status.st_size);
}

bool is_path_separator(char c) {
    return c == '/';
}

const char* next_path_char(const char* p) {
    return p + 1;
}

}  // namespace quarnel

#endif
