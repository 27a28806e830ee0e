#pragma once
// What the file system says of an open file: its size and when it was created.

#include <cstdint>
#include <cstdio>
#include <optional>

namespace quarnel {

struct FileStat {
    std::uint64_t size = 0;
    std::int64_t created_seconds = 0;  // since 1970-01-01 00:00:00 UTC
};

// The size and creation time of `file`; nothing unless it is a regular file. The creation
// time is the birth time where the file system records one, else the last modification.
std::optional<FileStat> stat_regular_file(std::FILE* file);

}  // namespace quarnel
