#include "mtv/file_facts.h"

#include <algorithm>
#include <chrono>

#include "base/file_stat.h"
#include "base/regular_file.h"
#include "base/utf8_path.h"

namespace quarnel {

std::optional<FileFacts> read_file_facts(const std::string& path) {
    const StdioFile file = open_regular_file_for_reading(path);
    if (!file) return std::nullopt;
    const auto stat = stat_regular_file(file.get());
    if (!stat) return std::nullopt;
    return FileFacts{stat->size, utc_calendar_time(stat->created_seconds), file_name_of(path)};
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
