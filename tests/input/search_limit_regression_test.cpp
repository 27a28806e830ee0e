// Start-code searches stop at the search limit even where no start code breaks up the bytes,
// so that a large file without one is not read to its end.

#include <gtest/gtest.h>

#include <vector>

#include "base/settings.h"
#include "input/block_reader.h"
#include "input/ps_layer.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

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

TEST(SearchLimitRegression, AProgramStreamIsProbedOnlyWithinTheLimit) {
    const test::TempDir dir;
    const std::string path = late_pack(dir, 3 * mib);
    for (const std::int32_t limit : {std::int32_t{1 << 20}, std::int32_t{4 << 20}}) {
        const auto reader = block_reader_open(path, MemorySettings{});
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(ps_probe(*reader, limit), limit > 3 * mib) << limit;
    }
}

}  // namespace
}  // namespace quarnel
