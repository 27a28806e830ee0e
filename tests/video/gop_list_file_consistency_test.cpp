// A GOP list file is read back only when it describes a list that a scan could have built;
// anything else is rejected like a truncated file, so that the open scans the stream again.

#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "base/settings.h"
#include "support/encoder_tools.h"
#include "support/temp_dir.h"
#include "support/ts_writer.h"
#include "support/video_es_writer.h"
#include "video/bit_reader_open.h"
#include "video/gop_list_file.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

using namespace test;

// Where the fields of the file lie.
constexpr std::size_t total_at = 40;
enum EntryField : std::size_t { position = 0, first_frame = 8, frame_count = 16, header = 24 };
constexpr std::size_t entry_at(std::size_t entry, EntryField field) {
    return 56 + 28 * entry + field;
}

// Three GOPs of 15, 12 and 9 frames; the last one starts after a change of bit rate.
GopList three_gops() {
    SequenceInfo restated = mpeg1_sequence(352, 288);
    restated.bit_rate += 100;
    GopList list;
    list.stream_size = 500000;
    list.total_frames = 36;
    list.entries = {{12, 0, 15, 0}, {40000, 15, 12, 0}, {80000, 27, 9, 1}};
    list.sequence_headers = {mpeg1_sequence(352, 288), restated};
    return list;
}

struct Patch {
    std::size_t at;
    std::int64_t value;
    std::size_t size = 8;  // 4 for a sequence header index
};

// Whether the file of three_gops() is read back once each patch has overwritten its field.
bool accepted(std::initializer_list<Patch> patches) {
    auto bytes = *encode_gop_list(three_gops());
    for (const Patch& patch : patches) {
        for (std::size_t i = 0; i < patch.size; ++i)
            bytes[patch.at + i] = static_cast<std::uint8_t>(std::uint64_t(patch.value) >> (8 * i));
    }
    return decode_gop_list(bytes).has_value();
}

TEST(GopListFileConsistency, EntriesOutOfStreamOrderAreRejected) {
    EXPECT_TRUE(accepted({}));
    EXPECT_FALSE(accepted({{entry_at(0, position), -1}}));
    EXPECT_FALSE(accepted({{entry_at(1, position), 11}}));  // before the entry ahead of it
    EXPECT_FALSE(accepted({{entry_at(2, position), 39999}}));
    EXPECT_TRUE(accepted({{entry_at(1, position), 12}}));  // at the same place
    // Sequence header records are in stream order too.
    EXPECT_FALSE(accepted({{entry_at(0, header), 1, 4}}));
    EXPECT_TRUE(accepted({{entry_at(1, header), 1, 4}}));
    EXPECT_FALSE(accepted({{entry_at(2, header), 2, 4}}));
}

TEST(GopListFileConsistency, FramesThatDoNotFollowOnFromEntryToEntryAreRejected) {
    EXPECT_FALSE(accepted({{entry_at(0, first_frame), 1}}));
    EXPECT_FALSE(accepted({{entry_at(1, first_frame), 14}}));  // overlaps the entry before
    EXPECT_FALSE(accepted({{entry_at(1, first_frame), 16}}));  // leaves a gap
    EXPECT_FALSE(accepted({{entry_at(0, frame_count), 16}}));
    EXPECT_FALSE(accepted({{entry_at(2, frame_count), -1}, {total_at, 26}}));
    EXPECT_TRUE(accepted({{entry_at(2, frame_count), 0}, {total_at, 27}}));
    // A count that would carry the frames past the largest 64-bit figure.
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    EXPECT_FALSE(accepted({{entry_at(2, frame_count), most - 26}, {total_at, most}}));
    EXPECT_TRUE(accepted({{entry_at(2, frame_count), most - 27}, {total_at, most}}));
}

TEST(GopListFileConsistency, ATotalBeyondTheEntriesOrMoreThanTwoFramesShortIsRejected) {
    EXPECT_FALSE(accepted({{total_at, 37}}));
    EXPECT_FALSE(accepted({{total_at, std::int64_t{1} << 40}}));
    // The last two frames of a stream without sequence_end_code are not counted.
    EXPECT_TRUE(accepted({{total_at, 35}}));
    EXPECT_TRUE(accepted({{total_at, 34}}));
    EXPECT_FALSE(accepted({{total_at, 33}}));
    EXPECT_FALSE(accepted({{total_at, 0}}));
    // Nothing at all left to count: a lone I picture at the end of a stream.
    EXPECT_TRUE(accepted({{entry_at(2, frame_count), 0}, {total_at, 26}}));
    EXPECT_FALSE(accepted({{entry_at(0, frame_count), 0},
                           {entry_at(1, first_frame), 0},
                           {entry_at(1, frame_count), 0},
                           {entry_at(2, first_frame), 0},
                           {entry_at(2, frame_count), 0},
                           {total_at, -1}}));
}

TEST(GopListFileConsistency, AListThatWouldNotBeReadBackIsNotWritten) {
    const TempDir dir;
    GopList list = three_gops();
    list.total_frames = 37;
    EXPECT_FALSE(encode_gop_list(list));
    EXPECT_FALSE(write_gop_list_file(list, dir.file("clip.gl")));
    list = three_gops();
    list.entries[1].position = 0;
    EXPECT_FALSE(write_gop_list_file(list, dir.file("clip.gl")));
}

TEST(GopListFileConsistency, AListFileOfTheRightStreamSizeButAForgedTotalIsBuiltAgain) {
    const TempDir dir;
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    for (int g = 0; g < 4; ++g) es.gop({.closed_gop = true}).pictures("IBBPBB");
    es.sequence_end();
    const auto path = dir.write("clip.mpg", es.data());
    MemorySettings settings;
    settings.set("gl", gl_no_time_codes);
    int scans = 0;
    const ProgressFactory counted = [&scans] {
        ++scans;
        return std::unique_ptr<ProgressDialog>();
    };
    ASSERT_NE(video_source_open(path, settings, counted), nullptr);
    ASSERT_EQ(scans, 1);

    GopList forged = *read_gop_list_file(dir.file("clip.gl"));
    auto bytes = *encode_gop_list(forged);
    bytes[total_at + 2] = 1;  // 65536 more frames than the entries hold
    dir.write("clip.gl", bytes);
    const auto source = video_source_open(path, settings, counted);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->stream_info().frame_count, 24);
    EXPECT_EQ(scans, 2);
}

void expect_read_back(const GopList& list, const std::string& what) {
    const auto bytes = encode_gop_list(list);
    ASSERT_TRUE(bytes) << what;
    const auto back = decode_gop_list(*bytes);
    ASSERT_TRUE(back) << what;
    EXPECT_EQ(back->total_frames, list.total_frames) << what;
    EXPECT_EQ(back->entries, list.entries) << what;
}

// Streams whose counts reach the corners of the frame counting: leading pictures, repeated
// fields, and a stream that ends without sequence_end_code before two frames are counted.
TEST(GopListFileConsistency, ListsScannedFromUnusualStreamsAreReadBack) {
    std::map<std::string, VideoEsWriter> streams;
    streams["lone I picture"].sequence(mpeg2_sequence(720, 576)).gop().picture();
    auto& cut = streams["cut after an I picture"];
    cut.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("IBBPBB");
    cut.gop().pictures("I");
    auto& open = streams["open GOPs"];
    open.sequence(mpeg2_sequence(720, 576)).gop().pictures("IBBPBB");
    open.gop().pictures("IBBPBB").gop({.broken_link = true}).pictures("IBBP").sequence_end();
    auto& pulldown = streams["repeated fields"];
    pulldown.sequence(mpeg2_sequence(720, 480)).gop().picture({.repeat_first_field = true});
    pulldown.picture({.type = picture_type_p, .repeat_first_field = true});
    auto& late = streams["GOP header after its I picture"];
    late.sequence(mpeg2_sequence(720, 576)).pictures("I").gop().pictures("BBP");
    late.sequence(mpeg2_sequence(720, 480)).gop().pictures("IBBP").sequence_end();

    const FrameCounting counting{.progressive_sequence = false, .first_top_field_first = 1};
    for (const auto& [what, es] : streams) {
        const auto list = build_gop_list(*es.open_reader(), counting, nullptr);
        ASSERT_TRUE(list) << what;
        expect_read_back(*list, what);
    }
}

// Found by fuzzing: a transport stream of one packet and a piece of another reports a stream
// size of 0, below the positions of its pictures; its list was neither stored nor read back.
TEST(GopListFileConsistency, AListOfATransportStreamEndingInAPartialPacketIsReadBack) {
    VideoEsWriter es;
    es.sequence(mpeg1_sequence(352, 288)).gop({.closed_gop = true}).pictures("IP").sequence_end();
    TsWriter ts;
    ts.video(0x100, es.data(), es.data().size());
    Bytes bytes = ts.bytes();
    bytes.resize(bytes.size() + 12, 0);
    const TempDir dir;
    const auto reader = bit_reader_open(dir.write("clip.ts", bytes), MemorySettings{});
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(reader->container_layer(), ContainerLayer::transport_stream);
    const auto list = build_gop_list(*reader, FrameCounting{}, nullptr);
    ASSERT_TRUE(list);
    EXPECT_LE(list->stream_size, list->entries.back().position);
    EXPECT_EQ(list->total_frames, 2);
    expect_read_back(*list, "partial packet");
}

TEST(GopListFileConsistency, ListsScannedFromEncoderStreamsInEveryContainerAreReadBack) {
    if (!tools_present("ffmpeg")) GTEST_SKIP() << "ffmpeg is not available";
    const TempDir dir;
    for (const char* gop : {"-g 1", "-g 12 -bf 2"}) {
        for (const char* format : {"mpeg2video", "vob", "mpegts"}) {
            const std::string what = std::string(format) + " " + gop;
            const std::string path = dir.file(std::string("clip.") + format);
            ASSERT_TRUE(
                run_quietly("ffmpeg -loglevel error -y -f lavfi -i testsrc=size=176x144:rate=25 "
                            "-frames:v 40 -c:v mpeg2video " +
                            std::string(gop) + " -f " + format + " " + path))
                << what;
            const auto reader = bit_reader_open(path, MemorySettings{});
            ASSERT_NE(reader, nullptr) << what;
            const auto list = build_gop_list(*reader, FrameCounting{}, nullptr);
            ASSERT_TRUE(list) << what;
            EXPECT_GT(list->total_frames, 30) << what;
            expect_read_back(*list, what);
        }
    }
}

}  // namespace
}  // namespace quarnel
