// Streams of real encoders, generated into a temporary folder, opened by the video source and
// compared with what ffprobe decodes from them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/external_programs.h"
#include "support/temp_dir.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

using namespace test;

struct EncodedStream {
    const char* name;
    std::string command;  // writes OUT
};

std::string ffmpeg(const std::string& size, const std::string& rate, int frames,
                   const std::string& options) {
    return "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=" + size + ":rate=" + rate +
           " -frames:v " + std::to_string(frames) + " " + options + " OUT";
}

std::string mpeg2enc(const std::string& size, const std::string& rate, int frames,
                     const std::string& options) {
    return "ffmpeg -loglevel error -f lavfi -i testsrc=size=" + size + ":rate=" + rate +
           " -frames:v " + std::to_string(frames) +
           " -pix_fmt yuv420p -f yuv4mpegpipe - 2>/dev/null | mpeg2enc -v 0 " + options +
           " -o OUT 2>/dev/null";
}

bool ends_with_sequence_end_code(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    return bytes.size() >= 4 && std::equal(bytes.end() - 4, bytes.end(), "\x00\x00\x01\xB7");
}

// The frames a decoder shows, by the counting rules: a picture that repeats its first field in
// the parity the stream starts with shows two; a stream without a sequence end code loses its
// last two.
std::int64_t expected_frames(const ProbedVideo& probed, bool sequence_end) {
    std::int64_t frames = probed.frames;
    for (std::size_t i = 0; i < probed.repeat_pict.size() && i < probed.top_field_first.size(); ++i)
        if (probed.repeat_pict[i] > 0 && probed.top_field_first[i] == probed.top_field_first[0])
            ++frames;
    return sequence_end ? frames : std::max<std::int64_t>(frames - 2, 0);
}

// ffprobe's "num/den" against rate / scale; a stream that repeats fields is reported by its
// field rate, twice its frame rate.
bool same_rate(const std::string& probed, const VideoStreamInfo& info, bool repeats_fields) {
    const auto slash = probed.find('/');
    if (slash == std::string::npos) return false;
    const long long num = std::stoll(probed.substr(0, slash));
    const long long den = std::stoll(probed.substr(slash + 1));
    return num * info.scale == den * info.rate * (repeats_fields ? 2 : 1);
}

void PrintTo(const EncodedStream& stream, std::ostream* os) {
    *os << stream.name;
}

class VideoSourceEncoderStreams : public testing::TestWithParam<EncodedStream> {};

TEST_P(VideoSourceEncoderStreams, AgreeWithWhatFfprobeDecodes) {
    const EncodedStream& stream = GetParam();
    if (!have_program("ffmpeg") || !have_program("ffprobe"))
        GTEST_SKIP() << "ffmpeg or ffprobe is not available";
    if (stream.command.find("mpeg2enc") != std::string::npos && !have_program("mpeg2enc"))
        GTEST_SKIP() << "mpeg2enc is not available";
    const TempDir dir;
    const std::string path = dir.file("clip.m2v");
    std::string command = stream.command;
    command.replace(command.find("OUT"), 3, shell_quoted(path));
    ASSERT_TRUE(run_command(command)) << command;

    const ProbedVideo probed = probe_video(path);
    ASSERT_GT(probed.frames, 0);
    const std::int64_t frames = expected_frames(probed, ends_with_sequence_end_code(path));
    const bool repeats_fields = frames > probed.frames;
    // Once as the open chooses, once with a scan of the whole stream kept in memory.
    for (std::uint32_t gl : {0u, 3u}) {
        MemorySettings settings;
        settings.set("gl", gl);
        const auto source = video_source_open(path, settings);
        ASSERT_NE(source, nullptr) << "gl " << gl;
        const VideoStreamInfo& info = source->stream_info();
        EXPECT_EQ(info.frame_count, frames)
            << "gl " << gl << ", counted by " << frame_index_name(source->index_kind());
        EXPECT_EQ(info.width, probed.width);
        EXPECT_EQ(info.height, probed.height);
        EXPECT_TRUE(same_rate(probed.frame_rate, info, repeats_fields))
            << probed.frame_rate << " against " << info.rate << "/" << info.scale;
    }
}

// About one ffmpeg stream in four ends in a GOP that shows only one or two frames of its own;
// without a sequence end code those are the two the count leaves out, which the time codes
// still number, so neither a scan nor a list file is needed.
TEST(VideoSourceEncoderStream, AShortLastGopIsCountedFromTheTimeCodes) {
    if (!have_program("ffmpeg")) GTEST_SKIP() << "ffmpeg is not available";
    struct Case {
        const char* rate;
        int frames;
        const char* time_codes;
    };
    for (const Case& c : {Case{"25", 1501, ""}, Case{"25", 1502, ""},
                          Case{"30000/1001", 21000, "-gop_timecode '00:00:00;00'"}}) {
        const TempDir dir;
        const std::string path = dir.file("clip.m2v");
        std::string command = ffmpeg("32x32", c.rate, c.frames,
                                     std::string("-g 15 -bf 2 -c:v mpeg2video -f mpeg2video ") +
                                         c.time_codes);
        command.replace(command.find("OUT"), 3, shell_quoted(path));
        ASSERT_TRUE(run_command(command)) << command;
        const auto source = video_source_open(path, MemorySettings{});
        ASSERT_NE(source, nullptr) << c.frames;
        EXPECT_EQ(source->stream_info().frame_count, c.frames - 2) << c.frames;
        EXPECT_EQ(source->index_kind(), FrameIndexKind::time_code) << c.frames;
        EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl"))) << c.frames;
    }
}

INSTANTIATE_TEST_SUITE_P(
    RealEncoders, VideoSourceEncoderStreams,
    testing::Values(
        EncodedStream{"ffmpeg_mpeg1_i_and_p",
                      ffmpeg("176x144", "25", 250, "-g 12 -bf 0 -c:v mpeg1video -f mpeg1video")},
        EncodedStream{"ffmpeg_mpeg1_b_pictures",
                      ffmpeg("176x144", "25", 250, "-g 15 -bf 2 -c:v mpeg1video -f mpeg1video")},
        EncodedStream{"ffmpeg_mpeg2_interlaced_open_gops",
                      ffmpeg("352x288", "25", 200,
                             "-g 12 -bf 2 -flags +ilme+ildct -top 1 -c:v mpeg2video "
                             "-f mpeg2video")},
        EncodedStream{"ffmpeg_mpeg2_closed_gops",
                      ffmpeg("352x240", "30000/1001", 200,
                             "-g 15 -bf 2 -flags +cgop -sc_threshold 1000000000 -c:v mpeg2video "
                             "-f mpeg2video")},
        EncodedStream{"ffmpeg_mpeg2_i_and_p",
                      ffmpeg("352x288", "25", 200, "-g 12 -bf 0 -c:v mpeg2video -f mpeg2video")},
        EncodedStream{"mpeg2enc_mpeg1", mpeg2enc("176x144", "25", 60, "-f 0 -b 1150")},
        EncodedStream{"mpeg2enc_mpeg2", mpeg2enc("176x144", "25", 60, "-f 3 -b 3000")},
        EncodedStream{"mpeg2enc_pulldown", mpeg2enc("720x480", "24000/1001", 48, "-f 8 -p")}),
    [](const testing::TestParamInfo<EncodedStream>& param) { return param.param.name; });

}  // namespace
}  // namespace quarnel
