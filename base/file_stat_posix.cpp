#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>

#include "base/file_stat.h"

namespace quarnel {

// POSIX has no creation time; Linux reports the birth time through statx where the file
// system keeps one.
std::optional<FileStat> stat_regular_file(std::FILE* file) {
    const int fd = fileno(file);
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::int64_t created = st.st_mtime;
#ifdef STATX_BTIME
    struct statx sx;
    if (statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
        created = sx.stx_btime.tv_sec;
#endif
    return FileStat{static_cast<std::uint64_t>(st.st_size), created};
}

}  // namespace quarnel

#endif
