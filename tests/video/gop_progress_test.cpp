#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_dir.h"
#include "support/video_es_writer.h"
#include "video/gop_list.h"
#include "video/gop_list_file.h"

namespace quarnel {
namespace {

using namespace test;

struct DialogLog {
    std::vector<int> percents;
    int created = 0;
    int closed = 0;
};

// Records what the scan shows and presses Cancel once the percentage reaches `cancel_at`.
class RecordingDialog : public ProgressDialog {
  public:
    RecordingDialog(DialogLog& log, int cancel_at) : log_(log), cancel_at_(cancel_at) {
        ++log_.created;
    }
    ~RecordingDialog() override { ++log_.closed; }

    bool progress_update(int percent) override {
        EXPECT_FALSE(cancelled_) << "updated after Cancel";
        log_.percents.push_back(percent);
        cancelled_ = percent >= cancel_at_;
        return !cancelled_;
    }
    bool progress_cancelled() const override { return cancelled_; }

  private:
    DialogLog& log_;
    int cancel_at_;
    bool cancelled_ = false;
};

ProgressFactory recording(DialogLog& log, int cancel_at = 1000) {
    return [&log, cancel_at] { return std::make_unique<RecordingDialog>(log, cancel_at); };
}

VideoEsWriter long_stream() {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    for (int i = 0; i < 50; ++i) es.gop({.closed_gop = true}).pictures("IBBPBBPBB");
    es.sequence_end();
    return es;
}

constexpr FrameCounting counting{.progressive_sequence = false, .first_top_field_first = 1};

TEST(GopListProgress, ShowsTheShareReadAtEveryStartCodeAndClosesAtTheEnd) {
    DialogLog log;
    const auto reader = long_stream().open_reader();
    const auto list = build_gop_list(*reader, counting, recording(log));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->total_frames, 450);
    EXPECT_EQ(log.created, 1);
    EXPECT_EQ(log.closed, 1);
    ASSERT_GT(log.percents.size(), 450u * 2);  // a picture and a slice per picture at least
    EXPECT_TRUE(std::is_sorted(log.percents.begin(), log.percents.end()));
    EXPECT_EQ(log.percents.front(), 0);
    EXPECT_EQ(log.percents.back(), 99);  // the sequence end code starts in the last hundredth
}

TEST(GopListProgress, CancelAt40PercentFailsTheBuildAndWritesNoFile) {
    const test::TempDir dir;
    const std::string gl = dir.file("clip.gl");
    DialogLog log;
    const auto reader = long_stream().open_reader();
    const auto list = build_gop_list(*reader, counting, recording(log, 40));
    if (list) write_gop_list_file(*list, gl);
    EXPECT_FALSE(list);
    EXPECT_FALSE(std::filesystem::exists(gl));
    EXPECT_EQ(log.percents.back(), 40);
    EXPECT_EQ(log.closed, 1);
}

TEST(GopListProgress, DialogIsClosedWhenTheBuildFails) {
    VideoEsWriter no_i;
    no_i.sequence(mpeg2_sequence(720, 576)).gop().pictures("PBB");
    DialogLog log;
    EXPECT_FALSE(build_gop_list(*no_i.open_reader(), counting, recording(log)));
    EXPECT_EQ(log.closed, 1);
}

TEST(GopListProgress, WithoutADialogTheBuildRunsUnwatched) {
    const auto reader = long_stream().open_reader();
    EXPECT_TRUE(build_gop_list(*reader, counting, nullptr));
    EXPECT_TRUE(
        build_gop_list(*reader, counting, [] { return std::unique_ptr<ProgressDialog>(); }));
}

}  // namespace
}  // namespace quarnel
