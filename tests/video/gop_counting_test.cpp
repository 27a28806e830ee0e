#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/video_es_writer.h"
#include "video/frame_rate.h"
#include "video/gop_list.h"
#include "video/gop_list_file.h"
#include "video/time_code_index.h"

namespace quarnel {
namespace {

using namespace test;

// (first frame, frame count) of each entry.
using Counts = std::vector<std::pair<std::int64_t, std::int64_t>>;

constexpr FrameCounting interlaced_top_first{.progressive_sequence = false,
                                             .first_top_field_first = 1};

std::optional<GopList> build(const VideoEsWriter& es,
                             FrameCounting counting = interlaced_top_first) {
    const auto reader = es.open_reader();
    return build_gop_list(*reader, counting, nullptr);
}

Counts counts(const GopList& list) {
    Counts result;
    for (const GopEntry& e : list.entries) result.emplace_back(e.first_frame, e.frame_count);
    return result;
}

std::vector<std::int64_t> positions(const GopList& list) {
    std::vector<std::int64_t> result;
    for (const GopEntry& e : list.entries) result.push_back(e.position);
    return result;
}

std::int64_t here(const VideoEsWriter& es) {
    return static_cast<std::int64_t>(es.data().size());
}

VideoEsWriter closed_gops(bool with_sequence_end) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    es.gop({.closed_gop = true}).pictures("IBBPBBPBB");
    es.gop({.closed_gop = true}).pictures("IBBPBBPBB");
    es.gop({.closed_gop = true}).pictures("IBBP");
    if (with_sequence_end) es.sequence_end();
    return es;
}

TEST(GopCounting, ClosedGopsCountEveryPictureFromItsIPictureToTheNext) {
    const auto list = build(closed_gops(true));
    ASSERT_TRUE(list);
    EXPECT_EQ(counts(*list), (Counts{{0, 9}, {9, 9}, {18, 4}}));
    EXPECT_EQ(list->total_frames, 22);
    EXPECT_EQ(list->stream_size, here(closed_gops(true)));
}

TEST(GopCounting, WithoutSequenceEndTheLastTwoFramesAreNotCounted) {
    const auto list = build(closed_gops(false));
    ASSERT_TRUE(list);
    EXPECT_EQ(counts(*list), (Counts{{0, 9}, {9, 9}, {18, 2}}));
    EXPECT_EQ(list->total_frames, 20);
}

TEST(GopCounting, TheTwoUncountedFramesReachBackPastALastEntryOfOnePicture) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    es.gop({.closed_gop = true}).pictures("IBBP");
    es.gop({.closed_gop = true}).pictures("I");
    const auto list = build(es);
    ASSERT_TRUE(list);
    EXPECT_EQ(counts(*list), (Counts{{0, 4}, {4, 0}}));
    EXPECT_EQ(list->total_frames, 3);
}

TEST(GopCounting, EntriesStartAtTheirGopHeaderOrElseAtTheirIPicture) {
    VideoEsWriter es;
    std::vector<std::int64_t> expected;
    expected.push_back(here(es));  // the first GOP header, even though the sequence comes first
    es.gop({.closed_gop = true}).sequence(mpeg2_sequence(720, 576)).pictures("IPP");
    for (int i = 0; i < 3; ++i) {  // I pictures without GOP headers
        expected.push_back(here(es));
        es.pictures("IPP");
    }
    expected.push_back(here(es));
    es.gop({.closed_gop = true}).pictures("IP").sequence_end();
    const auto list = build(es);
    ASSERT_TRUE(list);
    EXPECT_EQ(positions(*list), expected);
    EXPECT_EQ(counts(*list), (Counts{{0, 3}, {3, 3}, {6, 3}, {9, 3}, {12, 2}}));
}

TEST(GopCounting, OpenGopLeadingPicturesBelongToThePreviousEntry) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    es.gop({.closed_gop = true}).pictures("IPBB");
    es.gop().pictures("IBBPBB");  // its two leading B pictures are shown before its I picture
    es.gop().pictures("IBBP");
    es.sequence_end();
    const auto list = build(es);
    ASSERT_TRUE(list);
    EXPECT_EQ(counts(*list), (Counts{{0, 6}, {6, 6}, {12, 2}}));
    EXPECT_EQ(list->total_frames, 14);
}

TEST(GopCounting, LeadingPicturesOfABrokenLinkOrAnOpenFirstGopAreCountedNowhere) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    es.gop().pictures("IBBPBB");  // open first GOP: nothing before it to decode them from
    es.gop({.broken_link = true}).pictures("IBBPBB");
    es.sequence_end();
    const auto list = build(es);
    ASSERT_TRUE(list);
    EXPECT_EQ(counts(*list), (Counts{{0, 4}, {4, 4}}));
    EXPECT_EQ(list->total_frames, 8);
}

TEST(GopCounting, PulldownMakesFourCodedPicturesFiveFrames) {
    SequenceInfo film = mpeg2_sequence(720, 480);
    film.frame_rate_code = 1;  // 24000/1001
    VideoEsWriter es;
    es.sequence(film).gop({.closed_gop = true});
    const std::pair<bool, bool> pulldown[] = {
        {true, true}, {false, false}, {false, true}, {true, false}};
    for (int round = 0; round < 2; ++round) {
        for (const auto& [top_first, repeat] : pulldown) {
            es.picture({.type = round == 0 && top_first && repeat ? picture_type_i : picture_type_p,
                        .top_field_first = top_first,
                        .repeat_first_field = repeat,
                        .progressive_frame = true});
        }
    }
    es.sequence_end();
    const auto list = build(es);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->total_frames, 10);
}

TEST(GopCounting, AFieldPairCountsAsOneFrameAndAFieldWithoutItsPartnerFailsTheBuild) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true});
    for (const int type : {picture_type_i, picture_type_p, picture_type_p}) {
        es.picture({.type = type, .picture_structure = structure_top_field});
        es.picture({.type = type == picture_type_i ? picture_type_p : type,
                    .picture_structure = structure_bottom_field});
    }
    es.sequence_end();
    const auto list = build(es);
    ASSERT_TRUE(list);
    EXPECT_EQ(counts(*list), (Counts{{0, 3}}));

    // A field whose partner is not the next picture.
    es.gop({.closed_gop = true})
        .picture({.type = picture_type_i, .picture_structure = structure_top_field})
        .picture({.type = picture_type_p});
    EXPECT_FALSE(build(es));
}

// Truncation, the commonest damage to a recording, cuts a field-coded stream inside the first
// field of its last picture about half the time: that picture is left out as if the stream
// ended before it, by the scan and by the time codes alike.
TEST(GopCounting, AFieldPictureCutOffByTheEndOfTheStreamIsNotCounted) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576));
    std::int64_t last_picture = 0;
    std::int64_t second_field = 0;
    for (int k = 0; k < 12; ++k) {
        es.gop({.pictures = 3 * k, .closed_gop = true});
        for (const int type : {picture_type_i, picture_type_p, picture_type_p}) {
            last_picture = here(es);
            es.picture({.type = type, .picture_structure = structure_top_field});
            second_field = here(es);
            es.picture({.type = picture_type_p, .picture_structure = structure_bottom_field});
        }
    }
    const auto cut = [&](std::int64_t size) {
        VideoEsWriter part;
        part.raw({es.data().begin(), es.data().begin() + size});
        return part;
    };
    const auto time_codes = [](const VideoEsWriter& part) {
        const auto reader = part.open_reader();
        TimeCodeIndex index(*reader, frame_rate(mpeg2_sequence(720, 576)), interlaced_top_first);
        return index.time_code_frame_count();
    };
    const auto before = build(cut(last_picture));
    ASSERT_TRUE(before);
    ASSERT_EQ(before->total_frames, 33);
    ASSERT_EQ(time_codes(cut(last_picture)), 33);
    // In its coding extension, in its slice, just before the second field, in that field's
    // header.
    for (const std::int64_t size : {last_picture + 14, last_picture + 30, second_field - 1,
                                    second_field + 6}) {
        const auto list = build(cut(size));
        ASSERT_TRUE(list) << size - last_picture;
        EXPECT_EQ(counts(*list), counts(*before)) << size - last_picture;
        EXPECT_EQ(list->total_frames, 33) << size - last_picture;
        EXPECT_EQ(time_codes(cut(size)), 33) << size - last_picture;
    }
}

TEST(GopCounting, ASequenceHeaderIsRecordedOnlyWhenItChanges) {
    const SequenceInfo sd = mpeg2_sequence(720, 576);
    const SequenceInfo small = mpeg2_sequence(352, 576);
    VideoEsWriter es;
    es.sequence(sd).gop({.closed_gop = true}).pictures("IPP");
    es.sequence(sd).gop({.closed_gop = true}).pictures("IPP");
    es.sequence(small).gop({.closed_gop = true}).pictures("IPP");
    es.sequence(small).gop({.closed_gop = true}).pictures("IPP");
    es.sequence_end();
    const auto list = build(es);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->sequence_headers.size(), 2u);
    EXPECT_EQ(list->sequence_headers[0].horizontal_size, 720);
    EXPECT_EQ(list->sequence_headers[1].horizontal_size, 352);
    std::vector<std::int32_t> references;
    for (const GopEntry& e : list->entries) references.push_back(e.sequence_header);
    EXPECT_EQ(references, (std::vector<std::int32_t>{0, 0, 1, 1}));
}

TEST(GopCounting, Mpeg1PicturesCountOneFrameEach) {
    VideoEsWriter es;
    es.sequence(mpeg1_sequence(352, 288));
    es.gop({.closed_gop = true}).pictures("IBBPBB");
    es.gop().pictures("IBBPBB");
    es.sequence_end();
    const auto list = build(es, {.progressive_sequence = true, .first_top_field_first = 0});
    ASSERT_TRUE(list);
    EXPECT_EQ(counts(*list), (Counts{{0, 8}, {8, 4}}));
    EXPECT_EQ(list->sequence_headers[0].sequence_extension_present, 0);
}

TEST(GopCounting, PicturesBeforeTheFirstSequenceHeaderArePassedOver) {
    VideoEsWriter es;
    es.pictures("BBPBB");  // a recording cut in the middle of a GOP
    es.sequence(mpeg2_sequence(720, 576));
    const std::int64_t gop = here(es);
    es.gop().pictures("IBBPBB").sequence_end();
    const auto list = build(es);
    ASSERT_TRUE(list);
    EXPECT_EQ(positions(*list), (std::vector<std::int64_t>{gop}));
    EXPECT_EQ(list->total_frames, 4);
}

TEST(GopCounting, StreamsWithoutAnIPictureOrAKnownPictureTypeFail) {
    VideoEsWriter no_i;
    no_i.sequence(mpeg2_sequence(720, 576)).gop().pictures("PBBPBB").sequence_end();
    EXPECT_FALSE(build(no_i));

    VideoEsWriter no_start_code;
    no_start_code.raw(std::vector<std::uint8_t>(1000, 0x47));
    EXPECT_FALSE(build(no_start_code));
    EXPECT_FALSE(build(VideoEsWriter{}));

    VideoEsWriter d_picture;  // D pictures (type 4) exist only in MPEG-1 and are not counted
    d_picture.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("IP");
    d_picture.picture({.type = 4}).sequence_end();
    EXPECT_FALSE(build(d_picture));
}

// A recorder may restate its bit rate in every sequence header. Alternating between two rates
// costs little, as each distinct header is stored once; 42000 distinct ones outgrow the bound.
TEST(GopListBoundsRegression, EachDistinctSequenceHeaderIsStoredOnce) {
    constexpr int gops = 42000;
    const auto stream = [&](int rates) {
        VideoEsWriter es;
        SequenceInfo s = mpeg1_sequence(352, 288);
        for (int k = 0; k < gops; ++k) {
            s.bit_rate = 2000 + k % rates;
            es.sequence(s).gop({.closed_gop = true}).picture();
        }
        es.sequence_end();
        return es;
    };
    const FrameCounting counting{};
    const auto alternating = build_gop_list(*stream(2).open_reader(), counting, nullptr);
    ASSERT_TRUE(alternating);
    EXPECT_EQ(alternating->entries.size(), std::size_t{gops});
    EXPECT_EQ(alternating->sequence_headers.size(), std::size_t{gops});
    EXPECT_EQ(alternating->sequence_headers.distinct_count(), 2u);
    EXPECT_EQ(alternating->sequence_headers[gops - 1].bit_rate, 2001);
    const auto encoded = encode_gop_list(*alternating);
    ASSERT_TRUE(encoded);
    const auto decoded = decode_gop_list(*encoded);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->sequence_headers.distinct_count(), 2u);
    EXPECT_EQ(encode_gop_list(*decoded), encoded);

    EXPECT_FALSE(build_gop_list(*stream(gops).open_reader(), counting, nullptr));
}

TEST(GopListBoundsRegression, AScanWithMoreGopsThanTheBoundSaysSo) {
    constexpr std::size_t most_entries_beside_one_header =
        (max_gop_list_bytes - sizeof(SequenceInfo)) / sizeof(GopEntry);
    VideoEsWriter es;
    es.sequence(mpeg1_sequence(352, 288));
    for (std::size_t k = 0; k <= most_entries_beside_one_header; ++k)
        es.gop({.closed_gop = true}).picture();
    es.sequence_end();
    OpenFailure failure = OpenFailure::none;
    EXPECT_FALSE(build_gop_list(*es.open_reader(), FrameCounting{}, nullptr, &failure));
    EXPECT_EQ(failure, OpenFailure::gop_list_too_large);
}

}  // namespace
}  // namespace quarnel
