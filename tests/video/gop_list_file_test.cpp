#include "video/gop_list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "support/video_es_writer.h"

namespace quarnel {
namespace {

namespace fs = std::filesystem;

SequenceInfo mpeg1_sequence() {
    SequenceInfo s;
    s.horizontal_size = 352;
    s.vertical_size = 240;
    s.coded_width = 352;
    s.coded_height = 240;
    s.aspect_ratio_information = 12;
    s.frame_rate_code = 4;
    s.bit_rate = 2875;
    s.vbv_buffer_size = 20;
    s.constrained_parameters_flag = 1;
    return s;
}

SequenceInfo mpeg2_sequence_with_everything() {
    SequenceInfo s = mpeg1_sequence();
    s.horizontal_size = s.coded_width = 720;
    s.vertical_size = s.coded_height = 480;
    s.load_intra_quantiser_matrix = 1;
    s.load_non_intra_quantiser_matrix = 1;
    for (std::size_t i = 0; i < 64; ++i) {
        s.intra_quantiser_matrix[i] = static_cast<std::uint16_t>(8 + i);
        s.non_intra_quantiser_matrix[i] = static_cast<std::uint16_t>(255 - i);
    }
    s.sequence_extension_present = 1;
    s.profile_and_level_indication = 0x48;
    s.chroma_format = 1;
    s.frame_rate_extension_d = 3;
    s.sequence_display_extension_present = 1;
    s.video_format = 2;
    s.colour_description = 1;
    s.colour_primaries = 6;
    s.transfer_characteristics = 6;
    s.matrix_coefficients = 6;
    s.display_horizontal_size = 704;
    s.display_vertical_size = 480;
    s.sequence_scalable_extension_present = 1;
    s.scalable_mode = 3;
    s.layer_id = 1;
    s.picture_mux_enable = 1;
    s.mux_to_progressive_sequence = 1;
    s.picture_mux_order = 5;
    s.picture_mux_factor = 7;
    return s;
}

GopList one_gop_list() {
    GopList list;
    list.stream_size = 0x0102030405;
    list.total_frames = 15;
    list.entries = {{0, 0, 15, 0}};
    list.sequence_headers = {mpeg1_sequence()};
    return list;
}

GopList several_headers_list() {
    SequenceInfo only_matrix = mpeg1_sequence();
    only_matrix.load_non_intra_quantiser_matrix = 1;
    only_matrix.non_intra_quantiser_matrix.fill(16);
    GopList list;
    list.stream_size = 123456789012;
    list.total_frames = 45;
    list.entries = {{12, 0, 15, 0}, {40000, 15, 15, 1}, {80000, 30, 15, 2}};
    list.sequence_headers = {mpeg1_sequence(), mpeg2_sequence_with_everything(), only_matrix};
    return list;
}

void expect_same(const GopList& a, const GopList& b) {
    EXPECT_EQ(a.stream_size, b.stream_size);
    EXPECT_EQ(a.total_frames, b.total_frames);
    EXPECT_EQ(a.entries, b.entries);
    EXPECT_EQ(a.sequence_headers, b.sequence_headers);
}

class GopListFile : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return dir_.file(name); }
    std::size_t files_in_folder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()));
    }
    test::TempDir dir_;
};

TEST_F(GopListFile, OneGopAndOneMpeg1SequenceHeaderTake140Bytes) {
    const auto bytes = encode_gop_list(one_gop_list());
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 140u);
    EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + 8), "GOP_LIST");
    EXPECT_EQ(std::string(bytes->begin() + 16, bytes->begin() + 24), "00000003");
    // stream size, little-endian
    EXPECT_EQ((*bytes)[32], 0x05);
    EXPECT_EQ((*bytes)[36], 0x01);
    EXPECT_EQ((*bytes)[37], 0x00);
    // horizontal_size opens the record at 56 + 28
    EXPECT_EQ((*bytes)[84], 352 & 0xFF);
    EXPECT_EQ((*bytes)[85], 352 >> 8);

    ASSERT_TRUE(write_gop_list_file(one_gop_list(), path("clip.gl")));
    EXPECT_EQ(fs::file_size(path("clip.gl")), 140u);
    EXPECT_EQ(files_in_folder(), 1u);  // no temporary left behind
}

TEST_F(GopListFile, SeveralSequenceHeadersWithMatricesAndExtensionsRoundTrip) {
    const GopList list = several_headers_list();
    ASSERT_TRUE(write_gop_list_file(list, path("clip.gl")));
    const auto back = read_gop_list_file(path("clip.gl"));
    ASSERT_TRUE(back);
    expect_same(*back, list);
}

TEST_F(GopListFile, WordsOfAbsentExtensionsAndMatricesReadBackAsZero) {
    GopList list = one_gop_list();
    SequenceInfo s = list.sequence_headers[0];
    s.progressive_sequence = 1;  // kept in memory but not stored: its extension is absent
    s.display_vertical_size = 480;
    s.intra_quantiser_matrix.fill(9);
    list.sequence_headers = {s};
    const auto back = decode_gop_list(*encode_gop_list(list));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->sequence_headers[0], mpeg1_sequence());
}

TEST_F(GopListFile, TruncationAnywhereIsRejected) {
    const auto bytes = *encode_gop_list(several_headers_list());
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(decode_gop_list(std::span(bytes).first(size))) << "cut at " << size;

    std::vector<std::uint8_t> longer = bytes;
    longer.resize(bytes.size() + 10, 0xEE);  // what follows the last record is not read
    EXPECT_TRUE(decode_gop_list(longer));

    std::ofstream(path("cut.gl"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size() - 1));
    EXPECT_FALSE(read_gop_list_file(path("cut.gl")));
}

TEST_F(GopListFile, ForeignVersionsAndBrokenCountsAreRejected) {
    const auto good = *encode_gop_list(several_headers_list());
    const auto rejected = [&](std::size_t at, std::initializer_list<std::uint8_t> values) {
        auto bytes = good;
        std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return !decode_gop_list(bytes);
    };
    EXPECT_TRUE(rejected(23, {'2'}));                     // an older version
    EXPECT_TRUE(rejected(0, {'g'}));                      // not a GOP list
    EXPECT_TRUE(rejected(48, {0, 0, 0, 0}));              // no entry
    EXPECT_TRUE(rejected(52, {0xFF, 0xFF, 0xFF, 0xFF}));  // negative record count
    EXPECT_TRUE(rejected(48, {0xFF, 0xFF, 0xFF, 0x7F}));  // more entries than the file holds
    EXPECT_TRUE(rejected(52, {0xFF, 0xFF, 0xFF, 0x7F}));  // more records than the file holds
    EXPECT_TRUE(rejected(56 + 80, {3, 0, 0, 0}));         // sequence header index == M
    EXPECT_TRUE(rejected(56 + 24, {0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(rejected(56 + 52, {2, 0, 0, 0}));

    EXPECT_FALSE(read_gop_list_file(path("missing.gl")));
}

TEST_F(GopListFile, ListsTheFileCannotDescribeAreNotWritten) {
    GopList list = one_gop_list();
    list.entries[0].sequence_header = 1;
    EXPECT_FALSE(write_gop_list_file(list, path("clip.gl")));
    list.entries.clear();
    EXPECT_FALSE(write_gop_list_file(list, path("clip.gl")));
    EXPECT_EQ(files_in_folder(), 0u);
}

TEST_F(GopListFile, AFailedWriteLeavesNothingBehind) {
    EXPECT_FALSE(write_gop_list_file(one_gop_list(), path("no_such_folder/clip.gl")));

    fs::create_directory(path("clip.gl"));  // the rename cannot replace a folder
    EXPECT_FALSE(write_gop_list_file(one_gop_list(), path("clip.gl")));
    EXPECT_TRUE(fs::is_directory(path("clip.gl")));
    EXPECT_EQ(files_in_folder(), 1u);
}

TEST_F(GopListFile, ANewListReplacesTheOldFile) {
    ASSERT_TRUE(write_gop_list_file(several_headers_list(), path("clip.gl")));
    ASSERT_TRUE(write_gop_list_file(one_gop_list(), path("clip.gl")));
    expect_same(*read_gop_list_file(path("clip.gl")), one_gop_list());
}

TEST(GopListFilePath, ReplacesTheExtensionOfTheFileName) {
    EXPECT_EQ(gop_list_file_path("clip.mpg"), "clip.gl");
    EXPECT_EQ(gop_list_file_path("/rec/a.b/clip.m2p"), "/rec/a.b/clip.gl");
    EXPECT_EQ(gop_list_file_path("/rec/a.b/clip"), "/rec/a.b/clip.gl");
    EXPECT_EQ(gop_list_file_path("C:\\rec.d\\clip"), "C:\\rec.d\\clip.gl");
}

// GOP lists stay within max_gop_list_bytes whatever a stream or a list file claims.
constexpr std::size_t most_entries_beside_one_header =
    (max_gop_list_bytes - sizeof(SequenceInfo)) / sizeof(GopEntry);

GopList list_of(std::size_t entries) {
    GopList list;
    list.sequence_headers.push_back(test::mpeg1_sequence(352, 288));
    for (std::size_t k = 0; k < entries; ++k)
        list.entries.push_back({static_cast<std::int64_t>(100 * k), std::int64_t(k), 1, 0});
    list.total_frames = static_cast<std::int64_t>(entries);
    list.stream_size = static_cast<std::int64_t>(100 * entries);
    return list;
}

TEST(GopListBoundsRegression, AListFileJustBeyondTheBoundIsRefused) {
    const test::TempDir dir;
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
    const test::TempDir dir;
    EXPECT_FALSE(read_gop_list_file(dir.write("clip.gl", bytes)));
}

}  // namespace
}  // namespace quarnel
