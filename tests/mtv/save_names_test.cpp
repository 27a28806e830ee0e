#include "mtv/save_names.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(SaveNames, TitleDropsFolderAndOnlyTheLastExtension) {
    EXPECT_EQ(file_title("clip.m2p"), "clip");
    EXPECT_EQ(file_title("a.b.mpg"), "a.b");
    EXPECT_EQ(file_title("clip"), "clip");
    EXPECT_EQ(file_title("/rec/show.part1.mpg"), "show.part1");
    EXPECT_EQ(file_title("/rec.d/clip"), "clip");
}

TEST(SaveNames, DefaultSaveNameIsTheTitleWithMtv) {
    EXPECT_EQ(default_save_name("clip.m2p"), "clip.mtv");
    EXPECT_EQ(default_save_name("a.b.mpg"), "a.b.mtv");
    EXPECT_EQ(default_save_name("clip"), "clip.mtv");
}

TEST(SaveNames, TypedNameWithoutExtensionGetsMtv) {
    EXPECT_EQ(with_default_extension("/out/take1"), "/out/take1.mtv");
    EXPECT_EQ(with_default_extension("/out.d/take1"), "/out.d/take1.mtv");
    EXPECT_EQ(with_default_extension("/out/take1.mtv"), "/out/take1.mtv");
    EXPECT_EQ(with_default_extension("/out/take1.hdr"), "/out/take1.hdr");
}

TEST(SaveNames, BatchWritesBesideTheInputUnderItsTitle) {
    EXPECT_EQ(batch_output_path("/rec/a.m2p"), "/rec/a.mtv");
    EXPECT_EQ(batch_output_path("/rec/b.part1.mpg"), "/rec/b.part1.mtv");
    EXPECT_EQ(batch_output_path("/rec/clip"), "/rec/clip.mtv");
    EXPECT_EQ(batch_output_path("/x.mpg"), "/x.mtv");
    EXPECT_EQ(batch_output_path("x.mpg"), "x.mtv");
}

TEST(SaveNames, ParentFolderIsThePathLessItsLastComponent) {
    EXPECT_EQ(parent_folder("/rec/a.m2p"), "/rec");
    EXPECT_EQ(parent_folder("/a.m2p"), "/");
    EXPECT_EQ(parent_folder("a.m2p"), "");
}

}  // namespace
}  // namespace quarnel
