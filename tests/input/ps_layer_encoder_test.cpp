// Program streams from real multiplexers: the layer must deliver exactly the video
// elementary stream that the multiplexer was given.

#include <gtest/gtest.h>

#include <string>

#include "input/ps_layer.h"
#include "tests/support/encoder_tools.h"
#include "tests/support/temp_dir.h"

namespace quarnel {
namespace {

using test::read_to_end;
using test::read_whole_file;
using test::run_quietly;
using test::tools_present;

struct Mux {
    const char* format;  // ffmpeg's muxer
    const char* video;   // encoder options
    const char* audio;
    const char* es_format;  // how ffmpeg writes the bare video stream
};

class EncoderStreams : public ::testing::TestWithParam<Mux> {};

TEST_P(EncoderStreams, FfmpegProgramStreamDeliversTheVideoElementaryStream) {
    if (!tools_present("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    const Mux& mux = GetParam();
    test::TempDir dir;
    const std::string muxed = dir.file("muxed.mpg");
    const std::string es = dir.file("video.es");
    ASSERT_TRUE(
        run_quietly(std::string("ffmpeg -nostdin -y -f lavfi -i testsrc=rate=25 -f lavfi -i "
                                "sine=sample_rate=48000 -t 1.2 ") +
                    mux.video + " " + mux.audio + " -f " + mux.format + " " + muxed));
    ASSERT_TRUE(
        run_quietly("ffmpeg -nostdin -y -i " + muxed + " -c copy -f " + mux.es_format + " " + es));

    auto layer = ps_layer_open(muxed, StreamKind::video, MemorySettings{});
    ASSERT_TRUE(layer);
    const auto expected = read_whole_file(es);
    ASSERT_GT(expected.size(), 10000u);
    EXPECT_EQ(read_to_end(*layer), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Muxers, EncoderStreams,
    ::testing::Values(Mux{"mpeg", "-s 352x288 -c:v mpeg1video -b:v 1M", "-c:a mp2", "mpeg1video"},
                      Mux{"vob", "-s 720x576 -c:v mpeg2video -b:v 4M", "-c:a ac3", "mpeg2video"},
                      Mux{"dvd", "-s 720x576 -c:v mpeg2video -b:v 5M", "-c:a mp2", "mpeg2video"},
                      Mux{"svcd", "-s 480x576 -c:v mpeg2video -b:v 2M", "-c:a mp2 -ar 44100",
                          "mpeg2video"},
                      Mux{"vcd", "-s 352x288 -c:v mpeg1video -b:v 1150k",
                          "-c:a mp2 -ar 44100 -b:a 224k", "mpeg1video"}),
    [](const auto& param_info) { return std::string(param_info.param.format); });

struct Mplex {
    const char* name;
    const char* encoder_format;  // mpeg2enc -f
    const char* size;
    const char* bit_rate;      // kbit/s
    const char* mplex_format;  // mplex -f
    int sample_rate;
};

class MplexStreams : public ::testing::TestWithParam<Mplex> {};

TEST_P(MplexStreams, MplexProgramStreamDeliversTheVideoElementaryStream) {
    if (!tools_present("ffmpeg mpeg2enc mplex")) GTEST_SKIP() << "mjpegtools missing";
    const Mplex& m = GetParam();
    test::TempDir dir;
    const std::string video = dir.file("video.m2v");
    const std::string audio = dir.file("audio.mp2");
    const std::string muxed = dir.file("muxed.mpg");
    ASSERT_TRUE(run_quietly(std::string("ffmpeg -nostdin -f lavfi -i testsrc=rate=25:size=") +
                            m.size +
                            " -t 0.6 -pix_fmt yuv420p -f yuv4mpegpipe - | mpeg2enc -v 0 -b " +
                            m.bit_rate + " -f " + m.encoder_format + " -o " + video));
    ASSERT_TRUE(run_quietly("ffmpeg -nostdin -y -f lavfi -i sine=sample_rate=" +
                            std::to_string(m.sample_rate) + " -t 0.6 -c:a mp2 -b:a 224k " + audio));
    ASSERT_TRUE(run_quietly(std::string("mplex -v 0 -f ") + m.mplex_format + " -o " + muxed + " " +
                            video + " " + audio));

    auto layer = ps_layer_open(muxed, StreamKind::video, MemorySettings{});
    ASSERT_TRUE(layer);
    const auto expected = read_whole_file(video);
    ASSERT_GT(expected.size(), 10000u);
    EXPECT_EQ(read_to_end(*layer), expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, MplexStreams,
                         ::testing::Values(Mplex{"mpeg1", "0", "352x288", "1150", "0", 44100},
                                           Mplex{"vcd", "1", "352x288", "1150", "1", 44100},
                                           Mplex{"mpeg2", "3", "352x288", "3000", "3", 48000},
                                           Mplex{"dvd", "8", "720x576", "3000", "8", 48000}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace quarnel
