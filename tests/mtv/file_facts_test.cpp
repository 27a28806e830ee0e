#include "mtv/file_facts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <tuple>

#include "mtv/temp_dir.h"

namespace quarnel {
namespace {

using testing::TempDir;
using testing::write_all;

auto fields(const CalendarTime& t) {
    return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

// Whether the file system records birth times, asked the way a shell user would.
bool birth_time_kept(const std::string& path) {
    return std::system(("stat -c %W '" + path + "' | grep -qv '^0$'").c_str()) == 0;
}

auto stored_time(const MtvHeader& h) {
    return std::make_tuple(h.GetCreateYear(), h.GetCreateMonth(), h.GetCreateDay(),
                           h.GetCreateHour(), h.GetCreateMinute(), h.GetCreateSecond());
}

TEST(UtcCalendarTime, ConvertsSecondsSinceTheEpoch) {
    EXPECT_EQ(fields(utc_calendar_time(0)), std::make_tuple(1970, 1, 1, 0, 0, 0));
    EXPECT_EQ(fields(utc_calendar_time(1104524107)), std::make_tuple(2004, 12, 31, 20, 15, 7));
    EXPECT_EQ(fields(utc_calendar_time(1077984000)), std::make_tuple(2004, 2, 28, 16, 0, 0));
    EXPECT_EQ(fields(utc_calendar_time(-1)), std::make_tuple(1969, 12, 31, 23, 59, 59));
}

TEST(UtcCalendarTime, AbsurdTimeStampsStayWithinFourDigitYears) {
    EXPECT_EQ(fields(utc_calendar_time(std::numeric_limits<std::int64_t>::max())),
              std::make_tuple(9999, 12, 31, 23, 59, 59));
    EXPECT_EQ(fields(utc_calendar_time(std::numeric_limits<std::int64_t>::min())),
              std::make_tuple(1, 1, 1, 0, 0, 0));
}

TEST(FileFactsStep, StoresSizeNameAndBirthTimeAsUtcPlusNine) {
    TempDir dir;
    const std::string path = dir.file("clip one.m2p");
    const std::int64_t before = std::time(nullptr);
    write_all(path, std::vector<std::uint8_t>(1234, 0x47));
    // A modification time far from the birth time tells which of the two was taken.
    const std::chrono::sys_seconds modified =
        std::chrono::sys_days(std::chrono::year{2000} / 1 / 1);
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(modified));
    MtvHeader h;
    ASSERT_TRUE(store_file_facts(h, path));
    const std::int64_t after = std::time(nullptr);

    EXPECT_EQ(h.GetFileSize(), 1234u);
    EXPECT_EQ(h.GetFileName(), "clip one.m2p");
    // The file was made during the test; file system clocks may trail by a tick. Where the
    // file system keeps no birth time, the modification time stands in.
    MtvHeader fallback;
    fallback.SetCreationTime({2000, 1, 1, 0, 0, 0});
    bool matched = stored_time(h) == stored_time(fallback) && !birth_time_kept(path);
    for (std::int64_t t = before - 2; t <= after + 1 && !matched; ++t) {
        MtvHeader expected;
        expected.SetCreationTime(utc_calendar_time(t));
        matched = stored_time(h) == stored_time(expected);
    }
    EXPECT_TRUE(matched) << h.GetCreateYear() << "-" << h.GetCreateMonth() << "-"
                         << h.GetCreateDay() << " " << h.GetCreateHour() << ":"
                         << h.GetCreateMinute() << ":" << h.GetCreateSecond();
}

TEST(FileFactsStep, LeavesTheHeaderAloneWhenThereIsNoFileToRead) {
    TempDir dir;
    MtvHeader h;
    const MtvHeader before = h;
    EXPECT_FALSE(store_file_facts(h, dir.file("absent.m2p")));
    EXPECT_FALSE(store_file_facts(h, dir.file("")));  // a directory
    EXPECT_TRUE(std::equal(h.bytes().begin(), h.bytes().end(), before.bytes().begin()));
}

}  // namespace
}  // namespace quarnel
