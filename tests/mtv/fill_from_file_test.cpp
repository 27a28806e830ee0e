// Filling a header from MPEG files made by the test stream writers.

#include "mtv/fill_from_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "base/settings.h"
#include "support/mp2_writer.h"
#include "support/ps_writer.h"
#include "support/sample_stream.h"
#include "support/temp_dir.h"
#include "support/video_es_writer.h"

namespace quarnel {
namespace {

using test::Bytes;

Bytes video_stream(const SequenceInfo& sequence, int vbv_delay) {
    test::VideoEsWriter es;
    es.sequence(sequence).gop({.closed_gop = true});
    es.picture({.type = picture_type_i, .vbv_delay = vbv_delay});
    es.picture({.type = picture_type_p, .temporal_reference = 1, .vbv_delay = vbv_delay});
    es.sequence_end();
    return es.data();
}

Bytes audio_program_stream(std::int32_t sampling_rate) {
    const test::Mp2Format format{192000, sampling_rate, test::Mp2Mode::stereo};
    test::PsWriter ps;
    for (int i = 0; i < 4; ++i)
        ps.pack_header().pes(0xC0, test::mp2_frames(format, 3),
                             {.pts = 9000 + i * 3 * 1152 * 90000 / sampling_rate});
    ps.end_code();
    return ps.bytes();
}

// Every field of the header other than its file facts (size, name, creation time).
auto stream_fields(const MtvHeader& h) {
    return std::make_tuple(h.GetVideoSystem(), h.GetAspectIndex(), h.GetResolutionIndex(),
                           h.GetRateControl(), h.GetVideoBitRate(), h.GetAudioCoding(),
                           h.GetAudioBitRateIndex(), h.GetSamplingIndex());
}

class FillFromFileTest : public ::testing::Test {
  protected:
    bool fill(const std::string& path, bool video_auto, bool audio_auto) {
        return FillFromFile(header, path, video_auto, audio_auto, {settings});
    }

    test::TempDir dir;
    MemorySettings settings;
    MtvHeader header;
};

TEST_F(FillFromFileTest, DerivesBothGroupsOfAWidescreenPalProgramStream) {
    header.SetAudioCoding(0);
    ASSERT_TRUE(fill(dir.write("sample.mpg", test::sample_program_stream()), true, true));
    EXPECT_EQ(header.GetFileName(), "sample.mpg");
    EXPECT_EQ(header.GetFileSize(), test::sample_program_stream().size());
    EXPECT_EQ(header.GetVideoSystem(), 1);
    EXPECT_EQ(header.GetResolutionIndex(), 0);
    EXPECT_EQ(header.GetAspectIndex(), 1);
    EXPECT_EQ(header.GetRateControl(), 1);
    EXPECT_EQ(header.GetVideoBitRate(), 6000000);
    EXPECT_EQ(header.GetAudioBitRateIndex(), 8);  // 224 kbit/s
    EXPECT_EQ(header.GetSamplingIndex(), 0);
    EXPECT_EQ(header.GetAudioCoding(), 0);  // the user's choice stays
}

TEST_F(FillFromFileTest, MpegOneConstantRateStreamAtSif525) {
    SequenceInfo sequence = test::mpeg1_sequence(352, 240);
    sequence.frame_rate_code = 4;
    ASSERT_TRUE(fill(dir.write("vcd.m1v", video_stream(sequence, 0x2000)), true, false));
    EXPECT_EQ(header.GetVideoSystem(), 0);
    EXPECT_EQ(header.GetResolutionIndex(), 3);
    EXPECT_EQ(header.GetRateControl(), 0);
    EXPECT_EQ(header.GetVideoBitRate(), 2875 * 400);
}

TEST_F(FillFromFileTest, UnlistedPictureSizeGivesNtsc720x480) {
    header.SetVideoSystem(1);
    header.SetResolutionIndex(2);
    const Bytes vga = video_stream(test::mpeg2_sequence(640, 480), 0xFFFF);
    ASSERT_TRUE(fill(dir.write("vga.m2v", vga), true, true));
    EXPECT_EQ(header.GetVideoSystem(), 0);
    EXPECT_EQ(header.GetResolutionIndex(), 0);
}

TEST_F(FillFromFileTest, WithBothFlagsOffOnlyTheFileFactsChange) {
    header.SetVideoSystem(1);
    header.SetSamplingIndex(2);
    const auto before = stream_fields(header);
    ASSERT_TRUE(fill(dir.write("sample.mpg", test::sample_program_stream()), false, false));
    EXPECT_EQ(stream_fields(header), before);
    EXPECT_EQ(header.GetFileName(), "sample.mpg");
    EXPECT_NE(header.GetFileSize(), 0u);
}

TEST_F(FillFromFileTest, AFileTheAnalyserCannotReadFailsAfterItsFactsAreStored) {
    const std::string path = dir.write("notes.mpg", "plain text, no MPEG in here");
    const auto before = stream_fields(header);
    EXPECT_FALSE(fill(path, false, false));
    EXPECT_FALSE(fill(path, true, true));
    EXPECT_EQ(header.GetFileName(), "notes.mpg");
    EXPECT_EQ(header.GetFileSize(), 27u);
    EXPECT_EQ(stream_fields(header), before);
}

TEST_F(FillFromFileTest, AMissingFileFailsWithTheHeaderUnchanged) {
    const MtvHeader fresh;
    EXPECT_FALSE(fill(dir.file("missing.mpg"), true, true));
    EXPECT_EQ(header.bytes(), fresh.bytes());
}

TEST_F(FillFromFileTest, ASecondFileWithoutVideoKeepsTheFirstFilesVideoFields) {
    ASSERT_TRUE(fill(dir.write("sample.mpg", test::sample_program_stream()), true, true));
    ASSERT_TRUE(fill(dir.write("talk.mpg", audio_program_stream(44100)), true, true));
    EXPECT_EQ(header.GetFileName(), "talk.mpg");
    EXPECT_EQ(header.GetVideoSystem(), 1);
    EXPECT_EQ(header.GetAspectIndex(), 1);
    EXPECT_EQ(header.GetVideoBitRate(), 6000000);
    EXPECT_EQ(header.GetSamplingIndex(), 1);      // 44100 Hz
    EXPECT_EQ(header.GetAudioBitRateIndex(), 7);  // 192 kbit/s
}

TEST_F(FillFromFileTest, AFileOverFourGibibytesKeepsItsWholeSize) {
    const std::string path = dir.file("big.bin");
    constexpr std::uint64_t size = 5'000'000'000;
    { std::ofstream out(path, std::ios::binary); }
    std::error_code error;
    std::filesystem::resize_file(path, size, error);  // sparse: no blocks are written
    if (error) GTEST_SKIP() << "cannot make a sparse file here: " << error.message();
    EXPECT_FALSE(fill(path, true, true));  // zeros are no MPEG stream
    EXPECT_EQ(header.GetFileSize(), size);
}

TEST_F(FillFromFileTest, ACancelledScanLeavesNoGopListAndNoVideo) {
    // Without time codes the frames can only be counted by a GOP list scan.
    settings.set("gl", 2);
    class Cancel : public ProgressDialog {
      public:
        bool progress_update(int) override { return false; }
        bool progress_cancelled() const override { return true; }
    };
    const std::string path =
        dir.write("clip.m2v", video_stream(test::mpeg2_sequence(720, 576), 0xFFFF));
    EXPECT_FALSE(FillFromFile(header, path, true, true,
                              {settings, [] { return std::make_unique<Cancel>(); }}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
    EXPECT_EQ(header.GetVideoSystem(), 0);
}

}  // namespace
}  // namespace quarnel
