#include "base/start_code.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/start_code_skip_table.h"

namespace quarnel {
namespace {

using test::find_start_code_skip_table;

using Bytes = std::vector<std::uint8_t>;

std::ptrdiff_t forward(const Bytes& b) {
    const auto* hit = find_start_code(b.data(), b.data() + b.size());
    return hit ? hit - b.data() : -1;
}

std::ptrdiff_t backward(const Bytes& b, std::size_t from) {
    const auto* hit = find_start_code_backward(b.data() + from, b.data());
    return hit ? hit - b.data() : -1;
}

TEST(StartCodeSearch, FindsTheFirstPrefixOnly) {
    EXPECT_EQ(forward({0, 0, 1}), 0);
    EXPECT_EQ(forward({0, 0, 0, 0, 1, 0xB3, 0, 0, 1}), 2);
    EXPECT_EQ(forward({1, 0, 1, 0, 0, 1}), 3);
    EXPECT_EQ(forward({0, 0}), -1);
    EXPECT_EQ(forward({0, 0, 2, 0, 1}), -1);
    EXPECT_EQ(forward({}), -1);
}

TEST(StartCodeSearch, FastAndSkipTableSearchesAgreeOnRandomData) {
    std::mt19937 rng(7);
    // Few distinct values make prefixes and near misses frequent.
    std::uniform_int_distribution<int> byte(0, 3);
    for (int round = 0; round < 2000; ++round) {
        Bytes b(rng() % 64);
        for (auto& v : b) v = static_cast<std::uint8_t>(byte(rng));
        for (std::size_t from = 0; from <= b.size(); ++from) {
            const auto* begin = b.data() + from;
            const auto* end = b.data() + b.size();
            ASSERT_EQ(find_start_code(begin, end), find_start_code_skip_table(begin, end));
        }
    }
}

TEST(StartCodeSearch, FastAndSkipTableSearchesAgreeOnSparsePrefixes) {
    // Long runs without a prefix, prefixes at every alignment and near the end, and lone
    // 00 00 pairs: the fast search compares many positions at once and must stop at the same
    // first one.
    std::mt19937 rng(13);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        Bytes b(3 + rng() % 200);
        for (auto& v : b) v = static_cast<std::uint8_t>(byte(rng));
        for (int planted = static_cast<int>(rng() % 4); planted > 0; --planted) {
            const std::size_t at = rng() % (b.size() - 2);
            b[at] = 0;
            b[at + 1] = 0;
            b[at + 2] = rng() % 3 == 0 ? 2 : 1;
        }
        for (std::size_t from = 0; from <= b.size(); from += 1 + rng() % 5) {
            const auto* begin = b.data() + from;
            const auto* end = b.data() + b.size();
            ASSERT_EQ(find_start_code(begin, end), find_start_code_skip_table(begin, end));
        }
    }
}

TEST(StartCodeSearch, BackwardFindsNearestPrefixEndingAtOrBeforeFrom) {
    const Bytes b{0, 0, 1, 0xB3, 7, 0, 0, 1, 0x00, 9};
    EXPECT_EQ(backward(b, 9), 5);
    EXPECT_EQ(backward(b, 7), 5);
    EXPECT_EQ(backward(b, 6), 0);
    EXPECT_EQ(backward(b, 2), 0);
    EXPECT_EQ(backward(b, 1), -1);
}

TEST(StartCodeSearch, BackwardAgreesWithAPlainScan) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> byte(0, 3);
    for (int round = 0; round < 2000; ++round) {
        Bytes b(1 + rng() % 48);
        for (auto& v : b) v = static_cast<std::uint8_t>(byte(rng));
        for (std::size_t from = 0; from < b.size(); ++from) {
            std::ptrdiff_t expected = -1;
            for (std::ptrdiff_t p = static_cast<std::ptrdiff_t>(from) - 2; p >= 0; --p) {
                if (b[p] == 0 && b[p + 1] == 0 && b[p + 2] == 1) {
                    expected = p;
                    break;
                }
            }
            ASSERT_EQ(backward(b, from), expected);
        }
    }
}

}  // namespace
}  // namespace quarnel
