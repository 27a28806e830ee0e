// GOP lists stay within max_gop_list_bytes whatever a stream or a list file claims.

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/video_es_writer.h"
#include "video/gop_list.h"
#include "video/gop_list_file.h"

namespace quarnel {
namespace {

using namespace test;

constexpr std::size_t most_entries_beside_one_header =
    (max_gop_list_bytes - sizeof(SequenceInfo)) / sizeof(GopEntry);

GopList list_of(std::size_t entries) {
    GopList list;
    list.sequence_headers.push_back(mpeg1_sequence(352, 288));
    for (std::size_t k = 0; k < entries; ++k)
        list.entries.push_back({static_cast<std::int64_t>(100 * k), std::int64_t(k), 1, 0});
    list.total_frames = static_cast<std::int64_t>(entries);
    list.stream_size = static_cast<std::int64_t>(100 * entries);
    return list;
}

TEST(GopListBoundsRegression, AListFileJustBeyondTheBoundIsRefused) {
    const TempDir dir;
    for (const std::size_t entries :
         {most_entries_beside_one_header, most_entries_beside_one_header + 1}) {
        const GopList list = list_of(entries);
        const std::string path = dir.file("clip.gl");
        ASSERT_TRUE(write_gop_list_file(list, path));
        const auto read = read_gop_list_file(path);
        EXPECT_EQ(read.has_value(), entries == most_entries_beside_one_header) << entries;
    }
}

TEST(GopListBoundsRegression, AListFileClaimingTwoToTheThirtyOneEntriesIsRefused) {
    auto bytes = *encode_gop_list(list_of(1));
    bytes[48] = bytes[49] = bytes[50] = 0;
    bytes[51] = 0x80;  // entry count 2^31
    EXPECT_FALSE(decode_gop_list(bytes));
    const TempDir dir;
    EXPECT_FALSE(read_gop_list_file(dir.write("clip.gl", bytes)));
}

// A recorder may restate its bit rate in every sequence header. Alternating between two rates
// costs little, as each distinct header is stored once; 42000 distinct ones outgrow the bound.
TEST(GopListBoundsRegression, EachDistinctSequenceHeaderIsStoredOnce) {
    constexpr int gops = 42000;
    const auto stream = [&](int rates) {
        VideoEsWriter es;
        SequenceInfo s = mpeg1_sequence(352, 288);
        for (int k = 0; k < gops; ++k) {
            s.bit_rate = 2000 + k % rates;
            es.sequence(s).gop({.closed_gop = true}).picture();
        }
        es.sequence_end();
        return es;
    };
    const FrameCounting counting{};
    const auto alternating = build_gop_list(*stream(2).open_reader(), counting, nullptr);
    ASSERT_TRUE(alternating);
    EXPECT_EQ(alternating->entries.size(), std::size_t{gops});
    EXPECT_EQ(alternating->sequence_headers.size(), std::size_t{gops});
    EXPECT_EQ(alternating->sequence_headers.distinct_count(), 2u);
    EXPECT_EQ(alternating->sequence_headers[gops - 1].bit_rate, 2001);
    const auto encoded = encode_gop_list(*alternating);
    ASSERT_TRUE(encoded);
    const auto decoded = decode_gop_list(*encoded);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->sequence_headers.distinct_count(), 2u);
    EXPECT_EQ(encode_gop_list(*decoded), encoded);

    EXPECT_FALSE(build_gop_list(*stream(gops).open_reader(), counting, nullptr));
}

}  // namespace
}  // namespace quarnel
