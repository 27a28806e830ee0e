#include "mtv/file_facts.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#endif

#include "base/regular_file.h"

namespace quarnel {
namespace {

struct FileStat {
    std::uint64_t size;
    std::int64_t created_seconds;  // since 1970-01-01 00:00:00 UTC
};

#ifdef _WIN32
// The Windows C runtime reports a file's creation time as st_ctime.
std::optional<FileStat> stat_open_file(std::FILE* f) {
    struct _stat64 st;
    if (_fstat64(_fileno(f), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) return std::nullopt;
    return FileStat{static_cast<std::uint64_t>(st.st_size), st.st_ctime};
}
#else
// POSIX has no creation time; Linux reports the birth time through statx where the file
// system keeps one.
std::optional<FileStat> stat_open_file(std::FILE* f) {
    const int fd = fileno(f);
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
#endif

}  // namespace

std::optional<FileFacts> read_file_facts(const std::string& path) {
    const StdioFile file = open_regular_file_for_reading(path);
    if (!file) return std::nullopt;
    const auto stat = stat_open_file(file.get());
    if (!stat) return std::nullopt;
    return FileFacts{stat->size, utc_calendar_time(stat->created_seconds),
                     std::filesystem::path(path).filename().string()};
}

CalendarTime utc_calendar_time(std::int64_t seconds) {
    using namespace std::chrono;
    constexpr sys_seconds earliest = sys_days(year{1} / January / 1);
    constexpr sys_seconds latest = sys_days(year{9999} / December / 31) + hours{24} - 1s;
    const sys_seconds t = std::clamp(sys_seconds{std::chrono::seconds{seconds}}, earliest, latest);
    const sys_days day = floor<days>(t);
    const year_month_day date{day};
    const hh_mm_ss time{t - day};
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
}

bool store_file_facts(MtvHeader& header, const std::string& path) {
    const auto facts = read_file_facts(path);
    if (!facts || facts->name.size() > MtvHeader::max_file_name_length) return false;
    header.SetFileSize(facts->size);
    header.SetCreationTime(facts->created_utc);
    header.SetFileName(facts->name);
    return true;
}

}  // namespace quarnel
