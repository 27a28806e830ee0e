#include "input/block_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "base/settings.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr auto block = static_cast<std::size_t>(BlockReader::block_size);

// Bytes that never form a prefix and differ from their neighbours.
Bytes filler(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(0x10 + (i * 7) % 0xE0);
    return bytes;
}

void put_start_code(Bytes& bytes, std::size_t at, std::uint8_t code) {
    bytes[at] = 0;
    bytes[at + 1] = 0;
    bytes[at + 2] = 1;
    bytes[at + 3] = code;
}

struct BlockReaderTest : ::testing::Test {
    std::unique_ptr<BlockReader> open(const Bytes& bytes) {
        return block_reader_open(dir.write("in.mpg", bytes), settings);
    }
    test::TempDir dir;
    MemorySettings settings;
};

TEST_F(BlockReaderTest, EmptyOrMissingFileCannotBeOpenedAndOneByteIsEightBits) {
    EXPECT_FALSE(open({}));
    EXPECT_FALSE(block_reader_open(dir.file("absent.mpg"), settings));
    const auto reader = open({0xAB});
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->tell(), 0);
    EXPECT_EQ(reader->peek_bits(32), 0xAB000000u);
    EXPECT_EQ(reader->peek_bits(4), 0xAu);
    EXPECT_EQ(reader->get_bits(8), 0xABu);
    EXPECT_EQ(reader->tell(), 1);
    EXPECT_EQ(reader->get_bits(8), 0u);
    EXPECT_FALSE(reader->next_start_code());
}

TEST_F(BlockReaderTest, BitsAreReadMostSignificantFirst) {
    const auto reader = open({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC});
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->get_bits(0), 0u);
    EXPECT_EQ(reader->get_bits(4), 0x1u);
    EXPECT_EQ(reader->get_bits(12), 0x234u);
    EXPECT_EQ(reader->peek_bits(24), 0x56789Au);
    EXPECT_EQ(reader->get_bits(32), 0x56789ABCu);
    EXPECT_EQ(reader->tell(), 6);
}

TEST_F(BlockReaderTest, GetBitsNearTheEndFillsTheTopHalf) {
    const auto reader = open({0xFF, 0xFF, 0xFF, 0x12, 0x34});
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->seek(3, SeekOrigin::begin), 3);
    EXPECT_EQ(reader->peek_bits(32), 0x12340000u);
    EXPECT_EQ(reader->get_bits(32), 0x12340000u);
    EXPECT_EQ(reader->tell(), 5);
}

TEST_F(BlockReaderTest, SeekFromTheCurrentPositionKeepsTheNextBits) {
    const Bytes bytes = filler(block + 100);
    const auto reader = open(bytes);
    ASSERT_TRUE(reader);
    Bytes skipped(block - 3);
    ASSERT_EQ(reader->read_bytes(skipped.data(), skipped.size()), skipped.size());
    EXPECT_EQ(reader->get_bits(8), bytes[block - 3]);
    const std::uint32_t next = reader->peek_bits(32);
    EXPECT_EQ(reader->seek(0, SeekOrigin::current), std::int64_t(block - 2));
    EXPECT_EQ(reader->peek_bits(32), next);
    EXPECT_EQ(reader->seek(-100, SeekOrigin::end), std::int64_t(block));
    EXPECT_EQ(reader->seek(-5000, SeekOrigin::current), std::int64_t(block - 5000));
    EXPECT_EQ(reader->seek(INT64_MAX, SeekOrigin::current), std::int64_t(block + 100));
    EXPECT_EQ(reader->get_bits(8), 0u);
}

TEST_F(BlockReaderTest, ReadBytesResumesAfterCachedBytesOfThePreviousBlock) {
    const Bytes bytes = filler(block + 64);
    for (std::size_t before = 2; before <= 6; ++before) {
        const auto reader = open(bytes);
        ASSERT_TRUE(reader);
        Bytes got(block - before);
        ASSERT_EQ(reader->read_bytes(got.data(), got.size()), got.size());
        ASSERT_EQ(reader->get_bits(16), (bytes[block - before] << 8u) | bytes[block - before + 1]);
        got.assign(10, 0);
        ASSERT_EQ(reader->read_bytes(got.data(), got.size()), 10u);
        const auto from = static_cast<std::ptrdiff_t>(block - before + 2);
        EXPECT_EQ(got, Bytes(bytes.begin() + from, bytes.begin() + from + 10)) << before;
        EXPECT_EQ(reader->tell(), from + 10);
    }
}

TEST_F(BlockReaderTest, ReadBytesStopsAtTheEnd) {
    const Bytes bytes = filler(block + 10);
    const auto reader = open(bytes);
    ASSERT_TRUE(reader);
    Bytes got(block * 2);
    EXPECT_EQ(reader->read_bytes(got.data(), got.size()), bytes.size());
    got.resize(bytes.size());
    EXPECT_EQ(got, bytes);
    EXPECT_EQ(reader->read_bytes(got.data(), 1), 0u);
}

TEST_F(BlockReaderTest, StartCodeSplitAcrossBlocksIsFoundInBothDirections) {
    for (std::size_t at = block - 3; at <= block; ++at) {
        Bytes bytes = filler(block + 100);
        put_start_code(bytes, at, 0xB3);
        const auto reader = open(bytes);
        ASSERT_TRUE(reader);
        ASSERT_TRUE(reader->next_start_code()) << at;
        EXPECT_EQ(reader->tell(), std::int64_t(at));
        EXPECT_EQ(reader->get_bits(32), 0x1B3u);
        EXPECT_FALSE(reader->next_start_code());
        EXPECT_EQ(reader->tell(), std::int64_t(bytes.size()));

        reader->seek(block, SeekOrigin::begin);
        ASSERT_TRUE(reader->prev_start_code()) << at;
        EXPECT_EQ(reader->tell(), std::int64_t(at));
        EXPECT_EQ(reader->peek_bits(32), 0x1B3u);
    }
}

TEST_F(BlockReaderTest, StepBackFindsTheNearestEarlierStartCode) {
    Bytes bytes = filler(2 * block + 100);
    const std::vector<std::size_t> codes = {10, 14, block - 2, block + 1000, 2 * block - 1};
    for (std::size_t i = 0; i < codes.size(); ++i)
        put_start_code(bytes, codes[i], static_cast<std::uint8_t>(0xC0 + i));
    const auto reader = open(bytes);
    ASSERT_TRUE(reader);
    reader->seek(0, SeekOrigin::end);
    for (std::size_t i = codes.size(); i-- > 0;) {
        ASSERT_TRUE(reader->prev_start_code()) << i;
        EXPECT_EQ(reader->tell(), std::int64_t(codes[i]));
        EXPECT_EQ(reader->peek_bits(32), 0x100u + 0xC0 + i);
        reader->step_back();
    }
    EXPECT_FALSE(reader->prev_start_code());
    EXPECT_EQ(reader->tell(), 10);
    EXPECT_EQ(reader->get_bits(32), 0x1C0u);
}

TEST_F(BlockReaderTest, SearchesAgreeWithAPlainScanOnRandomData) {
    std::mt19937 rng(11);
    // Few distinct values make prefixes, near misses and block-straddling prefixes frequent.
    std::uniform_int_distribution<int> value(0, 2);
    Bytes bytes(2 * block + 37);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(value(rng));
    put_start_code(bytes, block - 2, 0xB3);
    put_start_code(bytes, 2 * block - 1, 0xB8);
    std::vector<std::int64_t> expected;
    for (std::size_t i = 0; i + 2 < bytes.size(); ++i)
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1)
            expected.push_back(std::int64_t(i));
    const auto reader = open(bytes);
    ASSERT_TRUE(reader);

    std::vector<std::int64_t> forward;
    while (reader->next_start_code()) {
        forward.push_back(reader->tell());
        reader->get_bits(8);
    }
    EXPECT_EQ(forward, expected);

    std::vector<std::int64_t> backward;
    reader->seek(0, SeekOrigin::end);
    while (reader->prev_start_code()) {
        backward.push_back(reader->tell());
        reader->step_back();
    }
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, expected);
}

TEST_F(BlockReaderTest, NoStartCodeMeansFalseWithoutMoving) {
    const auto reader = open(filler(block + 5));
    ASSERT_TRUE(reader);
    reader->seek(1000, SeekOrigin::begin);
    EXPECT_FALSE(reader->prev_start_code());
    EXPECT_EQ(reader->tell(), 1000);
    EXPECT_FALSE(reader->next_start_code());
    EXPECT_EQ(reader->tell(), std::int64_t(block + 5));
}

TEST_F(BlockReaderTest, ReadsAcrossTheFilesOfASequence) {
    settings.set("file", 1);
    // The prefix spans both the boundary of the files and that of the first block.
    Bytes first = filler(block - 1);
    first[block - 3] = 0;
    first[block - 2] = 0;
    dir.write("r1.mpg", first);
    dir.write("r2.mpg", Bytes{1, 0xBA, 0x44, 0, 0, 1, 0xE0});
    const auto reader = block_reader_open(dir.file("r1.mpg"), settings);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->file_set().file_count(), 2);
    ASSERT_TRUE(reader->next_start_code());
    EXPECT_EQ(reader->tell(), std::int64_t(block - 3));
    EXPECT_EQ(reader->get_bits(32), 0x1BAu);
    ASSERT_TRUE(reader->next_start_code());
    EXPECT_EQ(reader->tell(), std::int64_t(block + 2));
    EXPECT_EQ(reader->get_bits(32), 0x1E0u);
}

// Start-code searches stop at the search limit even where no start code breaks up the bytes,
// so that a large file without one is not read to its end.
constexpr std::int64_t mib = 1 << 20;

// `gap` zero bytes, then a pack header.
std::string late_pack(const test::TempDir& dir, std::int64_t gap) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(gap), 0);
    bytes.insert(bytes.end(), {0x00, 0x00, 0x01, 0xBA, 0x44, 0, 4, 0, 4, 1, 1, 0x89, 0xC3, 0xF8});
    return dir.write("late.mpg", bytes);
}

TEST(SearchLimitRegression, TheBlockReaderSearchStopsPastTheLimit) {
    const test::TempDir dir;
    const auto reader = block_reader_open(late_pack(dir, 3 * mib), MemorySettings{});
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(reader->next_start_code(mib));
    EXPECT_GT(reader->tell(), mib);
    EXPECT_LT(reader->tell(), 3 * mib);
    ASSERT_TRUE(reader->next_start_code());
    EXPECT_EQ(reader->tell(), 3 * mib);
}

}  // namespace
}  // namespace quarnel
