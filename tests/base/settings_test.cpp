#include "base/settings.h"

#include <gtest/gtest.h>

#include "base/settings_file.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

TEST(Settings, MissingValuesGiveTheDefaults) {
    const FileSettings no_file(test::TempDir().file("absent.conf"));
    const VideoSettings video = read_video_settings(no_file);
    EXPECT_EQ(video.re_map, 1);
    EXPECT_EQ(video.idct_func, 1);
    for (const auto value : {video.yuy2_matrix, video.aspect_ratio, video.field_order, video.simd,
                             video.color_matrix, video.gl})
        EXPECT_EQ(value, 0);
    EXPECT_EQ(read_search_limit(no_file), 8388608);
    EXPECT_FALSE(read_follow_sequences(no_file));
}

TEST(Settings, ReMapIsAnyNonZeroAndFileIsExactlyOne) {
    MemorySettings store;
    store.set("re_map", 5);
    store.set("file", 2);
    store.set("simd", 5);
    EXPECT_EQ(read_setting(store, "re_map", 1), 1);
    EXPECT_EQ(read_setting(store, "file", 0), 0);
    EXPECT_EQ(read_setting(store, "simd", 0), 5);
    EXPECT_FALSE(read_follow_sequences(store));
    store.set("re_map", 0);
    store.set("file", 1);
    EXPECT_EQ(read_video_settings(store).re_map, 0);
    EXPECT_TRUE(read_follow_sequences(store));
}

TEST(Settings, ValuesAreDecimalOrHexadecimalAndFitIn32Bits) {
    EXPECT_EQ(parse_setting_value("0x10"), 16u);
    EXPECT_EQ(parse_setting_value(" 4294967295 "), 0xFFFFFFFFu);
    EXPECT_EQ(parse_setting_value("0XfF"), 255u);
    for (const char* bad :
         {"", "0x", "0x100000000", "4294967296", "-1", "+1", "12abc", "1 2", "0x-1"})
        EXPECT_EQ(parse_setting_value(bad), std::nullopt) << bad;
}

TEST(Settings, AssignmentsNeedANameAndAValue) {
    const auto parsed = parse_setting_assignment(" limit = 0x1000");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->name, "limit");
    EXPECT_EQ(parsed->value, 0x1000u);
    EXPECT_FALSE(parse_setting_assignment("limit"));
    EXPECT_FALSE(parse_setting_assignment("=3"));
    EXPECT_FALSE(parse_setting_assignment("limit=lots"));
}

TEST(SettingsFile, ReadsNamesValuesAndComments) {
    const test::TempDir dir;
    const FileSettings store(dir.write("s.conf",
                                       "# tuning\n"
                                       "simd = 0x7   # all extensions\n"
                                       "gl=3\r\n"
                                       "limit=0x100000000\n"
                                       "field_order=1\n"
                                       "field_order=oops\n"
                                       "color_matrix=2\n"
                                       "color_matrix=4\n"
                                       "#aspect_ratio=1\n"
                                       "no assignment here\n"));
    const VideoSettings video = read_video_settings(store);
    EXPECT_EQ(video.simd, 7);
    EXPECT_EQ(video.gl, 3);
    EXPECT_EQ(video.color_matrix, 4);  // the later line wins
    EXPECT_EQ(video.field_order, 0);   // the later line does not parse: missing
    EXPECT_EQ(video.aspect_ratio, 0);
    EXPECT_EQ(read_search_limit(store), default_search_limit);  // 64-bit value ignored
}

TEST(SettingsFile, IsReadAgainAtEveryQuery) {
    const test::TempDir dir;
    const FileSettings store(dir.write("s.conf", "file=1\n"));
    EXPECT_TRUE(read_follow_sequences(store));
    dir.write("s.conf", "file=0\n");
    EXPECT_FALSE(read_follow_sequences(store));
}

TEST(SettingsFile, LocationPrefersTheNamedFileThenXdgThenHome) {
    EXPECT_EQ(settings_file_location("/tmp/q.conf", "/x", "/h"), "/tmp/q.conf");
    EXPECT_EQ(settings_file_location(nullptr, "/x", "/h"), "/x/orvane/daro2zud_aze.conf");
    EXPECT_EQ(settings_file_location("", "", "/h"), "/h/.config/orvane/daro2zud_aze.conf");
    EXPECT_EQ(settings_file_location(nullptr, nullptr, nullptr), std::nullopt);
}

TEST(SettingsOverrides, ReplaceSingleValuesOfTheBase) {
    MemorySettings base;
    base.set("limit", 100);
    base.set("gl", 1);
    OverriddenSettings overrides(base);
    overrides.set("gl", 2);
    EXPECT_EQ(read_search_limit(overrides), 100);
    EXPECT_EQ(read_video_settings(overrides).gl, 2);
    EXPECT_EQ(overrides.query("simd"), std::nullopt);
}

}  // namespace
}  // namespace quarnel
