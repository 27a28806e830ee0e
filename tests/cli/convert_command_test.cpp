// quarnel-cli convert, run as a user would on the built-in sample and on streams made by
// ffmpeg and mjpegtools at test time.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "mtv/mtv_header.h"
#include "support/external_programs.h"
#include "support/sample_stream.h"
#include "support/temp_dir.h"
#include "support/video_es_writer.h"

namespace quarnel {
namespace {

using namespace test;

class ConvertCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string(QUARNEL_CLI_PATH).empty()) GTEST_SKIP() << cli_skip_reason;
    }

    // Standard output and status of `quarnel-cli convert ARGUMENTS`.
    CommandResult convert(const std::string& arguments) {
        return run_with_output(shell_quoted(QUARNEL_CLI_PATH) + " convert " + arguments + " 2>" +
                               shell_quoted(dir.file("stderr.txt")));
    }

    MtvHeader header_at(const std::string& path) {
        const HeaderLoad load = load_mtv_header(path);
        EXPECT_EQ(load.status, HeaderLoadStatus::ok) << path;
        return load.header.value_or(MtvHeader());
    }

    std::string sample() { return dir.write("sample.mpg", sample_program_stream()); }

    TempDir dir;
};

TEST_F(ConvertCommand, WritesTheSamplesHeaderBesideIt) {
    const std::string input = sample();
    const CommandResult result = convert("--audio-auto " + shell_quoted(input));
    ASSERT_EQ(result.status, 0);
    const std::string out = dir.file("sample.mtv");
    EXPECT_EQ(result.output, out + "\n");
    EXPECT_EQ(std::filesystem::file_size(out), MtvHeader::size);
    const MtvHeader h = header_at(out);
    EXPECT_EQ(h.GetFileName(), "sample.mpg");
    EXPECT_EQ(h.GetFileSize(), std::filesystem::file_size(input));
    EXPECT_EQ(h.GetVideoSystem(), 1);
    EXPECT_EQ(h.GetResolutionIndex(), 0);
    EXPECT_EQ(h.GetAspectIndex(), 1);
    EXPECT_EQ(h.GetRateControl(), 1);
    EXPECT_EQ(h.GetVideoBitRate(), 6000000);
    EXPECT_EQ(h.GetAudioBitRateIndex(), 8);
    EXPECT_EQ(h.GetSamplingIndex(), 0);
    EXPECT_EQ(h.GetAudioCoding(), 2);
}

TEST_F(ConvertCommand, AudioIsDerivedOnlyWhenAskedAndVideoUnlessRefused) {
    const std::string input = sample();
    ASSERT_EQ(convert("--sampling 32000 " + shell_quoted(input)).status, 0);
    MtvHeader h = header_at(dir.file("sample.mtv"));
    EXPECT_EQ(h.GetVideoSystem(), 1);
    EXPECT_EQ(h.GetSamplingIndex(), 2);
    EXPECT_EQ(h.GetAudioBitRateIndex(), MtvHeader().GetAudioBitRateIndex());

    ASSERT_EQ(convert("--no-video-auto --audio-auto " + shell_quoted(input)).status, 0);
    h = header_at(dir.file("sample.mtv"));
    EXPECT_EQ(h.GetVideoSystem(), 0);
    EXPECT_EQ(h.GetVideoBitRate(), MtvHeader().GetVideoBitRate());
    EXPECT_EQ(h.GetSamplingIndex(), 0);
}

TEST_F(ConvertCommand, GivenValuesWinOverDerivedOnes) {
    const std::string out = dir.file("chosen.mtv");
    const CommandResult result = convert(
        "--audio-auto --system ntsc --resolution 352x240 --rate-control CBR --bit-rate 8000000 "
        "--aspect 4:3 --audio-bit-rate unknown --sampling 44100 --ac3 -o " +
        shell_quoted(out) + " " + shell_quoted(sample()));
    ASSERT_EQ(result.status, 0);
    const MtvHeader h = header_at(out);
    EXPECT_EQ(h.GetVideoSystem(), 0);
    EXPECT_EQ(h.GetResolutionIndex(), 3);
    EXPECT_EQ(h.GetRateControl(), 0);
    EXPECT_EQ(h.GetVideoBitRate(), 8000000);
    EXPECT_EQ(h.GetAspectIndex(), 0);
    EXPECT_EQ(h.GetAudioBitRateIndex(), 15);
    EXPECT_EQ(h.GetSamplingIndex(), 1);
    EXPECT_EQ(h.GetAudioCoding(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.mtv")));
}

TEST_F(ConvertCommand, ABatchSkipsWhatItCannotReadAndReportsIt) {
    const std::string first = sample();
    const std::string text = dir.write("notes.mpg", "no MPEG here");
    const std::string last = dir.write("again.mpg", sample_program_stream());
    dir.write("again.mtv", "an old header is replaced");
    const CommandResult result =
        convert(shell_quoted(first) + " " + shell_quoted(text) + " " + shell_quoted(last));
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.file("sample.mtv")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("notes.mtv")));
    EXPECT_EQ(header_at(dir.file("again.mtv")).GetFileName(), "again.mpg");
    std::ifstream err(dir.file("stderr.txt"));
    const std::string reported{std::istreambuf_iterator<char>(err), {}};
    EXPECT_NE(reported.find("notes.mpg"), std::string::npos) << reported;
}

// A named pipe would block the open; `timeout` turns that into a failure.
TEST_F(ConvertCommand, EachFailureNamesItsCause) {
    const std::string pipe = dir.file("pipe.mpg");
    ASSERT_EQ(std::system(("mkfifo " + shell_quoted(pipe)).c_str()), 0);
    VideoEsWriter es;  // no picture that decoding can start from
    es.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("PBBP");
    es.sequence_end();
    const std::string predicted = dir.write("predicted.m2v", es.data());
    const CommandResult result = run_with_output("timeout 20 " + shell_quoted(QUARNEL_CLI_PATH) +
                                                 " convert --setting gl=3 " + shell_quoted(pipe) +
                                                 " " + shell_quoted(predicted) + " 2>&1");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "quarnel-cli: " + pipe + ": not a regular file\nquarnel-cli: " +
                                 predicted + ": no I picture in the video; no Layer II audio\n");
}

TEST_F(ConvertCommand, UsageErrorsExitWithTwoAndWriteNothing) {
    const std::string input = shell_quoted(sample());
    for (const std::string& arguments :
         {"--aspect 2.35:1 " + input, "--system secam " + input, "--resolution 640x480 " + input,
          "--system pal --resolution 720x480 " + input, "--bit-rate 0 " + input,
          "--audio-bit-rate 100 " + input, "--sampling 22050 " + input,
          "--name-encoding latin1 " + input, "--setting gl " + input,
          "-o x.mtv " + input + " " + input, std::string()}) {
        EXPECT_EQ(convert(arguments).status, 2) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.mtv")));
}

TEST_F(ConvertCommand, NamesCanBeStoredInCodePage932) {
    const std::string input = dir.write("\xE6\x98\xA0\xE5\x83\x8F.mpg", sample_program_stream());
    ASSERT_EQ(convert("--name-encoding cp932 " + shell_quoted(input)).status, 0);
    EXPECT_EQ(header_at(dir.file("\xE6\x98\xA0\xE5\x83\x8F.mtv")).GetFileName(),
              "\x89\x66\x91\x9C.mpg");
    ASSERT_EQ(convert(shell_quoted(input)).status, 0);
    EXPECT_EQ(header_at(dir.file("\xE6\x98\xA0\xE5\x83\x8F.mtv")).GetFileName(),
              "\xE6\x98\xA0\xE5\x83\x8F.mpg");

    const std::string emoji = dir.write("\xF0\x9F\x8E\xA5.mpg", sample_program_stream());
    EXPECT_EQ(convert("--name-encoding cp932 " + shell_quoted(emoji)).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("\xF0\x9F\x8E\xA5.mtv")));
}

TEST_F(ConvertCommand, SettingsGivenForTheRunReachTheAnalyser) {
    const std::string input = sample();
    ASSERT_EQ(convert("--setting gl=3 " + shell_quoted(input)).status, 0);  // no GOP list file
    EXPECT_FALSE(std::filesystem::exists(dir.file("sample.gl")));
    ASSERT_EQ(convert(shell_quoted(input) + " --setting gl=2").status, 0);  // scan, keep the list
    EXPECT_TRUE(std::filesystem::exists(dir.file("sample.gl")));
}

TEST_F(ConvertCommand, CtrlCDuringAScanWritesNeitherGopListNorHeader) {
    // 300 MB of one GOP repeated: long enough to be scanned for seconds, its frames counted by
    // a scan since the setting gl=2 asks for one.
    VideoEsWriter gop;
    gop.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true});
    for (int i = 0; i < 12; ++i)
        gop.picture({.type = i == 0 ? picture_type_i : picture_type_p, .temporal_reference = i})
            .slice(1, 100);
    const std::string input = dir.file("long.m2v");
    {
        std::ofstream out(input, std::ios::binary);
        const auto& bytes = gop.data();
        for (std::size_t written = 0; written < 300'000'000; written += bytes.size())
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
    }
    // quarnel-cli starts with SIGINT ignored, so a signal that comes before it has set up its
    // handler is lost: keep sending it until the program ends, so that the test does not
    // depend on how fast the machine reaches the scan.
    const CommandResult result = run_with_output(
        "cd " + shell_quoted(dir.path().string()) + " && { trap '' INT; " +
        shell_quoted(QUARNEL_CLI_PATH) +
        " convert --setting gl=2 long.m2v 2>/dev/null & pid=$!; "
        "while kill -INT $pid 2>/dev/null; do sleep 0.02; done; wait $pid; echo $?; }");
    EXPECT_EQ(result.output, "1\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("long.gl")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("long.mtv")));
}

// Streams from real encoders, and the fields their headers must get.
struct EncodedStream {
    const char* name;
    const char* command;  // makes OUT.mpg in the current directory
    std::uint8_t video_system;
    std::uint8_t resolution_index;
    std::uint8_t aspect_index;
    std::uint8_t audio_bit_rate_index;
    std::uint8_t sampling_index;
};

class ConvertEncodedStream : public ConvertCommand,
                             public ::testing::WithParamInterface<EncodedStream> {};

TEST_P(ConvertEncodedStream, HeaderFieldsMatchTheStream) {
    const EncodedStream& stream = GetParam();
    if (!have_program("ffmpeg") || !have_program("mpeg2enc") || !have_program("mplex"))
        GTEST_SKIP() << "ffmpeg or mjpegtools missing";
    const std::string input = dir.file("OUT.mpg");
    ASSERT_TRUE(run_command("cd " + shell_quoted(dir.path().string()) + " && (" + stream.command +
                            ") >/dev/null 2>&1"));
    const CommandResult info =
        run_with_output(shell_quoted(QUARNEL_CLI_PATH) + " info --json " + shell_quoted(input));
    ASSERT_EQ(info.status, 0);

    ASSERT_EQ(convert("--audio-auto " + shell_quoted(input)).status, 0);
    const MtvHeader h = header_at(dir.file("OUT.mtv"));
    EXPECT_EQ(h.GetFileSize(), std::filesystem::file_size(input));
    EXPECT_EQ(h.GetVideoSystem(), stream.video_system);
    EXPECT_EQ(h.GetResolutionIndex(), stream.resolution_index);
    EXPECT_EQ(h.GetAspectIndex(), stream.aspect_index);
    EXPECT_EQ(h.GetAudioBitRateIndex(), stream.audio_bit_rate_index);
    EXPECT_EQ(h.GetSamplingIndex(), stream.sampling_index);
    const bool vbr = info.output.find("\"vbv_delay\":65535") != std::string::npos;
    EXPECT_EQ(h.GetRateControl(), vbr ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    RealEncoders, ConvertEncodedStream,
    ::testing::Values(
        EncodedStream{"ffmpeg_pal_widescreen_cbr",
                      "ffmpeg -nostdin -y -f lavfi -i testsrc=size=720x576:rate=25 -f lavfi -i "
                      "sine=sample_rate=48000 -t 2 -c:v mpeg2video -b:v 6M -minrate 6M -maxrate "
                      "6M -bufsize 1835k -aspect 16:9 -c:a mp2 -ac 2 -b:a 224k -f vob OUT.mpg",
                      1, 0, 1, 8, 0},
        EncodedStream{"ffmpeg_ntsc_half_d1",
                      "ffmpeg -nostdin -y -f lavfi -i testsrc=size=352x480:rate=30000/1001 -f "
                      "lavfi -i sine=sample_rate=32000 -t 2 -c:v mpeg2video -b:v 3M -aspect 4:3 "
                      "-c:a mp2 -ac 2 -b:a 192k -f dvd OUT.mpg",
                      0, 2, 0, 7, 2},
        EncodedStream{"mjpegtools_vcd",
                      "ffmpeg -nostdin -f lavfi -i testsrc=size=352x240:rate=30000/1001 -t 2 "
                      "-pix_fmt yuv420p -f yuv4mpegpipe - | mpeg2enc -v 0 -f 1 -o v.m1v && "
                      "ffmpeg -nostdin -y -f lavfi -i sine=sample_rate=44100 -t 2 -ac 2 -c:a mp2 "
                      "-b:a 224k a.mp2 && mplex -v 0 -f 1 -o OUT.mpg v.m1v a.mp2",
                      0, 3, 0, 8, 1}),
    [](const ::testing::TestParamInfo<EncodedStream>& param) { return param.param.name; });

TEST_F(ConvertCommand, TheBitRateOfARealStreamIsItsSequenceHeadersRate) {
    if (!have_program("ffmpeg")) GTEST_SKIP() << "ffmpeg missing";
    const std::string input = dir.file("cbr.m2v");
    ASSERT_TRUE(run_command(
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=704x576:rate=25 -t 1 -c:v "
        "mpeg2video -b:v 5M -minrate 5M -maxrate 5M -bufsize 1835k " +
        shell_quoted(input)));
    ASSERT_EQ(convert(shell_quoted(input)).status, 0);
    const MtvHeader h = header_at(dir.file("cbr.mtv"));
    EXPECT_EQ(h.GetVideoBitRate(), 5000000);
    EXPECT_EQ(h.GetRateControl(), 0);
    EXPECT_EQ(h.GetResolutionIndex(), 1);
}

}  // namespace
}  // namespace quarnel
