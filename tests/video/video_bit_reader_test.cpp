#include "video/video_bit_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/memory_stream_ops.h"
#include "video/header_codes.h"

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<VideoBitReader> open_bytes(const Bytes& bytes, std::size_t max_read = SIZE_MAX) {
    return VideoBitReader::open(std::make_unique<test::MemoryStreamOps>(bytes, max_read));
}

// A start code whose 00 00 (or 00) ends one 512 KiB read and whose rest begins the next.
Bytes split_prefix_stream(std::size_t bytes_before_split) {
    Bytes bytes(VideoBitReader::buffer_size - bytes_before_split, 0xFF);
    const Bytes tail{0x00, 0x00, 0x01, 0xB3, 0x12, 0x34};
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

TEST(VideoBitReader, FindsAPrefixSplitAcrossTwoReadsAtItsTruePosition) {
    for (const std::size_t split : {1u, 2u}) {
        auto reader = open_bytes(split_prefix_stream(split));
        ASSERT_TRUE(reader->next_start_code()) << split;
        const auto expected = static_cast<std::int64_t>(VideoBitReader::buffer_size - split);
        EXPECT_EQ(reader->stream_position(), expected);
        EXPECT_EQ(reader->start_code_position(), expected);
        EXPECT_EQ(reader->get_bits(32), sequence_header_code);
        EXPECT_EQ(reader->get_bits(16), 0x1234u);
    }
}

TEST(VideoBitReader, NextStartCodeStaysOnAnUnconsumedStartCode) {
    auto reader = open_bytes({0x00, 0x00, 0x01, 0xB3, 0x55, 0x00, 0x00, 0x01, 0xB8});
    ASSERT_TRUE(reader->next_start_code());
    ASSERT_TRUE(reader->next_start_code());
    EXPECT_EQ(reader->stream_position(), 0);
    EXPECT_EQ(reader->peek_bits(32), sequence_header_code);
    EXPECT_EQ(reader->get_bits(32), sequence_header_code);
    ASSERT_TRUE(reader->next_start_code());
    EXPECT_EQ(reader->start_code_position(), 5);
    EXPECT_EQ(reader->peek_bits(32), group_start_code);
}

TEST(VideoBitReader, SearchResumesAtTheNextWholeByteAfterAPartlyConsumedOne) {
    auto reader = open_bytes({0x00, 0x00, 0x01, 0xB3, 0x00, 0x00, 0x01, 0x00});
    EXPECT_EQ(reader->get_bits(4), 0u);
    ASSERT_TRUE(reader->next_start_code());
    EXPECT_EQ(reader->stream_position(), 4);
    EXPECT_EQ(reader->peek_bits(32), picture_start_code);
}

TEST(VideoBitReader, ReadsPastTheEndAsZeroBits) {
    auto reader = open_bytes({0xFF, 0xAB, 0xCD, 0xEF});
    EXPECT_EQ(reader->get_bits(8), 0xFFu);
    EXPECT_EQ(reader->peek_bits(32), 0xABCDEF00u);
    EXPECT_EQ(reader->get_bits(32), 0xABCDEF00u);
    EXPECT_EQ(reader->get_bits(8), 0u);
    EXPECT_EQ(reader->get_bits(0), 0u);
    EXPECT_TRUE(reader->skip_bits(0));
    EXPECT_FALSE(reader->skip_bits(1));
    EXPECT_FALSE(reader->next_start_code());
}

TEST(VideoBitReader, SkipBitsFailsExactlyWhereTheStreamEnds) {
    auto reader = open_bytes(Bytes(10, 0x11));
    EXPECT_TRUE(reader->skip_bits(79));
    EXPECT_TRUE(reader->skip_bits(1));
    EXPECT_FALSE(reader->skip_bits(1));
    reader->bit_reader_seek(0, SeekOrigin::begin);
    EXPECT_FALSE(reader->skip_bits(81));
}

TEST(VideoBitReader, SeekingToTheEndGivesTheSizeAndNoMoreStartCodes) {
    const Bytes bytes{0x00, 0x00, 0x01, 0xB3, 0x01, 0x02, 0x03};
    auto reader = open_bytes(bytes);
    EXPECT_EQ(reader->stream_size(), 7);
    EXPECT_EQ(reader->bit_reader_seek(0, SeekOrigin::end), 7);
    EXPECT_FALSE(reader->next_start_code());
    EXPECT_EQ(reader->bit_reader_seek(0, SeekOrigin::begin), 0);
    EXPECT_TRUE(reader->next_start_code());
    EXPECT_EQ(reader->bit_reader_seek(4, SeekOrigin::begin), 4);
    EXPECT_EQ(reader->get_bits(24), 0x010203u);
}

// The bits a reader must deliver: MSB first, zeros past the end.
std::uint32_t expected_bits(const Bytes& bytes, std::int64_t bit, int n) {
    std::uint32_t value = 0;
    for (int i = 0; i < n; ++i, ++bit) {
        const auto byte = static_cast<std::size_t>(bit / 8);
        const int set = byte < bytes.size() ? (bytes[byte] >> (7 - bit % 8)) & 1 : 0;
        value = (value << 1) | static_cast<std::uint32_t>(set);
    }
    return value;
}

std::int64_t expected_start_code(const Bytes& bytes, std::int64_t from) {
    for (auto p = static_cast<std::size_t>(from); p + 2 < bytes.size(); ++p) {
        if (bytes[p] == 0 && bytes[p + 1] == 0 && bytes[p + 2] == 1)
            return static_cast<std::int64_t>(p);
    }
    return -1;
}

// Layers that deliver a few bytes per read put every split and carry case within reach. Half
// of the layers report the start codes of part of each read, which the reader looks up
// rather than searches: the parts begin and end anywhere, before, in or after a prefix.
TEST(VideoBitReader, AgreesWithAPlainScanOverShortReadsOfRandomData) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> byte(0, 2);
    for (int round = 0; round < 600; ++round) {
        Bytes bytes(rng() % 200);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(rng));
        const std::size_t max_read = round % 4 == 3 ? 20 + rng() % 200 : 1 + rng() % 9;
        auto layer = std::make_unique<test::MemoryStreamOps>(bytes, max_read);
        if (round % 2 == 1) layer->report_found_start_codes(static_cast<unsigned>(round));
        auto reader = VideoBitReader::open(std::move(layer));
        std::int64_t bit = 0;
        for (int step = 0; step < 80; ++step) {
            if (rng() % 3 == 0) {
                const std::int64_t from = (bit + 7) / 8;
                const std::int64_t hit = expected_start_code(bytes, from);
                ASSERT_EQ(reader->next_start_code(), hit >= 0) << round << ' ' << step;
                if (hit < 0) break;
                ASSERT_EQ(reader->stream_position(), hit) << round << ' ' << step;
                bit = hit * 8;
            } else {
                const int n = static_cast<int>(rng() % 33);
                ASSERT_EQ(reader->get_bits(n), expected_bits(bytes, bit, n))
                    << round << ' ' << step;
                bit += n;
            }
        }
    }
}

}  // namespace
}  // namespace quarnel
