#include "input/read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "base/settings.h"
#include "input/file_set.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes that do not repeat with any power-of-two period, so that a half delivered to the
// wrong place or from the wrong position shows.
Bytes scrambled(std::size_t size) {
    Bytes bytes(size);
    std::uint32_t state = 12345;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 23);
    }
    return bytes;
}

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t size) {
    const std::size_t end = std::min(bytes.size(), from + size);
    return from < end ? Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                              bytes.begin() + static_cast<std::ptrdiff_t>(end))
                      : Bytes{};
}

struct ReadingAhead : ::testing::Test {
    test::TempDir dir;
    const Bytes content = scrambled(3 * 1024 * 1024 + 123);
    const std::string path = dir.write("big.mpg", content);
    std::optional<OsFile> file = OsFile::open(path);
    ReadAhead reader;

    Bytes read(std::size_t position, std::size_t size) {
        Bytes got(size, 0xEE);
        got.resize(reader.read_at(*file, static_cast<std::int64_t>(position), got.data(), size));
        return got;
    }
    // Reads blocks of `size` from `position` to the end, as a scan does.
    Bytes read_run(std::size_t position, std::size_t size) {
        Bytes all;
        while (true) {
            const Bytes block = read(position + all.size(), size);
            all.insert(all.end(), block.begin(), block.end());
            if (block.size() < size) return all;
        }
    }
};

TEST_F(ReadingAhead, RunsOfEveryBlockSizeArriveWholeAndInOrder) {
    ASSERT_TRUE(file);
    for (const std::size_t size : {ReadAhead::smallest_block - 1, ReadAhead::smallest_block,
                                   std::size_t{0x80000}, std::size_t{0x80000 + 4097}}) {
        for (const std::size_t position : {std::size_t{0}, std::size_t{777777}})
            EXPECT_EQ(read_run(position, size), slice(content, position, content.size()))
                << size << " bytes from " << position;
    }
}

TEST_F(ReadingAhead, SeeksAndOtherSizesInsideARunReadWhatTheyName) {
    ASSERT_TRUE(file);
    for (std::size_t position = 0; position < 4 * 0x80000; position += 0x80000)
        ASSERT_EQ(read(position, 0x80000), slice(content, position, 0x80000));
    EXPECT_EQ(read(100, 0x80000), slice(content, 100, 0x80000));  // back, while blocks wait
    EXPECT_EQ(read(100 + 0x80000, 5000), slice(content, 100 + 0x80000, 5000));
    EXPECT_EQ(read(2 * 1024 * 1024, 0x80000), slice(content, 2 * 1024 * 1024, 0x80000));
    EXPECT_EQ(read_run(3, 0x80000), slice(content, 3, content.size()));
}

TEST_F(ReadingAhead, TheEndOfTheFileEndsARunAndAGrownFileReadsOn) {
    ASSERT_TRUE(file);
    EXPECT_EQ(read_run(0, 0x80000), content);
    EXPECT_TRUE(read(content.size(), 0x80000).empty());
    EXPECT_TRUE(read(content.size() + 5, 0x80000).empty());

    // A recording still being written: what was appended after the run met the end is read.
    const Bytes more = scrambled(1000);
    std::ofstream(path, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(more.data()),
               static_cast<std::streamsize>(more.size()));
    EXPECT_EQ(read(content.size() - 10, 0x80000).size(), 1010u);
}

TEST_F(ReadingAhead, LentBlocksHoldTheRunsBytesUntilTheNextCall) {
    ASSERT_TRUE(file);
    constexpr std::size_t size = 0x40000;
    // Outside a run nothing is lent.
    EXPECT_TRUE(reader.lend_at(*file, 0, size).empty());
    Bytes all = read(0, size);
    const Bytes second = read(size, size);  // the run starts after this read
    all.insert(all.end(), second.begin(), second.end());

    // Lending and reading take turns down the run. While a block is lent, the helper has all
    // the time it needs to fill every free block: the lent one must keep its bytes.
    for (int turn = 0; all.size() < content.size(); ++turn) {
        if (turn % 3 != 2) {
            const auto lent = reader.lend_at(*file, static_cast<std::int64_t>(all.size()), size);
            if (lent.empty()) break;  // the short last block is left to read_at
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ASSERT_EQ(Bytes(lent.begin(), lent.end()), slice(content, all.size(), size))
                << "lent at " << all.size();
            all.insert(all.end(), lent.begin(), lent.end());
        } else {
            const Bytes block = read(all.size(), size);
            all.insert(all.end(), block.begin(), block.end());
        }
    }
    ASSERT_LT(content.size() - all.size(), size);
    const Bytes last = read(all.size(), size);
    all.insert(all.end(), last.begin(), last.end());
    EXPECT_EQ(all, content);

    // A lend that does not continue the run, or of another size, lends nothing.
    read(0, size);
    read(size, size);
    EXPECT_TRUE(reader.lend_at(*file, 5 * size, size).empty());
    EXPECT_TRUE(reader.lend_at(*file, 2 * size, size / 2).empty());
    EXPECT_EQ(read(2 * size, size), slice(content, 2 * size, size));
}

TEST(ReadAheadFileSet, LargeReadsRunAcrossSplitFilesAndStopAtAShrunkFile) {
    const test::TempDir dir;
    MemorySettings follow;
    follow.set("file", 1);
    const Bytes content = scrambled(3 * 700000);
    const auto first = dir.write("cut1.mpg", slice(content, 0, 700000));
    dir.write("cut2.mpg", slice(content, 700000, 700000));
    dir.write("cut3.mpg", slice(content, 1400000, 700000));
    const auto set = file_set_open(first, follow);
    ASSERT_TRUE(set);

    Bytes all(content.size() + 0x80000);
    std::size_t filled = 0;
    while (const std::size_t got = set->read(all.data() + filled, 0x80000)) filled += got;
    all.resize(filled);
    EXPECT_EQ(all, content);

    // Lent blocks are the bytes read() would deliver, and lending stops where an entry ends.
    ASSERT_EQ(set->seek(0, SeekOrigin::begin), 0);
    constexpr std::size_t size = ReadAhead::smallest_block;
    Bytes lent_or_read;
    int lends = 0;
    while (lent_or_read.size() < content.size()) {
        const std::size_t at = lent_or_read.size();
        if (const auto lent = set->lend(size); !lent.empty()) {
            ++lends;
            ASSERT_EQ(lent.size(), size);
            lent_or_read.insert(lent_or_read.end(), lent.begin(), lent.end());
        } else {
            Bytes block(size);
            block.resize(set->read(block.data(), size));
            ASSERT_FALSE(block.empty()) << "at " << at;
            lent_or_read.insert(lent_or_read.end(), block.begin(), block.end());
        }
        ASSERT_EQ(set->tell(), static_cast<std::int64_t>(lent_or_read.size()));
    }
    EXPECT_EQ(lent_or_read, content);
    EXPECT_GT(lends, 0);
    EXPECT_TRUE(set->lend(size).empty());  // at the end

    // The middle file loses its second half after the set measured it: the read goes on with
    // the third file's first byte, where the positions resume.
    std::filesystem::resize_file(dir.file("cut2.mpg"), 350000);
    ASSERT_EQ(set->seek(600000, SeekOrigin::begin), 600000);
    Bytes block(0x80000);
    ASSERT_EQ(set->read(block.data(), block.size()), block.size());
    Bytes expected = slice(content, 600000, 450000);
    const Bytes resumed = slice(content, 1400000, block.size() - 450000);
    expected.insert(expected.end(), resumed.begin(), resumed.end());
    EXPECT_EQ(block, expected);
    EXPECT_EQ(set->tell(), 1400000 + static_cast<std::int64_t>(resumed.size()));
}

}  // namespace
}  // namespace quarnel
