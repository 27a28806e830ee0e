#include "base/memory_bit_reader.h"

#include <gtest/gtest.h>

#include <memory>

namespace quarnel {
namespace {

TEST(MemoryBitReader, ReadsFieldsMostSignificantBitFirstAcrossBytes) {
    const std::uint8_t block[] = {0b1011'0011, 0xC5, 0x12, 0x34, 0x56, 0x78, 0x9A};
    MemoryBitReader bits(block, sizeof block);
    EXPECT_EQ(bits.peek_bits(2), 0b10u);
    EXPECT_EQ(bits.get_bits(3), 0b101u);
    EXPECT_EQ(bits.get_bits(9), 0b1'0011'1100u);
    EXPECT_EQ(bits.bytes_consumed(), 2u);
    bits.skip_bits(4);
    EXPECT_EQ(bits.get_bits(32), 0x12345678u);
    EXPECT_EQ(bits.get_bits(0), 0u);
    EXPECT_EQ(bits.get_bits(8), 0x9Au);
}

TEST(MemoryBitReader, DeliversZerosPastTheEndWithoutReadingThere) {
    // A heap block of exactly two bytes: reading beyond it would be caught by the sanitizer.
    auto block = std::make_unique<std::uint8_t[]>(2);
    block[0] = 0xAB;
    block[1] = 0xCD;
    MemoryBitReader bits(block.get(), 2);
    EXPECT_EQ(bits.get_bits(24), 0xABCD00u);
    EXPECT_EQ(bits.get_bits(32), 0u);
    EXPECT_EQ(bits.bytes_consumed(), 7u);

    MemoryBitReader empty(nullptr, 0);
    EXPECT_EQ(empty.peek_bits(8), 0u);
}

}  // namespace
}  // namespace quarnel
