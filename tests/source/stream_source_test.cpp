// The stream source interface over files with video, audio, both or neither.

#include "source/stream_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#endif

#include "audio/audio_source.h"
#include "base/settings.h"
#include "mtv/file_facts.h"
#include "support/mp2_writer.h"
#include "support/ps_writer.h"
#include "support/sample_stream.h"
#include "support/temp_dir.h"
#include "support/video_es_writer.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

// A 64-bit count from the two halves a record stores.
constexpr std::int64_t joined_length(std::uint32_t low, std::uint32_t high) {
    return static_cast<std::int64_t>((std::uint64_t{high} << 32) | low);
}

using test::Bytes;

// Twelve 720x576 pictures at 25 frames/s after one GOP header.
Bytes video_elementary_stream() {
    test::VideoEsWriter es;
    es.sequence(test::mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("IBBPBBPBBPBB");
    es.sequence_end();
    return es.data();
}

// Twelve stamped frames of 48 kHz Layer II audio in a program stream, nothing else.
Bytes audio_program_stream() {
    const test::Mp2Format format{128000, 48000, test::Mp2Mode::stereo};
    test::PsWriter ps;
    for (int i = 0; i < 4; ++i)
        ps.pack_header().pes(0xC0, test::mp2_frames(format, 3), {.pts = 9000 + i * 6480});
    ps.end_code();
    return ps.bytes();
}

class StreamSourceTest : public ::testing::Test {
  protected:
    std::unique_ptr<StreamSource> open(const std::string& path) {
        std::unique_ptr<StreamSource> handle;
        const SourceResult result = OpenFile(path, {settings}, handle);
        EXPECT_EQ(result == S_OK, handle != nullptr);
        return handle;
    }

    test::TempDir dir;
    MemorySettings settings;
};

TEST_F(StreamSourceTest, AudioOnlyFileHasTheAudioFlagAndNoVideoStream) {
    auto source = open(dir.write("talk.mpg", audio_program_stream()));
    ASSERT_NE(source, nullptr);
    VF_FileInfo file;
    ASSERT_EQ(GetFileInfo(*source, &file), S_OK);
    EXPECT_EQ(file.stream_flags, 2u);

    VF_StreamInfo_Video video;
    video.rate = 77;
    EXPECT_EQ(GetStreamInfo(*source, 1, &video), E_FAIL);
    EXPECT_EQ(video.rate, 77u);

    VF_StreamInfo_Audio audio;
    ASSERT_EQ(GetStreamInfo(*source, 2, &audio), S_OK);
    EXPECT_EQ(joined_length(audio.length_low, audio.length_high), 12 * 1152);
    EXPECT_EQ(audio.rate, 48000u);
    // Delivered samples are described as 16-bit stereo whatever the stream holds.
    EXPECT_EQ(audio.scale, 1u);
    EXPECT_EQ(audio.channels, 2u);
    EXPECT_EQ(audio.bits_per_sample, 16u);
    EXPECT_EQ(audio.block_align, 4u);
    EXPECT_EQ(CloseFile(std::move(source)), S_OK);
}

TEST_F(StreamSourceTest, VideoOnlyFileHasTheVideoFlagAndNoAudioStream) {
    auto source = open(dir.write("clip.m2v", video_elementary_stream()));
    ASSERT_NE(source, nullptr);
    VF_FileInfo file;
    ASSERT_EQ(GetFileInfo(*source, &file), S_OK);
    EXPECT_EQ(file.stream_flags, 1u);

    VF_StreamInfo_Audio audio;
    EXPECT_EQ(GetStreamInfo(*source, 2, &audio), E_FAIL);
    VF_StreamInfo_Video video;
    ASSERT_EQ(GetStreamInfo(*source, 1, &video), S_OK);
    EXPECT_EQ(joined_length(video.length_low, video.length_high), 12);
    EXPECT_EQ(video.rate, 25u);
    EXPECT_EQ(video.scale, 1u);
    EXPECT_EQ(video.width, 720u);
    EXPECT_EQ(video.height, 576u);
    EXPECT_EQ(video.bit_count, 24u);
    EXPECT_EQ(CloseFile(std::move(source)), S_OK);
}

TEST_F(StreamSourceTest, ProgramStreamWithBothHasBothFlags) {
    const auto source = open(dir.write("sample.mpg", test::sample_program_stream()));
    ASSERT_NE(source, nullptr);
    VF_FileInfo file;
    ASSERT_EQ(GetFileInfo(*source, &file), S_OK);
    EXPECT_EQ(file.stream_flags, 3u);
    VF_StreamInfo_Video video;
    ASSERT_EQ(GetStreamInfo(*source, 1, &video), S_OK);
    EXPECT_EQ(video.length_low, static_cast<std::uint32_t>(test::sample_frames));
    VF_StreamInfo_Audio audio;
    ASSERT_EQ(GetStreamInfo(*source, 2, &audio), S_OK);
    EXPECT_EQ(audio.length_low, static_cast<std::uint32_t>(test::sample_audio_frames * 1152));
}

TEST_F(StreamSourceTest, RecordsOfTheWrongSizeOrMissingAreRefusedUnchanged) {
    const auto source = open(dir.write("sample.mpg", test::sample_program_stream()));
    ASSERT_NE(source, nullptr);
    VF_FileInfo file{12, 0xDEAD};
    EXPECT_EQ(GetFileInfo(*source, &file), E_FAIL);
    EXPECT_EQ(file.size, 12u);
    EXPECT_EQ(file.stream_flags, 0xDEADu);
    EXPECT_EQ(GetFileInfo(*source, nullptr), E_FAIL);

    VF_StreamInfo_Video video;
    video.size = 28;
    const VF_StreamInfo_Video before = video;
    EXPECT_EQ(GetStreamInfo(*source, 1, &video), E_FAIL);
    EXPECT_EQ(std::memcmp(&video, &before, sizeof video), 0);
    EXPECT_EQ(GetStreamInfo(*source, 1, static_cast<VF_StreamInfo_Video*>(nullptr)), E_FAIL);
    VF_StreamInfo_Audio audio;
    audio.size = 64;
    EXPECT_EQ(GetStreamInfo(*source, 2, &audio), E_FAIL);
}

TEST_F(StreamSourceTest, OnlyStreamsOneAndTwoWithTheirOwnKindOfRecordExist) {
    const auto source = open(dir.write("sample.mpg", test::sample_program_stream()));
    ASSERT_NE(source, nullptr);
    VF_StreamInfo_Video video;
    VF_StreamInfo_Audio audio;
    for (const int stream : {0, 3, -1}) {
        EXPECT_EQ(GetStreamInfo(*source, stream, &video), E_FAIL) << stream;
        EXPECT_EQ(GetStreamInfo(*source, stream, &audio), E_FAIL) << stream;
    }
    EXPECT_EQ(GetStreamInfo(*source, 2, &video), E_FAIL);
    EXPECT_EQ(GetStreamInfo(*source, 1, &audio), E_FAIL);
}

TEST_F(StreamSourceTest, FilesWithNeitherStreamGiveNoHandle) {
    EXPECT_EQ(open(dir.write("notes.mpg", "not an MPEG file at all")), nullptr);
    EXPECT_EQ(open(dir.write("empty.mpg", "")), nullptr);
    EXPECT_EQ(open(dir.file("missing.mpg")), nullptr);
    EXPECT_EQ(open(dir.path().string()), nullptr);
}

TEST_F(StreamSourceTest, AFailedOpenSaysWhyForVideoAndAudio) {
    const auto why = [this](const std::string& path) {
        std::unique_ptr<StreamSource> handle;
        OpenFailures failures;
        EXPECT_EQ(OpenFile(path, {settings}, handle, &failures), E_FAIL) << path;
        return failures;
    };
    using enum OpenFailure;
    EXPECT_EQ(why(dir.file("missing.mpg")), (OpenFailures{cannot_open, cannot_open}));
    std::filesystem::create_directory(dir.file("folder.mpg"));
    EXPECT_EQ(why(dir.file("folder.mpg")), (OpenFailures{not_regular_file, not_regular_file}));
    EXPECT_EQ(why(dir.write("notes.txt", "text")),
              (OpenFailures{not_video_extension, no_layer2_audio}));
    EXPECT_EQ(why(dir.write("notes.mpg", "text")),
              (OpenFailures{no_sequence_header, no_layer2_audio}));

    test::VideoEsWriter headless;
    headless.sequence(test::mpeg2_sequence(720, 576)).gop({.closed_gop = true});
    EXPECT_EQ(why(dir.write("headless.m2v", headless.data())).video, no_picture_header);

    settings.set("gl", 3);  // the GOP list scan counts the frames
    test::VideoEsWriter predicted;
    predicted.sequence(test::mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("PBBP");
    predicted.sequence_end();
    EXPECT_EQ(why(dir.write("predicted.m2v", predicted.data())).video, no_i_picture);
}

#ifndef _WIN32
// Whether `open` returns on the named pipe at `path` without a writer. Opening a pipe for
// reading waits for one; should `open` wait, a writer comes after a few seconds, so that the
// test fails instead of hanging.
template <typename Open>
bool returns_without_a_writer(const std::string& path, Open open) {
    std::atomic<bool> done{false};
    std::atomic<bool> had_to_write{false};
    std::thread writer([&] {
        for (int k = 0; k < 30 && !done; ++k)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        while (!done) {
            had_to_write = true;
            const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    open();
    done = true;
    writer.join();
    return !had_to_write;
}

TEST_F(StreamSourceTest, ANamedPipeIsRefusedWithoutWaitingForAWriter) {
    const std::string path = dir.file("pipe.mpg");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    OpenFailures failures;
    EXPECT_TRUE(returns_without_a_writer(path, [&] {
        std::unique_ptr<StreamSource> handle;
        EXPECT_EQ(OpenFile(path, {settings}, handle, &failures), E_FAIL);
    }));
    EXPECT_EQ(failures,
              (OpenFailures{OpenFailure::not_regular_file, OpenFailure::not_regular_file}));
    // Each reader of the input refuses it on its own too.
    EXPECT_TRUE(
        returns_without_a_writer(path, [&] { EXPECT_FALSE(audio_source_open(path, settings)); }));
    EXPECT_TRUE(
        returns_without_a_writer(path, [&] { EXPECT_FALSE(video_source_open(path, settings)); }));
    EXPECT_TRUE(returns_without_a_writer(path, [&] { EXPECT_FALSE(read_file_facts(path)); }));
}
#endif

TEST(SourceRecords, CountsSplitIntoHalvesLowFirst) {
    constexpr std::int64_t frames = 0x1'2345'6789;
    EXPECT_EQ(low_half(frames), 0x2345'6789u);
    EXPECT_EQ(high_half(frames), 1u);
    EXPECT_EQ(joined_length(low_half(frames), high_half(frames)), frames);
    EXPECT_EQ(E_FAIL, static_cast<SourceResult>(0x80004005u));
}

}  // namespace
}  // namespace quarnel
