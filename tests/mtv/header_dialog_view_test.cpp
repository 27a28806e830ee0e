#include "mtv/header_dialog_view.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

// Holds what a dialog would show; values start at markers that no mapping writes.
struct FakeDialog : HeaderDialogView {
    std::string name = "untouched", size = "untouched";
    std::array<std::string, 6> times{};
    std::uint8_t video_system = 99;
    std::vector<std::string> resolutions;
    std::uint8_t resolution = 99, rate_control = 99, aspect = 99;
    bool aspect_enabled = false;
    std::string bit_rate = "untouched";
    std::uint8_t audio_bit_rate = 99, sampling = 99;
    bool ac3 = true;

    void set_file_name_text(const std::string& t) override { name = t; }
    void set_size_text(const std::string& t) override { size = t; }
    void set_time_texts(const std::array<std::string, 6>& t) override { times = t; }
    void set_video_system_choice(std::uint8_t v) override { video_system = v; }
    void set_resolution_entries(const std::vector<std::string>& e) override { resolutions = e; }
    void select_resolution(std::uint8_t v) override { resolution = v; }
    std::uint8_t selected_resolution() const override { return resolution; }
    void select_rate_control(std::uint8_t v) override { rate_control = v; }
    std::uint8_t selected_rate_control() const override { return rate_control; }
    void select_aspect(std::uint8_t v) override { aspect = v; }
    std::uint8_t selected_aspect() const override { return aspect; }
    void set_aspect_enabled(bool e) override { aspect_enabled = e; }
    void set_bit_rate_text(const std::string& t) override { bit_rate = t; }
    std::string bit_rate_text() const override { return bit_rate; }
    void select_audio_bit_rate(std::uint8_t v) override { audio_bit_rate = v; }
    std::uint8_t selected_audio_bit_rate() const override { return audio_bit_rate; }
    void select_sampling(std::uint8_t v) override { sampling = v; }
    std::uint8_t selected_sampling() const override { return sampling; }
    void set_ac3_ticked(bool t) override { ac3 = t; }
    bool ac3_ticked() const override { return ac3; }
};

using Bytes = std::vector<std::uint8_t>;
Bytes bytes_of(const MtvHeader& h) {
    return {h.bytes().begin(), h.bytes().end()};
}

TEST(HeaderDialogMapping, DefaultHeaderShowsItsValuesAndTimesRightAligned) {
    MtvHeader h;
    FakeDialog d;
    ShowValues(h, d, true, true);
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.size, "0 bytes");
    EXPECT_EQ(d.times,
              (std::array<std::string, 6>{"2002", "  12", "  19", "  18", "  30", "   0"}));
    EXPECT_EQ(d.video_system, 0);
    EXPECT_EQ(d.resolutions, (std::vector<std::string>{"720x480", "704x480", "352x480", "352x240",
                                                       "544x480", "480x480"}));
    EXPECT_EQ(d.resolution, 0);
    EXPECT_EQ(d.rate_control, 0);
    EXPECT_EQ(d.aspect, 0);
    EXPECT_TRUE(d.aspect_enabled);
    EXPECT_EQ(d.bit_rate, "6500000");
    EXPECT_EQ(d.audio_bit_rate, 8);
    EXPECT_EQ(d.sampling, 0);
    EXPECT_FALSE(d.ac3);
}

TEST(HeaderDialogMapping, FileFactsAreAlwaysShownAndGroupsOnlyWhenAsked) {
    MtvHeader h;
    ASSERT_TRUE(h.SetFileName("clip.m2p"));
    h.SetFileSize(5'000'000'000);
    FakeDialog d;
    ShowValues(h, d, false, false);
    EXPECT_EQ(d.name, "clip.m2p");
    EXPECT_EQ(d.size, "4.66 GB");
    EXPECT_EQ(d.times[0], "2002");
    EXPECT_EQ(d.video_system, 99);
    EXPECT_TRUE(d.resolutions.empty());
    EXPECT_EQ(d.bit_rate, "untouched");
    EXPECT_EQ(d.audio_bit_rate, 99);
    EXPECT_TRUE(d.ac3);

    ShowValues(h, d, false, true);
    EXPECT_EQ(d.audio_bit_rate, 8);
    EXPECT_EQ(d.video_system, 99);
}

TEST(HeaderDialogMapping, SwitchingToPalRefillsSizesAndResetsAnIndexBeyondThem) {
    MtvHeader h;
    h.SetResolutionIndex(5);  // 480x480 exists for NTSC only
    FakeDialog d;
    choose_video_system(h, d, 1);
    EXPECT_EQ(h.GetVideoSystem(), 1);
    EXPECT_EQ(h.GetResolutionIndex(), 0);
    EXPECT_EQ(d.resolutions,
              (std::vector<std::string>{"720x576", "704x576", "352x576", "352x288"}));
    EXPECT_EQ(d.resolution, 0);
    EXPECT_FALSE(d.aspect_enabled);

    h.SetResolutionIndex(3);
    choose_video_system(h, d, 0);
    EXPECT_EQ(h.GetResolutionIndex(), 3);
    EXPECT_EQ(d.resolution, 3);
    EXPECT_TRUE(d.aspect_enabled);
}

TEST(HeaderDialogMapping, ShowingAPalHeaderTicksPalAndKeepsAnIndexThatFits) {
    MtvHeader h;
    h.SetVideoSystem(1);
    h.SetResolutionIndex(3);
    h.SetAspectIndex(1);
    FakeDialog d;
    ShowValues(h, d, true, false);
    EXPECT_EQ(d.video_system, 1);
    EXPECT_EQ(d.resolution, 3);
    EXPECT_EQ(d.aspect, 1);
    EXPECT_FALSE(d.aspect_enabled);
}

TEST(HeaderDialogMapping, ReadTakesSelectionsTextAndAc3BoxOfTheAskedGroups) {
    MtvHeader h;
    FakeDialog d;
    d.resolution = 2;
    d.rate_control = 1;
    d.aspect = no_selection;
    d.bit_rate = " -8M";
    d.audio_bit_rate = 15;
    d.sampling = 2;
    d.ac3 = true;
    d.video_system = 1;

    const MtvHeader before = h;
    ReadValues(h, d, false, false);
    EXPECT_EQ(bytes_of(h), bytes_of(before));

    ReadValues(h, d, true, false);
    EXPECT_EQ(h.GetResolutionIndex(), 2);
    EXPECT_EQ(h.GetRateControl(), 1);
    EXPECT_EQ(h.GetAspectIndex(), 255);
    EXPECT_EQ(h.GetVideoBitRate(), -8);
    EXPECT_EQ(h.GetVideoSystem(), 0);  // the buttons store it, reading does not
    EXPECT_EQ(h.GetAudioCoding(), 2);

    ReadValues(h, d, false, true);
    EXPECT_EQ(h.GetAudioBitRateIndex(), 15);
    EXPECT_EQ(h.GetSamplingIndex(), 2);
    EXPECT_EQ(h.GetAudioCoding(), 0);
    EXPECT_EQ(h.bytes()[542], 3);
}

TEST(HeaderDialogMapping, ShowThenReadLeavesTheRecordAsItWas) {
    MtvHeader h;
    h.SetVideoSystem(1);
    h.SetResolutionIndex(2);
    h.SetRateControl(1);
    h.SetAspectIndex(1);
    h.SetVideoBitRate(-2'000'000'000);
    h.SetAudioBitRateIndex(14);
    h.SetSamplingIndex(1);
    h.SetAudioCoding(0);
    const MtvHeader before = h;
    FakeDialog d;
    ShowValues(h, d, true, true);
    ReadValues(h, d, true, true);
    EXPECT_EQ(bytes_of(h), bytes_of(before));
}

TEST(bit_rate_text, ReadsLikeStrtolWithA32BitLong) {
    EXPECT_EQ(read_decimal_text("6500000"), 6500000);
    EXPECT_EQ(read_decimal_text("8M"), 8);
    EXPECT_EQ(read_decimal_text(""), 0);
    EXPECT_EQ(read_decimal_text("bps"), 0);
    EXPECT_EQ(read_decimal_text(" \t\n+42"), 42);
    EXPECT_EQ(read_decimal_text("-17 000"), -17);
    EXPECT_EQ(read_decimal_text("- 5"), 0);
    EXPECT_EQ(read_decimal_text("+-5"), 0);
    EXPECT_EQ(read_decimal_text("0x10"), 0);
    EXPECT_EQ(read_decimal_text("2147483647"), 2147483647);
    EXPECT_EQ(read_decimal_text("2147483648"), 2147483647);
    EXPECT_EQ(read_decimal_text("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(read_decimal_text("-99999999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(read_decimal_text("00000000000000000000012"), 12);
}

}  // namespace
}  // namespace quarnel
