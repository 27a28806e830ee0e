#ifdef _WIN32

#include <sys/stat.h>

#include "base/file_stat.h"

namespace quarnel {

// The Windows C runtime reports a file's creation time as st_ctime.
std::optional<FileStat> stat_regular_file(std::FILE* file) {
    struct _stat64 st;
    if (_fstat64(_fileno(file), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG)
        return std::nullopt;
    return FileStat{static_cast<std::uint64_t>(st.st_size), st.st_ctime};
}

}  // namespace quarnel

#endif
