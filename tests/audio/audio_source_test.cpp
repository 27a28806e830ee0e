#include "audio/audio_source.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "audio/frame_header.h"
#include "base/settings.h"
#include "picture_stream.h"
#include "support/mp2_writer.h"
#include "support/ps_writer.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

using test::Bytes;
using test::Mp2Format;
using test::Mp2Mode;
using test::PictureStream;
using test::PsWriter;

constexpr int audio_id = 0xC0;
constexpr int video_id = 0xE0;
const Mp2Format stereo48{192000, 48000, Mp2Mode::stereo};  // 576-byte frames of 2160 ticks

// Audio packets of `frames_per_packet` frames each, stamped from `first_stamp` on (or not
// stamped at all when it is -1).
void add_audio(PsWriter& ps, int packets, int frames_per_packet, std::int64_t first_stamp,
               const Mp2Format& format = stereo48, int stream_id = audio_id) {
    const Bytes payload = test::mp2_frames(format, frames_per_packet);
    for (int i = 0; i < packets; ++i) {
        const std::int64_t samples = std::int64_t{i} * frames_per_packet * samples_per_frame;
        test::PesFields fields;
        if (first_stamp >= 0)
            fields.pts = first_stamp + samples_to_ticks(samples, format.sampling_rate);
        ps.pack_header().pes(stream_id, payload, fields);
    }
}

// One packet per picture, stamped with the picture's stamp.
void add_video(PsWriter& ps, const PictureStream& video) {
    const auto& starts = video.picture_starts;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t from = i == 0 ? 0 : starts[i].first;
        const std::size_t to = i + 1 < starts.size() ? starts[i + 1].first : video.bytes.size();
        ps.pack_header().pes(video_id, {video.bytes.data() + from, to - from},
                             {.pts = starts[i].second});
    }
}

class AudioSourceTest : public ::testing::Test {
  protected:
    std::unique_ptr<AudioSource> open(const PsWriter& ps, const std::string& name = "clip.mpg") {
        return audio_source_open(dir_.write(name, ps.bytes()), settings_);
    }

    static constexpr std::int64_t unstamped = -1;
    static constexpr std::int64_t no_audio = -2;

    // Split files rec001.mpg, rec002.mpg, ..., each with 50 audio frames stamped from the
    // given stamp, unstamped, or none at all; the first opens with a picture at 3600.
    std::unique_ptr<AudioSource> open_split(std::initializer_list<std::int64_t> audio_stamps) {
        settings_.set("file", 1);
        std::string first;
        int index = 1;
        for (const std::int64_t stamp : audio_stamps) {
            PsWriter ps;
            add_video(ps, PictureStream(false, {{test::I, 3600}}));
            if (stamp != no_audio) add_audio(ps, 10, 5, stamp);
            const std::string path =
                dir_.write("rec00" + std::to_string(index++) + ".mpg", ps.bytes());
            if (first.empty()) first = path;
        }
        return audio_source_open(first, settings_);
    }

    test::TempDir dir_;
    MemorySettings settings_;
};

TEST_F(AudioSourceTest, ReportsTheStreamsFormatAndLength) {
    PsWriter ps;
    add_video(ps, PictureStream(false, {{test::I, 3600}, {test::P, 7200}}));
    add_audio(ps, 20, 5, 3600);
    const auto source = open(ps);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->sampling_rate(), 48000);
    EXPECT_EQ(source->channels(), 2);
    EXPECT_EQ(source->bit_rate(), 192000);
    EXPECT_EQ(source->length_samples(), 100 * samples_per_frame);
    EXPECT_EQ(source->reader().get_position(), 0);
}

TEST_F(AudioSourceTest, AudioBeforeTheFirstPictureShownDoesNotCount) {
    PsWriter ps;
    add_audio(ps, 1, 1, 45000);  // ahead of the video, as multiplexers place it
    add_video(ps, PictureStream(false, {{test::I, 90000}, {test::B, 82800}, {test::B, 86400}}));
    add_audio(ps, 99, 1, 45000 + 2160);
    const auto source = open(ps);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), 100 * samples_per_frame - 24000);  // 0.5 s at 48 kHz
}

TEST_F(AudioSourceTest, ClosedGopStartsAtTheFirstBPictureOpenGopAtTheIPicture) {
    for (const bool closed : {true, false}) {
        PsWriter ps;
        add_video(ps, PictureStream(
                          closed,
                          {{test::I, 10800}, {test::B, 3600}, {test::B, 7200}, {test::P, 21600}}));
        add_audio(ps, 10, 10, 3600);
        const auto source = open(ps);
        ASSERT_NE(source, nullptr);
        const std::int64_t skipped = closed ? 0 : ticks_to_samples(10800 - 3600, 48000);
        EXPECT_EQ(source->length_samples(), 100 * samples_per_frame - skipped) << closed;
    }
}

TEST_F(AudioSourceTest, WithoutVideoTheFirstAudioStampIsSampleZero) {
    PsWriter ps;
    add_audio(ps, 4, 3, 123456);
    const auto source = open(ps);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), 12 * samples_per_frame);
}

TEST_F(AudioSourceTest, SplitFilesThatRunOnKeepTheirOwnStamps) {
    // 200 ticks later than the first file's audio ends: within 5 ms, so taken as exact.
    const auto source = open_split({3600, 3600 + 50 * 2160 + 200});
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), ticks_to_samples(100 * 2160 + 200, 48000));
}

TEST_F(AudioSourceTest, AJumpBetweenSplitFilesIsRemoved) {
    const auto source = open_split({3600, 3600 + 50 * 2160 + 90000});
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), 100 * samples_per_frame);
}

TEST_F(AudioSourceTest, StampsThatRestartInAFileBeginASpanAGapOfUnder10sDoesNot) {
    PsWriter ps;
    add_audio(ps, 10, 5, 3600);
    add_audio(ps, 10, 5, 3600 + 50 * 2160 + 180000);  // two seconds of audio missing
    add_audio(ps, 10, 5, 3600);                       // another recording
    const auto source = open(ps);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), 150 * samples_per_frame + 96000);
}

TEST_F(AudioSourceTest, ASplitFileWithoutAudioAddsNothing) {
    const auto source = open_split({3600, no_audio, 3600 + 50 * 2160 + 500000});
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), 100 * samples_per_frame);
}

TEST_F(AudioSourceTest, AFirstFileWithoutStampedAudioCannotBeMeasured) {
    EXPECT_EQ(open_split({unstamped, 3600}), nullptr);
}

TEST_F(AudioSourceTest, TheEndIsMeasuredFromTheLastPacketWhereAFrameBegins) {
    // Stamped packets at the end that hold only the tail of a frame are passed over, up to
    // four of them.
    for (const int tails : {4, 5}) {
        PsWriter ps;
        add_audio(ps, 10, 5, 3600);
        for (int i = 0; i < tails; ++i)
            ps.pack_header().pes(audio_id, Bytes(300, 0x55), {.pts = 200000});
        const auto source = open(ps);
        if (tails == 4) {
            ASSERT_NE(source, nullptr);
            EXPECT_EQ(source->length_samples(), 50 * samples_per_frame);
        } else {
            EXPECT_EQ(source, nullptr);
        }
    }
}

TEST_F(AudioSourceTest, OnlyMpegAudioIsAccepted) {
    const Bytes ac3(1536, 0x0B);
    PsWriter ps;
    add_video(ps, PictureStream(false, {{test::I, 3600}}));
    ps.pack_header().private_stream_1(0x80, ac3, {.pts = 3600});
    ps.pack_header().private_stream_1(0xA0, Bytes(1000, 0x11), {.pts = 3600});  // LPCM
    ps.pack_header().private_stream_1(0x80, ac3, {.pts = 6480});
    EXPECT_EQ(open(ps), nullptr);
}

TEST_F(AudioSourceTest, TheMpegAudioStreamFirstInTheFileIsChosen) {
    PsWriter ps;
    add_audio(ps, 1, 4, 3600, {96000, 44100, Mp2Mode::mono}, 0xC1);
    add_audio(ps, 4, 4, 3600);
    add_audio(ps, 3, 4, 3600 + samples_to_ticks(4 * 1152, 44100), {96000, 44100, Mp2Mode::mono},
              0xC1);
    const auto source = open(ps);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->sampling_rate(), 44100);
    EXPECT_EQ(source->channels(), 1);
    // Stamps at 44.1 kHz are rounded to whole ticks.
    EXPECT_LE(std::llabs(source->length_samples() - 16 * samples_per_frame), 1);
}

TEST_F(AudioSourceTest, TheFirstStreamThatIsLayerIIIsChosen) {
    // Stream 0xC0 carries Layer III frames: the same frames with the layer bits changed.
    Bytes layer3 = test::mp2_frames(stereo48, 20);
    for (std::size_t at = 0; at < layer3.size(); at += 576) layer3[at + 1] = 0xFB;
    PsWriter ps;
    for (int i = 0; i < 4; ++i) {
        ps.pack_header().pes(audio_id, layer3, {.pts = 3600 + i * 20 * 2160});
        add_audio(ps, 1, 4, 3600 + i * samples_to_ticks(4 * 1152, 44100),
                  {96000, 44100, Mp2Mode::mono}, 0xC1);
    }
    const auto source = open(ps);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->sampling_rate(), 44100);
    EXPECT_LE(std::llabs(source->length_samples() - 16 * samples_per_frame), 1);
}

TEST_F(AudioSourceTest, AFrameHeaderWithoutAConfirmingSuccessorIsNotEnough) {
    PsWriter ps;
    add_audio(ps, 1, 1, 3600);
    ps.pack_header().pes(audio_id, Bytes(3000, 0), {.pts = 6000});
    EXPECT_EQ(open(ps), nullptr);
}

TEST_F(AudioSourceTest, OnlyARunOfFramesThatAgreeConfirmsTheStreamAndGivesItsValues) {
    // Frames at 44.1 kHz, each ending on a sync whose header does not parse or on a frame of
    // another format: chains that stray bytes of real streams form.
    Bytes scattered;
    const Bytes lookalike = {0xFF, 0xFE, 0x00, 0x00};  // Layer I
    for (int i = 0; i < 10; ++i) {
        const Bytes frame = test::mp2_frames({256000, 44100, Mp2Mode::stereo}, 1);
        scattered.insert(scattered.end(), frame.begin(), frame.end());
        const Bytes after = i % 2 ? lookalike : test::mp2_frames({}, 1);
        scattered.insert(scattered.end(), after.begin(), after.end());
        scattered.insert(scattered.end(), 300, 0x00);
    }
    const Bytes run = test::mp2_frames(stereo48, 5);
    for (const bool with_run : {false, true}) {
        PsWriter ps;
        ps.pack_header().pes(audio_id, with_run ? test::concat({run, scattered}) : scattered,
                             {.pts = 3600});
        ps.pack_header();
        const auto source = open(ps);
        if (!with_run) {
            EXPECT_EQ(source, nullptr);
            continue;
        }
        // A good run followed by stray bytes still counts, with its own values.
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->sampling_rate(), 48000);
        EXPECT_EQ(source->bit_rate(), 192000);
    }
}

TEST_F(AudioSourceTest, AudioPacketsBeyondTheProbedStartAreNotLookedFor) {
    PsWriter ps;
    for (int i = 0; i < 10; ++i) ps.pack_header().padding(65000);
    add_audio(ps, 4, 4, 3600);
    EXPECT_EQ(open(ps), nullptr);
}

// Damaged stamps can put the last packet before the first: each span still counts its own.
TEST(AudioLengthRegression, AudioWhoseLastStampPrecedesItsFirstCountsBothSpans) {
    test::PsWriter ps;
    const auto frames = test::mp2_frames({}, 2);
    ps.pack_header().pes(0xC0, frames, {.pts = 900000});
    ps.pack_header().pes(0xC0, frames, {.pts = 3600});

    const test::TempDir dir;
    const MemorySettings settings;
    const auto source = audio_source_open(dir.write("clip.mpg", ps.bytes()), settings);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), 4 * 1152);
}

}  // namespace
}  // namespace quarnel
