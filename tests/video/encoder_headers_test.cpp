// Headers of streams written by a real encoder, read from files.

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/settings.h"
#include "support/temp_dir.h"
#include "video/bit_reader_open.h"
#include "video/header_codes.h"
#include "video/picture_header.h"
#include "video/sequence_header.h"
#include "video/time_code.h"

namespace quarnel {
namespace {

// Four frames of a test pattern at 25 frames/s in a video elementary stream, or "" when the
// encoder is missing.
std::string encode(const test::TempDir& dir, const std::string& codec_options) {
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) return "";
    const std::string path = dir.file("clip.mpv");
    const std::string command =
        "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=720x576:rate=25 "
        "-frames:v 4 -g 12 -bf 2 " +
        codec_options + " " + path;
    return std::system(command.c_str()) == 0 ? path : "";
}

struct FirstHeaders {
    SequenceInfo sequence;
    GopTimeCode time_code;
    PictureInfo picture;
    int pictures = 0;
};

FirstHeaders read_headers(VideoBitReader& reader) {
    FirstHeaders found;
    while (reader.next_start_code()) {
        const std::uint32_t code = reader.get_bits(32);
        if (code == sequence_header_code) parse_sequence_header(reader, found.sequence);
        if (code == group_start_code) found.time_code = parse_gop_time_code(reader);
        if (code == picture_start_code && found.pictures++ == 0) {
            const bool progressive =
                !found.sequence.sequence_extension_present || found.sequence.progressive_sequence;
            parse_picture_header(reader, found.picture, progressive);
        }
    }
    return found;
}

TEST(EncoderHeaders, InterlacedMpeg2Stream) {
    const test::TempDir dir;
    const std::string path =
        encode(dir, "-c:v mpeg2video -flags +ilme+ildct -top 1 -aspect 16:9 -f mpeg2video");
    if (path.empty()) GTEST_SKIP() << "ffmpeg is not available";
    auto reader = bit_reader_open(path, MemorySettings{});
    ASSERT_NE(reader, nullptr);
    const FirstHeaders h = read_headers(*reader);
    EXPECT_EQ(h.sequence.horizontal_size, 720);
    EXPECT_EQ(h.sequence.coded_height, 576);
    EXPECT_EQ(h.sequence.aspect_ratio_information, 3);
    EXPECT_EQ(h.sequence.frame_rate_code, 3);
    EXPECT_EQ(h.sequence.sequence_extension_present, 1);
    EXPECT_EQ(h.sequence.progressive_sequence, 0);
    EXPECT_EQ(h.sequence.chroma_format, 1);
    EXPECT_EQ(h.time_code, (GopTimeCode{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(h.pictures, 4);
    EXPECT_EQ(h.picture.picture_coding_type, picture_type_i);
    EXPECT_EQ(h.picture.picture_coding_extension_present, 1);
    EXPECT_EQ(h.picture.picture_coding_extension.picture_structure, structure_frame);
    EXPECT_EQ(h.picture.picture_coding_extension.top_field_first, 1);
    EXPECT_EQ(h.picture.picture_coding_extension.progressive_frame, 0);
}

TEST(EncoderHeaders, Mpeg1Stream) {
    const test::TempDir dir;
    const std::string path = encode(dir, "-c:v mpeg1video -f mpeg1video");
    if (path.empty()) GTEST_SKIP() << "ffmpeg is not available";
    auto reader = bit_reader_open(path, MemorySettings{});
    ASSERT_NE(reader, nullptr);
    const FirstHeaders h = read_headers(*reader);
    EXPECT_EQ(h.sequence.vertical_size, 576);
    EXPECT_EQ(h.sequence.sequence_extension_present, 0);
    EXPECT_EQ(h.pictures, 4);
    EXPECT_EQ(h.picture.picture_coding_type, picture_type_i);
    EXPECT_EQ(h.picture.picture_coding_extension_present, 0);
    EXPECT_EQ(reader->bit_reader_seek(0, SeekOrigin::end), reader->stream_size());
}

TEST(EncoderHeaders, OpeningAMissingFileFails) {
    const test::TempDir dir;
    EXPECT_EQ(bit_reader_open(dir.file("absent.m2v"), MemorySettings{}), nullptr);
}

}  // namespace
}  // namespace quarnel
