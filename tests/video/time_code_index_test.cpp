#include "video/time_code_index.h"

#include <gtest/gtest.h>

#include "support/video_es_writer.h"
#include "video/video_bit_reader.h"

namespace quarnel {
namespace {

using namespace test;

constexpr int fps = 25;
constexpr FrameCounting counting{.progressive_sequence = false, .first_top_field_first = 1};
constexpr std::int64_t one_hour = 3600 * fps;

GopParams time_code(std::int64_t frame, bool closed) {
    return {.hours = static_cast<int>(frame / one_hour),
            .minutes = static_cast<int>(frame / (60 * fps) % 60),
            .seconds = static_cast<int>(frame / fps % 60),
            .pictures = static_cast<int>(frame % fps),
            .closed_gop = closed};
}

struct Stream {
    VideoEsWriter es;
    std::vector<std::int64_t> sequence_positions;  // the header repeated before each GOP
    std::vector<std::int64_t> gop_positions;
};

// `gops` GOPs of `coded` pictures, each shown as its time code says, the first one closed,
// each after a repeated sequence header.
Stream gop_stream(int gops, std::int64_t origin, std::string_view coded, bool open_gops,
                  bool with_end = true) {
    Stream s;
    const auto length = static_cast<std::int64_t>(coded.size());
    for (int k = 0; k < gops; ++k) {
        s.sequence_positions.push_back(static_cast<std::int64_t>(s.es.data().size()));
        s.es.sequence(mpeg2_sequence(720, 576));
        s.gop_positions.push_back(static_cast<std::int64_t>(s.es.data().size()));
        s.es.gop(time_code(origin + k * length, k == 0 || !open_gops)).pictures(coded);
    }
    if (with_end) s.es.sequence_end();
    return s;
}

std::int64_t time_code_total(const VideoEsWriter& es) {
    const auto reader = es.open_reader();
    TimeCodeIndex index(*reader, frame_rate(mpeg2_sequence(720, 576)), counting);
    return index.time_code_frame_count();
}

std::int64_t gop_list_total(const VideoEsWriter& es) {
    const auto reader = es.open_reader();
    const auto list = build_gop_list(*reader, counting, nullptr);
    return list ? list->total_frames : -1;
}

TEST(TimeCodeIndex, AgreesWithTheGopListWhateverTheFirstTimeCode) {
    for (const std::int64_t origin : {std::int64_t{0}, one_hour, 10 * one_hour + 17}) {
        for (const bool open : {false, true}) {
            const Stream s = gop_stream(40, origin, "IBBPBBPBBPBB", open);
            EXPECT_EQ(time_code_total(s.es), 480) << origin << (open ? " open" : " closed");
            EXPECT_EQ(gop_list_total(s.es), 480);
        }
    }
    const Stream unterminated = gop_stream(40, one_hour, "IBBPBBPBBPBB", true, false);
    EXPECT_EQ(time_code_total(unterminated.es), 478);
    EXPECT_EQ(gop_list_total(unterminated.es), 478);
}

TEST(TimeCodeIndex, AStreamOfOneGopIsCountedFromItAlone) {
    const Stream s = gop_stream(1, one_hour, "IBBPBBPBB", false);
    EXPECT_EQ(time_code_total(s.es), 9);
}

TEST(TimeCodeIndex, InconsistentTimeCodesAreNotTrusted) {
    VideoEsWriter late;  // every GOP's time code steps by one frame more than it shows
    late.sequence(mpeg2_sequence(720, 576));
    for (int k = 0; k < 40; ++k) late.gop(time_code(k * 10, true)).pictures("IBBPBBPBB");
    late.sequence_end();
    EXPECT_EQ(time_code_total(late), -1);
    EXPECT_EQ(gop_list_total(late), 360);

    VideoEsWriter restarted;  // time codes that start again in the middle of the stream
    restarted.sequence(mpeg2_sequence(720, 576));
    for (int k = 0; k < 40; ++k) restarted.gop(time_code((k % 20) * 9, true)).pictures("IBBPBBPBB");
    EXPECT_EQ(time_code_total(restarted), -1);

    VideoEsWriter p_first;  // a GOP must begin with an I picture
    p_first.sequence(mpeg2_sequence(720, 576)).gop(time_code(0, true)).pictures("PBBPBB");
    EXPECT_EQ(time_code_total(p_first), -1);

    VideoEsWriter no_gop_headers;
    no_gop_headers.sequence(mpeg2_sequence(720, 576)).pictures("IBBPBBIBBPBB").sequence_end();
    EXPECT_EQ(time_code_total(no_gop_headers), -1);
}

TEST(TimeCodeIndex, FindLastGopWidensItsWindowUntilItHoldsAGopHeader) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576)).gop(time_code(0, true)).pictures("IPP");
    const auto last = static_cast<std::int64_t>(es.data().size());
    es.gop(time_code(3, true)).pictures("IPP");
    es.slice(2, 600000);  // the last GOP lies further back than two widenings of the window
    es.sequence_end();
    const auto reader = es.open_reader();
    find_last_gop(*reader);
    EXPECT_EQ(reader->stream_position(), last);

    VideoEsWriter none;
    none.sequence(mpeg2_sequence(720, 576)).pictures("IPP");
    const auto none_reader = none.open_reader();
    find_last_gop(*none_reader);
    EXPECT_EQ(none_reader->stream_position(), 0);
}

TEST(TimeCodeIndex, AGopIsEnteredAtTheSequenceHeaderBeforeIt) {
    const Stream s = gop_stream(3, one_hour, "IBBPBB", false);
    const auto reader = s.es.open_reader();
    TimeCodeIndex index(*reader, frame_rate(mpeg2_sequence(720, 576)), counting);
    reader->bit_reader_seek(s.sequence_positions[1] - 1, SeekOrigin::begin);
    GopEntry entry = index.analyse_gop().value_or(AnalysedGop{}).entry;
    EXPECT_EQ(entry.frame_count, 6);
    EXPECT_EQ(entry.position, s.sequence_positions[1]);
    EXPECT_EQ(entry.first_frame, one_hour + 6);  // no base frame set yet
    reader->bit_reader_seek(s.sequence_positions[1] + 1, SeekOrigin::begin);
    entry = index.analyse_gop().value_or(AnalysedGop{}).entry;
    EXPECT_EQ(entry.frame_count, 6);
    EXPECT_EQ(entry.position, s.gop_positions[1]);
    // At the very start of the stream a sequence header position does not count.
    reader->bit_reader_seek(0, SeekOrigin::begin);
    entry = index.analyse_gop().value_or(AnalysedGop{}).entry;
    EXPECT_EQ(entry.frame_count, 6);
    EXPECT_EQ(entry.position, s.gop_positions[0]);
}

TEST(TimeCodeIndex, LookupFindsTheGopHoldingAFrame) {
    const Stream s = gop_stream(40, one_hour, "IBBPBBPBBPBB", false);
    const auto reader = s.es.open_reader();
    TimeCodeIndex index(*reader, frame_rate(mpeg2_sequence(720, 576)), counting);
    ASSERT_EQ(index.time_code_frame_count(), 480);
    for (const std::int64_t frame : {0, 5, 11, 12, 200, 251, 468, 479}) {
        const GopEntry entry = index.lookup_by_time_code(frame);
        const auto gop = static_cast<std::size_t>(frame / 12);
        EXPECT_EQ(entry.first_frame, frame / 12 * 12) << frame;
        EXPECT_EQ(entry.frame_count, 12) << frame;
        // Decoding starts at the sequence header unless the search began after it.
        EXPECT_TRUE(entry.position == s.sequence_positions[gop] ||
                    entry.position == s.gop_positions[gop])
            << frame;
    }
    EXPECT_EQ(index.lookup_by_time_code(480), GopEntry{});
    EXPECT_EQ(index.lookup_by_time_code(-1), GopEntry{});
}

}  // namespace
}  // namespace quarnel
