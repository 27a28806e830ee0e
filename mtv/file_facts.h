#pragma once
// What an MPEG file itself tells the header: its size, when it was created and its name.

#include <cstdint>
#include <optional>
#include <string>

#include "mtv/mtv_header.h"

namespace quarnel {

struct FileFacts {
    std::uint64_t size = 0;
    CalendarTime created_utc;  // whole seconds
    std::string name;          // the last component of the path
};

// The facts of the regular file at `path`; nothing when it cannot be opened for reading.
// The creation time is the file's birth time where the file system records one, else the
// time of its last modification.
std::optional<FileFacts> read_file_facts(const std::string& path);

// The UTC calendar time of a count of seconds since 1970-01-01 00:00:00 UTC. Times before
// the year 1 or after the year 9999 are held at those ends.
CalendarTime utc_calendar_time(std::int64_t seconds);

// Stores size, creation time (as UTC+9) and name of the file at `path` in `header`. Returns
// false, with the header unchanged, when the file cannot be opened or its name is too long
// for the header.
bool store_file_facts(MtvHeader& header, const std::string& path);

}  // namespace quarnel
