// Frame counts of streams written by real encoders, generated into a temporary folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "base/settings.h"
#include "support/temp_dir.h"
#include "video/bit_reader_open.h"
#include "video/frame_rate.h"
#include "video/gop_list.h"
#include "video/header_codes.h"
#include "video/sequence_header.h"
#include "video/time_code_index.h"

namespace quarnel {
namespace {

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

bool have(const char* program) {
    return run(std::string("command -v ") + program + " >/dev/null 2>&1");
}

void append_sequence_end(const std::string& path) {
    std::ofstream(path, std::ios::binary | std::ios::app).write("\x00\x00\x01\xB7", 4);
}

struct Counts {
    std::int64_t gop_list = -1;
    std::int64_t time_codes = -1;
};

// Both frame counts of the stream in `path`, its first headers giving the counting rules.
Counts count_frames(const std::string& path) {
    const auto reader = bit_reader_open(path, MemorySettings{});
    if (!reader || !reader->next_start_code() || reader->get_bits(32) != sequence_header_code)
        return {};
    SequenceInfo sequence;
    parse_sequence_header(*reader, sequence);
    const FrameCounting counting{
        .progressive_sequence =
            !sequence.sequence_extension_present || sequence.progressive_sequence != 0,
        .first_top_field_first = 1};  // both encoders below start with the top field
    Counts counts;
    if (const auto list = build_gop_list(*reader, counting, nullptr))
        counts.gop_list = list->total_frames;
    TimeCodeIndex index(*reader, frame_rate(sequence), counting);
    counts.time_codes = index.time_code_frame_count();
    return counts;
}

TEST(EncoderGopCounting, FfmpegOpenGopStreamsCountEveryFrame) {
    if (!have("ffmpeg")) GTEST_SKIP() << "ffmpeg is not available";
    const test::TempDir dir;
    for (const char* codec : {"mpeg2video -flags +ilme+ildct -top 1", "mpeg1video"}) {
        const std::string path = dir.file("clip.m2v");
        ASSERT_TRUE(
            run("ffmpeg -loglevel error -y -f lavfi -i testsrc=size=176x144:rate=25 "
                "-frames:v 100 -g 12 -bf 2 -c:v " +
                std::string(codec) + " -f mpeg2video " + path));
        // The encoder ends the stream without a sequence end code.
        Counts counts = count_frames(path);
        EXPECT_EQ(counts.gop_list, 98) << codec;
        EXPECT_EQ(counts.time_codes, 98) << codec;
        append_sequence_end(path);
        counts = count_frames(path);
        EXPECT_EQ(counts.gop_list, 100) << codec;
        EXPECT_EQ(counts.time_codes, 100) << codec;
    }
}

TEST(EncoderGopCounting, Mpeg2encPulldownStreamCountsFiveFramesForFourPicturesFromItsPictures) {
    if (!have("ffmpeg") || !have("mpeg2enc")) GTEST_SKIP() << "ffmpeg or mpeg2enc is not available";
    const test::TempDir dir;
    const std::string path = dir.file("film.m2v");
    ASSERT_TRUE(
        run("ffmpeg -loglevel error -f lavfi -i testsrc=size=720x480:rate=24000/1001 "
            "-frames:v 24 -pix_fmt yuv420p -f yuv4mpegpipe - 2>/dev/null | "
            "mpeg2enc -v 0 -f 8 -p -o " +
            path + " 2>/dev/null"));
    const Counts counts = count_frames(path);
    EXPECT_EQ(counts.gop_list, 30);
    // Its time codes count film frames while its frame rate is the display rate: they
    // disagree with the frames shown and must not be trusted.
    EXPECT_EQ(counts.time_codes, -1);
}

}  // namespace
}  // namespace quarnel
