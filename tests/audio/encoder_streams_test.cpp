// Program and transport streams with Layer II audio from real encoders and multiplexers,
// measured against the packet time stamps that ffprobe reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>

#include "audio/audio_source.h"
#include "audio/frame_header.h"
#include "base/settings.h"
#include "support/encoder_tools.h"
#include "support/external_programs.h"
#include "support/temp_dir.h"
#include "support/ts_writer.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

// The command's output; "" when it fails.
std::string run(const std::string& command) {
    test::CommandResult result = test::run_with_output(command);
    return result.status == 0 ? std::move(result.output) : std::string();
}

bool tools_present() {
    return !run("command -v ffmpeg ffprobe mp2enc mpeg2enc mplex >/dev/null && echo yes").empty();
}

// The span from the first picture shown to the end of the last audio frame of stream
// `audio_index`, in 90 kHz ticks, from the packets' presentation time stamps and durations.
std::int64_t expected_span(const std::string& path, int audio_index = 1) {
    const std::string csv =
        run("ffprobe -v error -show_entries packet=stream_index,pts,duration "
            "-of csv=p=0 '" +
            path + "'");
    std::int64_t video_start = std::numeric_limits<std::int64_t>::max();
    std::int64_t audio_end = 0;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        int stream = -1;
        long long pts = 0, duration = 0;
        if (std::sscanf(line.c_str(), "%d,%lld,%lld", &stream, &pts, &duration) != 3) continue;
        if (stream == 0) video_start = std::min<std::int64_t>(video_start, pts);
        if (stream == audio_index) audio_end = std::max<std::int64_t>(audio_end, pts + duration);
    }
    return audio_end - video_start;
}

struct Encoding {
    const char* name;
    int sampling_rate;
    int channels;
    int kbit;
};

void expect_measured_like_ffprobe(const std::string& path, const Encoding& encoding) {
    const auto source = audio_source_open(path, MemorySettings{});
    ASSERT_NE(source, nullptr) << encoding.name;
    EXPECT_EQ(source->sampling_rate(), encoding.sampling_rate) << encoding.name;
    EXPECT_EQ(source->bit_rate(), encoding.kbit * 1000) << encoding.name;
    const std::int64_t expected = ticks_to_samples(expected_span(path), encoding.sampling_rate);
    EXPECT_LE(std::llabs(source->length_samples() - expected), samples_per_frame)
        << encoding.name << ": " << source->length_samples() << " against " << expected;
}

TEST(EncoderStreams, FfmpegProgramStreamsMatchTheirPacketStamps) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    const Encoding encodings[] = {
        {"48k-stereo-192", 48000, 2, 192}, {"44k-stereo-128", 44100, 2, 128},
        {"32k-mono-64", 32000, 1, 64},     {"48k-mono-96", 48000, 1, 96},
        {"44k-stereo-256", 44100, 2, 256}, {"32k-stereo-384", 32000, 2, 384},
    };
    for (const Encoding& e : encodings) {
        const std::string path = dir.file(std::string(e.name) + ".mpg");
        const std::string command =
            "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
            "testsrc=size=320x240:rate=25 "
            "-f lavfi -i sine=frequency=440:sample_rate=" +
            std::to_string(e.sampling_rate) +
            " -t 4 -c:v mpeg2video -b:v 1500k -g 12 -bf 2 -c:a mp2 -b:a " + std::to_string(e.kbit) +
            "k -ac " + std::to_string(e.channels) + " -f vob '" + path + "' && echo ok";
        ASSERT_FALSE(run(command).empty()) << e.name;
        expect_measured_like_ffprobe(path, e);
    }
}

TEST(EncoderStreams, MjpegtoolsProgramStreamsMatchTheirPacketStamps) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    const std::string video = dir.file("video.m2v");
    ASSERT_FALSE(run("ffmpeg -nostdin -hide_banner -loglevel error -f lavfi "
                     "-i testsrc=size=352x288:rate=25 -t 4 -pix_fmt yuv420p -f yuv4mpegpipe - | "
                     "mpeg2enc -v 0 -f 3 -b 2000 -o '" +
                     video + "' && echo ok")
                     .empty());
    const Encoding encodings[] = {
        {"48k-stereo-224", 48000, 2, 224},
        {"44k-stereo-192", 44100, 2, 192},
        {"48k-mono-128", 48000, 1, 128},
    };
    for (const Encoding& e : encodings) {
        const std::string wav = dir.file(std::string(e.name) + ".wav");
        const std::string mp2 = dir.file(std::string(e.name) + ".mp2");
        const std::string path = dir.file(std::string(e.name) + ".mpg");
        const std::string command =
            "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
            "sine=frequency=330:sample_rate=" +
            std::to_string(e.sampling_rate) + " -t 4 -ac 2 '" + wav + "' && mp2enc -v 0 -b " +
            std::to_string(e.kbit) + " -r " + std::to_string(e.sampling_rate) +
            (e.channels == 1 ? " -m" : " -s") + " -o '" + mp2 + "' < '" + wav +
            "' && mplex -v 0 -f 3 -o '" + path + "' '" + video + "' '" + mp2 + "' && echo ok";
        ASSERT_FALSE(run(command).empty()) << e.name;
        expect_measured_like_ffprobe(path, e);
    }
}

// A program stream by ffmpeg of its test picture and a tone, `seconds` long; `audio` holds
// the audio encoder's options, `extra` further output options.
std::string ffmpeg_program_stream(const test::TempDir& dir, const std::string& name, int seconds,
                                  const std::string& audio = "-c:a mp2 -b:a 192k",
                                  const std::string& extra = "") {
    const std::string path = dir.file(name);
    const bool made = test::run_quietly(
        "ffmpeg -nostdin -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
        "sine=frequency=440:sample_rate=48000 -t " +
        std::to_string(seconds) + " -c:v mpeg2video -b:v 1500k -g 12 -bf 2 " + audio + " " +
        extra + " -f vob '" + path + "'");
    return made ? path : std::string();
}

std::int64_t length_of(const std::string& path, const SettingsStore& settings = MemorySettings{}) {
    const auto source = audio_source_open(path, settings);
    return source ? source->length_samples() : -1;
}

TEST(EncoderStreams, ASplitFileThatBeginsWithAnAudioPacketDoesNotCountItTwice) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    const std::string whole = ffmpeg_program_stream(dir, "whole.mpg", 6);
    ASSERT_FALSE(whole.empty());
    const std::vector<std::uint8_t> bytes = test::read_whole_file(whole);
    // Cut right at the start of an audio packet half way in.
    const std::array<std::uint8_t, 4> audio_start = {0, 0, 1, 0xC0};
    const auto cut = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2),
                                 bytes.end(), audio_start.begin(), audio_start.end());
    ASSERT_NE(cut, bytes.end());
    dir.write("cut001.mpg", std::vector<std::uint8_t>(bytes.begin(), cut));
    dir.write("cut002.mpg", std::vector<std::uint8_t>(cut, bytes.end()));
    MemorySettings split;
    split.set("file", 1);
    EXPECT_EQ(length_of(dir.file("cut001.mpg"), split), length_of(whole));
}

TEST(EncoderStreams, TimeStampsThatWrapAroundKeepTheLength) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    const std::string plain = ffmpeg_program_stream(dir, "plain.mpg", 6);
    // The 33-bit clock wraps at 95443.7 s: this recording's stamps cross it after 1.7 s.
    const std::string wrapped = ffmpeg_program_stream(dir, "wrapped.mpg", 6, "-c:a mp2 -b:a 192k",
                                                      "-output_ts_offset 95442");
    ASSERT_FALSE(plain.empty() || wrapped.empty());
    EXPECT_GT(length_of(plain), 0);
    EXPECT_EQ(length_of(wrapped), length_of(plain));
}

TEST(EncoderStreams, SingleChannelAbove192kbitIsRefused) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    // ffmpeg writes it; its frames hold bytes that look like headers of other formats.
    const std::string path = ffmpeg_program_stream(dir, "mono.mpg", 4, "-ac 1 -c:a mp2 -b:a 224k");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(length_of(path), -1);
}

TEST(EncoderStreams, LayerIIAfterAnotherMpegAudioStreamIsTheOneMeasured) {
    if (!tools_present() ||
        !test::run_quietly("ffmpeg -hide_banner -encoders | grep -q libmp3lame"))
        GTEST_SKIP() << "ffmpeg with libmp3lame, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    // Layer III at 48 kHz in stream 0xC0, Layer II at 44.1 kHz in 0xC1.
    const std::string path = dir.file("two-audio.mpg");
    ASSERT_TRUE(test::run_quietly(
        "ffmpeg -nostdin -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
        "sine=frequency=440:sample_rate=48000 -f lavfi -i sine=frequency=660:sample_rate=44100 "
        "-t 4 -map 0 -map 1 -map 2 -c:v mpeg2video -b:v 1500k -c:a:0 libmp3lame -b:a:0 128k "
        "-c:a:1 mp2 -b:a:1 192k -f vob '" +
        path + "'"));
    const auto source = audio_source_open(path, MemorySettings{});
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->sampling_rate(), 44100);
    const std::int64_t expected = ticks_to_samples(expected_span(path, 2), 44100);
    EXPECT_LE(std::llabs(source->length_samples() - expected), samples_per_frame);
}

TEST(EncoderStreams, RecordingsJoinedInOneFileAreMeasuredLikeASplitSet) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    const std::string first = ffmpeg_program_stream(dir, "first.mpg", 6);
    const std::string restarting = ffmpeg_program_stream(dir, "restarting.mpg", 9);
    const std::string jumping = ffmpeg_program_stream(dir, "jumping.mpg", 9, "-c:a mp2 -b:a 192k",
                                                      "-output_ts_offset 3600");
    ASSERT_FALSE(first.empty() || restarting.empty() || jumping.empty());
    const std::vector<std::uint8_t> head = test::read_whole_file(first);
    MemorySettings split;
    split.set("file", 1);
    for (const std::string& second : {restarting, jumping}) {
        const std::vector<std::uint8_t> tail = test::read_whole_file(second);
        dir.write("set001.mpg", head);
        dir.write("set002.mpg", tail);
        std::vector<std::uint8_t> joined = head;
        joined.insert(joined.end(), tail.begin(), tail.end());
        const std::int64_t expected = length_of(dir.file("set001.mpg"), split);
        EXPECT_GT(expected, length_of(second)) << second;
        EXPECT_EQ(length_of(dir.write("joined.mpg", joined)), expected) << second;
    }
}

// A transport stream by ffmpeg of its test picture and tones; `options` choose the streams,
// their encoders and the multiplexer's settings.
std::string ffmpeg_transport_stream(const test::TempDir& dir, const std::string& name,
                                    const std::string& options) {
    const std::string path = dir.file(name);
    const bool made = test::run_quietly(
        "ffmpeg -nostdin -y -f lavfi -i testsrc=size=320x240:rate=25 " + options +
        " -c:v mpeg2video -b:v 1500k -g 12 -bf 2 -f mpegts '" + path + "'");
    return made ? path : std::string();
}

// What ffprobe reports of audio stream `index`: "rate,channels,bit rate" (its first line; the
// stream is listed again under its program).
std::string probed_audio(const std::string& path, int index) {
    const std::string out = run("ffprobe -v error -select_streams a:" + std::to_string(index) +
                                " -show_entries stream=sample_rate,channels,bit_rate -of csv=p=0 '" +
                                path + "'");
    return out.substr(0, out.find('\n'));
}

struct TransportEncoding {
    Encoding audio;
    const char* mux_options;
};

class TransportStreams : public ::testing::TestWithParam<TransportEncoding> {};

// 188-byte packets, recorders' 192-byte ones, and the same stream in broadcast 204-byte ones.
TEST_P(TransportStreams, MatchWhatFfprobeReportsOfTheirLayerIIAudio) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    const Encoding& e = GetParam().audio;
    const std::string path = ffmpeg_transport_stream(
        dir, std::string(e.name) + ".ts",
        "-f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(e.sampling_rate) +
            " -t 4 -c:a mp2 -b:a " + std::to_string(e.kbit) + "k -ac " +
            std::to_string(e.channels) + " " + GetParam().mux_options);
    ASSERT_FALSE(path.empty());
    const auto source = audio_source_open(path, MemorySettings{});
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(std::to_string(source->sampling_rate()) + "," + std::to_string(source->channels()) +
                  "," + std::to_string(source->bit_rate()),
              probed_audio(path, 0));
    const std::int64_t expected = ticks_to_samples(expected_span(path), e.sampling_rate);
    EXPECT_LE(std::llabs(source->length_samples() - expected), samples_per_frame)
        << source->length_samples() << " against " << expected;

    const std::vector<std::uint8_t> bytes = test::read_whole_file(path);
    if (bytes.size() % 188 == 0) {
        const auto broadcast =
            audio_source_open(dir.write("broadcast.ts", test::repack(bytes, 0, 16)), MemorySettings{});
        ASSERT_NE(broadcast, nullptr);
        EXPECT_EQ(broadcast->length_samples(), source->length_samples());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ffmpeg, TransportStreams,
    ::testing::Values(TransportEncoding{{"ts_32k_mono", 32000, 1, 64}, ""},
                      TransportEncoding{{"ts_44k_stereo", 44100, 2, 192}, ""},
                      TransportEncoding{{"ts_48k_mono", 48000, 1, 128}, ""},
                      TransportEncoding{{"ts_48k_stereo", 48000, 2, 256}, ""},
                      TransportEncoding{{"m2ts_44k_stereo", 44100, 2, 128}, "-mpegts_m2ts_mode 1"},
                      TransportEncoding{{"m2ts_32k_mono", 32000, 1, 96}, "-mpegts_m2ts_mode 1"}),
    [](const ::testing::TestParamInfo<TransportEncoding>& param) { return param.param.audio.name; });

TEST(EncoderStreams, LayerIIAfterAc3OrAacInATransportStreamIsTheOneMeasured) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    for (const std::string codec : {"ac3", "aac"}) {
        // The first audio stream at 48 kHz, the Layer II one at 44.1 kHz.
        const std::string path = ffmpeg_transport_stream(
            dir, codec + ".ts",
            "-f lavfi -i sine=frequency=440:sample_rate=48000 -f lavfi -i "
            "sine=frequency=660:sample_rate=44100 -t 4 -map 0 -map 1 -map 2 -c:a:0 " +
                codec + " -c:a:1 mp2 -b:a:1 192k");
        ASSERT_FALSE(path.empty()) << codec;
        const auto source = audio_source_open(path, MemorySettings{});
        ASSERT_NE(source, nullptr) << codec;
        EXPECT_EQ(source->sampling_rate(), 44100) << codec;
        const std::int64_t expected = ticks_to_samples(expected_span(path, 2), 44100);
        EXPECT_LE(std::llabs(source->length_samples() - expected), samples_per_frame) << codec;
    }
}

std::int64_t frames_of(const std::string& path, int gl) {
    MemorySettings settings;
    settings.set("gl", gl);
    const auto source = video_source_open(path, settings);
    return source ? source->stream_info().frame_count : -1;
}

// ffmpeg gives every recording the same PIDs unless told otherwise: the second recording
// moves its program map (a new association drops the first program) or only its streams (the
// map on the same PID names others).
TEST(EncoderStreams, TransportStreamsJoinedWithOtherPidsAreReadToTheEnd) {
    if (!tools_present()) GTEST_SKIP() << "ffmpeg, ffprobe or mjpegtools missing";
    const test::TempDir dir;
    const std::string tone = "-f lavfi -i sine=frequency=440:sample_rate=48000 -c:a mp2 -b:a 192k ";
    const std::string first = ffmpeg_transport_stream(dir, "first.ts", tone + "-t 6");
    ASSERT_FALSE(first.empty());
    const std::vector<std::uint8_t> head = test::read_whole_file(first);
    for (const std::string moved :
         {"-mpegts_pmt_start_pid 0x1200 -mpegts_start_pid 0x300", "-mpegts_start_pid 0x400"}) {
        const std::string second =
            ffmpeg_transport_stream(dir, "second.ts", tone + "-t 4 " + moved);
        ASSERT_FALSE(second.empty()) << moved;
        std::vector<std::uint8_t> joined = head;
        const std::vector<std::uint8_t> tail = test::read_whole_file(second);
        joined.insert(joined.end(), tail.begin(), tail.end());
        const std::string path = dir.write("joined.ts", joined);

        // Without an end code a stream's last two frames go uncounted: the first recording's
        // count in the joined file.
        for (int gl : {1, 3}) {
            EXPECT_EQ(frames_of(path, gl), frames_of(first, 1) + 2 + frames_of(second, 1))
                << moved << ", gl " << gl;
        }
        // Audio played before the second recording's first picture counts in the joined file.
        EXPECT_LE(std::llabs(length_of(path) - length_of(first) - length_of(second)),
                  samples_per_frame)
            << moved;
    }
}

}  // namespace
}  // namespace quarnel
