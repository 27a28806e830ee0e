#include "input/file_set.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <numeric>
#include <vector>

#include "base/settings.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes first, first + 1, ... (wrapping), so that every position's byte is recognisable.
Bytes counting(std::size_t size, std::uint8_t first) {
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

struct Sequence : ::testing::Test {
    Sequence() { follow.set("file", 1); }
    test::TempDir dir;
    MemorySettings follow;
    MemorySettings single;
};

TEST_F(Sequence, EntriesFollowEachOtherAndFileEndClampsTheIndex) {
    const auto first = dir.write("a001.mpg", counting(100, 0));
    dir.write("a002.mpg", counting(50, 100));
    dir.write("a003.mpg", counting(30, 150));
    dir.write("a005.mpg", counting(7, 0));  // after a gap: not part of the set
    const auto set = file_set_open(first, follow);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->file_count(), 3);
    EXPECT_EQ(set->file_end(0), 100);
    EXPECT_EQ(set->file_end(1), 150);
    EXPECT_EQ(set->file_end(-5), 100);
    EXPECT_EQ(set->file_end(7), 180);
    EXPECT_EQ(set->seek(0, SeekOrigin::end), 180);

    EXPECT_EQ(set->seek(0, SeekOrigin::begin), 0);
    Bytes all(200);
    EXPECT_EQ(set->read(all.data(), all.size()), 180u);
    all.resize(180);
    EXPECT_EQ(all, counting(180, 0));
    EXPECT_EQ(set->tell(), 180);
    EXPECT_EQ(set->read(all.data(), 1), 0u);
}

TEST_F(Sequence, ReadRunsAcrossTheBoundaryOfTwoFiles) {
    const auto first = dir.write("rec7.mpg", counting(100, 0));
    dir.write("rec8.mpg", counting(100, 100));
    const auto set = file_set_open(first, follow);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->seek(90, SeekOrigin::begin), 90);
    Bytes got(30);
    EXPECT_EQ(set->read(got.data(), got.size()), 30u);
    EXPECT_EQ(got, counting(30, 90));
    EXPECT_EQ(set->tell(), 120);
    EXPECT_EQ(set->seek(-25, SeekOrigin::current), 95);
    EXPECT_EQ(set->read(got.data(), 1), 1u);
    EXPECT_EQ(got[0], 95);
}

TEST_F(Sequence, SeeksAreClampedToTheSet) {
    const auto first = dir.write("p1.mpg", counting(10, 0));
    dir.write("p2.mpg", counting(10, 10));
    const auto set = file_set_open(first, follow);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->seek(-3, SeekOrigin::begin), 0);
    EXPECT_EQ(set->seek(INT64_MIN, SeekOrigin::end), 0);
    EXPECT_EQ(set->seek(INT64_MAX, SeekOrigin::current), 20);
    EXPECT_EQ(set->tell(), 20);
    std::uint8_t byte = 0;
    EXPECT_EQ(set->read(&byte, 1), 0u);
    EXPECT_EQ(set->seek(-1, SeekOrigin::current), 19);
    EXPECT_EQ(set->read(&byte, 1), 1u);
    EXPECT_EQ(byte, 19);
}

TEST_F(Sequence, ZeroLengthFileIsPassedOver) {
    const auto first = dir.write("z1.mpg", counting(10, 0));
    dir.write("z2.mpg", Bytes{});
    dir.write("z3.mpg", counting(10, 10));
    const auto set = file_set_open(first, follow);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->file_count(), 3);
    EXPECT_EQ(set->file_end(1), 10);
    EXPECT_EQ(set->seek(10, SeekOrigin::begin), 10);
    Bytes got(4);
    EXPECT_EQ(set->read(got.data(), 4), 4u);
    EXPECT_EQ(got, counting(4, 10));
    EXPECT_EQ(set->seek(8, SeekOrigin::begin), 8);
    EXPECT_EQ(set->read(got.data(), 4), 4u);
    EXPECT_EQ(got, counting(4, 8));
}

TEST_F(Sequence, MissingLaterFileEndsReadsAndSeeksAtItsStart) {
    const auto first = dir.write("m1.mpg", counting(10, 0));
    const auto second = dir.write("m2.mpg", counting(10, 10));
    const auto set = file_set_open(first, follow);
    ASSERT_TRUE(set);
    std::filesystem::remove(second);
    Bytes got(20);
    EXPECT_EQ(set->read(got.data(), 20), 10u);
    EXPECT_EQ(set->seek(15, SeekOrigin::begin), 10);
}

TEST_F(Sequence, OneFileUnlessTheSettingIsExactlyOne) {
    const auto first = dir.write("part1.mpg", counting(10, 0));
    dir.write("part2.mpg", counting(10, 10));
    EXPECT_EQ(file_set_open(first, single)->file_count(), 1);
    single.set("file", 2);
    EXPECT_EQ(file_set_open(first, single)->file_count(), 1);
    EXPECT_EQ(file_set_open(first, follow)->file_count(), 2);
}

TEST_F(Sequence, NamesWithoutANumberGiveOneFile) {
    const auto movie = dir.write("movie.mpg", counting(10, 0));
    dir.write("movif.mpg", counting(10, 0));
    const auto bare = dir.write(".mpg", counting(10, 0));
    EXPECT_EQ(file_set_open(movie, follow)->file_count(), 1);
    EXPECT_EQ(file_set_open(bare, follow)->file_count(), 1);
}

TEST(SingleFile, ReadsSeeksAndClampsLikeASet) {
    const test::TempDir dir;
    const MemorySettings none;
    const auto set = file_set_open(dir.write("one.mpg", counting(10, 0)), none);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->file_count(), 1);
    EXPECT_EQ(set->file_end(3), 10);
    EXPECT_EQ(set->seek(0, SeekOrigin::end), 10);
    EXPECT_EQ(set->seek(-4, SeekOrigin::current), 6);
    Bytes got(10);
    EXPECT_EQ(set->read(got.data(), 10), 4u);
    EXPECT_EQ(set->seek(-20, SeekOrigin::begin), 0);
    EXPECT_EQ(set->seek(20, SeekOrigin::begin), 10);
    EXPECT_EQ(set->tell(), 10);
    EXPECT_EQ(set->read(got.data(), 10), 0u);
}

TEST(FileSetOpen, FailsForMissingFilesDirectoriesAndPipes) {
    const test::TempDir dir;
    const MemorySettings none;
    EXPECT_FALSE(file_set_open(dir.file("absent.mpg"), none));
    EXPECT_FALSE(file_set_open(dir.path().string(), none));
#ifndef _WIN32
    // A pipe without a writer would block an ordinary open.
    ASSERT_EQ(mkfifo(dir.file("pipe.mpg").c_str(), 0600), 0);
    EXPECT_FALSE(file_set_open(dir.file("pipe.mpg"), none));
#endif
}

TEST(SequenceNames, IncrementTheLastNumberOfTheFileName) {
    EXPECT_EQ(next_sequence_name("clip_009.m2p"), "clip_010.m2p");
    EXPECT_EQ(next_sequence_name("a099.mpg"), "a100.mpg");
    EXPECT_EQ(next_sequence_name("rec7.mpg"), "rec8.mpg");
    EXPECT_EQ(next_sequence_name("show.part1.mpg"), "show.part2.mpg");
    EXPECT_EQ(next_sequence_name("disc2/take19"), "disc2/take20");
    EXPECT_EQ(next_sequence_name("dir.v1/x5"), "dir.v1/x6");
    EXPECT_EQ(next_sequence_name("/v1/t\xC3\xA9l\xC3\xA9"
                                 "3.mpg"),
              "/v1/t\xC3\xA9l\xC3\xA9"
              "4.mpg");
}

TEST(SequenceNames, NoSuccessorWithoutADigitOrWhenAllNines) {
    for (const char* name :
         {"a99.mpg", "rec9.mpg", "movie.mpg", ".mpg", "dir9/.mpg", "take1/movie.mp2", "dir/", ""})
        EXPECT_EQ(next_sequence_name(name), std::nullopt) << name;
}

TEST(SequenceNames, BackslashIsAnOrdinaryCharacterOnPosix) {
#ifndef _WIN32
    EXPECT_EQ(next_sequence_name("a1\\b.mpg"), "a2\\b.mpg");
#else
    EXPECT_EQ(next_sequence_name("a1\\b.mpg"), std::nullopt);
#endif
}

}  // namespace
}  // namespace quarnel
