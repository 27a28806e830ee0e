#include "video/file_name_extensions.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(VideoExtension, EveryListedExtensionIsAcceptedInAnyCase) {
    for (const char* path : {"a.mpeg", "a.mpg", "a.m2p", "a.mp2", "a.vob", "a.vro", "a.m2v",
                             "a.m1v", "a.mpv", "a.ves", "a.m2t", "a.ssg", "a.ts", "a.bs",
                             "clip.M2V", "D:\\rec\\VTS_01_1.VOB", "/tmp/x.y/clip.Mpg"})
        EXPECT_TRUE(has_video_extension(path)) << path;
}

TEST(VideoExtension, OnlyTheTextAfterTheLastDotOfTheFileNameCounts) {
    for (const char* path : {"clip.m2v.txt", "clip", "", "clip.", ".", "dir.mpg/clip",
                             "dir.mpg\\clip", "clip.mpg2", "clip.mp", "clipmpg", "clip.m2v "})
        EXPECT_FALSE(has_video_extension(path)) << path;
    EXPECT_TRUE(has_video_extension(".mpg"));  // a hidden file on POSIX systems
}

}  // namespace
}  // namespace quarnel
