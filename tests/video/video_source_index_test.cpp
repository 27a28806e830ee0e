// Which index counts the frames of a video source, and the GOP list file beside its input.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "support/video_es_writer.h"
#include "video/gop_list_file.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

using namespace test;

// Counts the scans of the whole stream: each one creates a progress display.
struct ScanLog {
    int scans = 0;
    bool cancel = false;
};

class LoggedProgress : public ProgressDialog {
  public:
    explicit LoggedProgress(const ScanLog& log) : cancel_(log.cancel) {}
    bool progress_update(int) override { return !cancel_; }
    bool progress_cancelled() const override { return cancel_; }

  private:
    bool cancel_;
};

ProgressFactory logged(ScanLog& log) {
    return [&log] {
        ++log.scans;
        return std::make_unique<LoggedProgress>(log);
    };
}

// `gops` closed GOPs of six pictures at 25 frames/s, time codes from `first_frame` on; from
// GOP `restart` on they start again from 0, as in two recordings joined.
std::vector<std::uint8_t> stream(int gops, int first_frame = 0, int restart = -1) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    int frame = first_frame;
    for (int g = 0; g < gops; ++g, frame += 6) {
        if (g == restart) frame = 0;
        es.gop({.hours = frame / 90000,
                .minutes = frame / 1500 % 60,
                .seconds = frame / 25 % 60,
                .pictures = frame % 25,
                .closed_gop = true});
        es.pictures("IBBPBB");
    }
    es.sequence_end();
    return es.data();
}

MemorySettings gl(std::uint32_t value) {
    MemorySettings settings;
    settings.set("gl", value);
    return settings;
}

TEST(VideoSourceIndex, ContinuousTimeCodesCountTheFramesWithoutAScan) {
    const TempDir dir;
    for (int first_frame : {0, 10 * 3600 * 25 + 7}) {
        const auto path = dir.write("clip.mpg", stream(24, first_frame));
        ScanLog log;
        const auto source = video_source_open(path, gl(0), logged(log));
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->index_kind(), FrameIndexKind::time_code) << first_frame;
        EXPECT_EQ(source->stream_info().frame_count, 144) << first_frame;
        EXPECT_EQ(source->gop_list(), nullptr);
        EXPECT_EQ(log.scans, 0);
        EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
    }
}

TEST(VideoSourceIndex, TimeCodesThatRestartFallBackToAScanStoredBesideTheInput) {
    const TempDir dir;
    const auto path = dir.write("clip.mpg", stream(24, 12 * 6, 12));
    ScanLog log;
    const auto source = video_source_open(path, gl(0), logged(log));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->index_kind(), FrameIndexKind::gop_list);
    EXPECT_EQ(source->stream_info().frame_count, 144);
    ASSERT_NE(source->gop_list(), nullptr);
    EXPECT_EQ(source->gop_list()->entries.size(), 24u);
    EXPECT_EQ(log.scans, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.file("clip.gl")));
}

TEST(VideoSourceIndex, GopListFileIsWrittenThenReadUntilTheStreamChangesSize) {
    const TempDir dir;
    const auto path = dir.write("clip.mpg", stream(24));
    const auto list_file = dir.file("clip.gl");
    ScanLog log;

    auto source = video_source_open(path, gl(2), logged(log));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->index_kind(), FrameIndexKind::gop_list);
    EXPECT_EQ(source->stream_info().frame_count, 144);
    EXPECT_EQ(log.scans, 1);
    ASSERT_TRUE(read_gop_list_file(list_file));
    source.reset();

    source = video_source_open(path, gl(2), logged(log));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->stream_info().frame_count, 144);
    EXPECT_EQ(log.scans, 1) << "the second open scanned instead of reading " << list_file;
    source.reset();

    dir.write("clip.mpg", stream(30));
    source = video_source_open(path, gl(2), logged(log));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->stream_info().frame_count, 180);
    EXPECT_EQ(log.scans, 2);
    const auto rewritten = read_gop_list_file(list_file);
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(rewritten->total_frames, 180);
}

TEST(VideoSourceIndex, UnreadableGopListFileIsRebuiltSilently) {
    const TempDir dir;
    const auto path = dir.write("clip.mpg", stream(4));
    dir.write("clip.gl", "GOP_LIST but not really");
    ScanLog log;
    const auto source = video_source_open(path, gl(2), logged(log));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->stream_info().frame_count, 24);
    EXPECT_EQ(log.scans, 1);
    EXPECT_TRUE(read_gop_list_file(dir.file("clip.gl")));
}

TEST(VideoSourceIndex, ListFileBitKeepsTheScanInMemory) {
    const TempDir dir;
    const auto path = dir.write("clip.mpg", stream(24));
    ScanLog log;
    const auto scanned = video_source_open(path, gl(3), logged(log));
    ASSERT_NE(scanned, nullptr);
    EXPECT_EQ(scanned->index_kind(), FrameIndexKind::gop_list);
    EXPECT_EQ(scanned->stream_info().frame_count, 144);
    EXPECT_EQ(log.scans, 1);

    const auto from_time_codes = video_source_open(path, gl(1), logged(log));
    ASSERT_NE(from_time_codes, nullptr);
    EXPECT_EQ(from_time_codes->index_kind(), FrameIndexKind::time_code);
    EXPECT_EQ(log.scans, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
}

TEST(VideoSourceIndex, CancelledScanFailsTheOpenAndWritesNothing) {
    const TempDir dir;
    const auto path = dir.write("clip.mpg", stream(24));
    ScanLog log{.cancel = true};
    EXPECT_EQ(video_source_open(path, gl(2), logged(log)), nullptr);
    EXPECT_EQ(log.scans, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
}

TEST(VideoSourceIndex, ScanThatFindsNoIPictureFailsTheOpen) {
    const TempDir dir;
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576)).gop().picture({.type = 2}).picture({.type = 2});
    es.sequence_end();
    EXPECT_EQ(video_source_open(dir.write("clip.mpg", es.data()), gl(0)), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
}

}  // namespace
}  // namespace quarnel
