#include "video/video_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/audio_source.h"
#include "support/ps_writer.h"
#include "support/temp_dir.h"
#include "support/ts_writer.h"
#include "support/video_es_writer.h"
#include "video/frame_rate.h"
#include "video/gop_list_file.h"

namespace quarnel {
namespace {

using namespace test;

// Closed GOPs of nine pictures whose time codes run on from `first_frame`. The time codes
// are trusted only when a GOP header follows each eighth of the stream: 20 GOPs or more.
VideoEsWriter gop_stream(const SequenceInfo& sequence, int gops, int first_frame = 0) {
    const int rate = whole_frame_rate(sequence.frame_rate_code);
    VideoEsWriter es;
    es.sequence(sequence);
    for (int g = 0; g < gops; ++g) {
        const int frame = first_frame + 9 * g;
        es.gop({.hours = frame / (rate * 3600),
                .minutes = frame / (rate * 60) % 60,
                .seconds = frame / rate % 60,
                .pictures = frame % rate,
                .closed_gop = true});
        es.pictures("IBBPBBPBB");
    }
    es.sequence_end();
    return es;
}

TEST(VideoSourceOpen, KeepsTheFirstHeadersAndReportsTheStream) {
    const TempDir dir;
    const auto path = dir.write("clip.m2v", gop_stream(mpeg2_sequence(720, 576), 20).data());
    const auto source = video_source_open(path, MemorySettings{});
    ASSERT_NE(source, nullptr);

    EXPECT_EQ(source->stream_info(), (VideoStreamInfo{180, 25, 1, 720, 576}));
    EXPECT_EQ(source->index_kind(), FrameIndexKind::time_code);
    EXPECT_EQ(source->container_layer(), ContainerLayer::elementary_stream);
    EXPECT_EQ(source->first_sequence().horizontal_size, 720);
    EXPECT_EQ(source->first_sequence().aspect_ratio_information, 2);
    EXPECT_EQ(source->first_sequence().bit_rate, 15000);
    EXPECT_EQ(source->first_picture().picture_coding_type, picture_type_i);
    EXPECT_EQ(source->first_picture().vbv_delay, 0xFFFF);
    EXPECT_FALSE(source->progressive_sequence());
    EXPECT_EQ(source->decoder_setup().decoder_context().coded_height, 576);
    EXPECT_EQ(source->decoder_setup().decoder_context().mpeg1, 0);
    EXPECT_EQ(source->stream_field_order(), 1);
    // Nothing needed the GOP list, so nothing was written beside the stream.
    EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
}

TEST(VideoSourceOpen, ReportsMpeg1StreamsAsProgressiveWithTheirFrameRate) {
    const TempDir dir;
    const auto path = dir.write("clip.mpg", gop_stream(mpeg1_sequence(352, 288), 3).data());
    const auto source = video_source_open(path, MemorySettings{});
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->stream_info(), (VideoStreamInfo{27, 25, 1, 352, 288}));
    EXPECT_TRUE(source->progressive_sequence());
    EXPECT_EQ(source->decoder_setup().decoder_context().mpeg1, 1);
    EXPECT_EQ(source->stream_field_order(), 0);
}

TEST(VideoSourceOpen, ReadsTheVideoThroughTheContainerItCameIn) {
    const TempDir dir;
    const auto es = gop_stream(mpeg2_sequence(720, 576), 20).data();
    PsWriter ps;
    ps.packets(0xE0, es, 2000).end_code();
    TsWriter ts;
    ts.section(0, pat_section({{.program_number = 1, .pid = 0x100}}));
    ts.section(0x100, pmt_section(1, {{.stream_type = 0x02, .pid = 0x101, .es_info = {}}}));
    ts.video(0x101, es, 3000);

    struct Case {
        std::string path;
        ContainerLayer layer;
    };
    for (const Case& c :
         {Case{dir.write("clip.m2v", es), ContainerLayer::elementary_stream},
          Case{dir.write("clip.mpg", ps.bytes()), ContainerLayer::program_stream},
          Case{dir.write("clip.ts", ts.bytes()), ContainerLayer::transport_stream}}) {
        const auto source = video_source_open(c.path, MemorySettings{});
        ASSERT_NE(source, nullptr) << c.path;
        EXPECT_EQ(source->container_layer(), c.layer) << c.path;
        EXPECT_EQ(source->stream_info(), (VideoStreamInfo{180, 25, 1, 720, 576})) << c.path;
    }
}

TEST(VideoSourceOpen, RefusesByExtensionBeforeLookingAtTheFile) {
    const TempDir dir;
    const auto stream = gop_stream(mpeg2_sequence(720, 576), 1).data();
    EXPECT_EQ(video_source_open(dir.write("clip.txt", stream), MemorySettings{}), nullptr);
    EXPECT_EQ(video_source_open(dir.write("clip", stream), MemorySettings{}), nullptr);
    EXPECT_NE(video_source_open(dir.write("clip.M2V", stream), MemorySettings{}), nullptr);
    EXPECT_EQ(video_source_open(dir.file("missing.m2v"), MemorySettings{}), nullptr);
}

TEST(VideoSourceOpen, RefusesStreamsWithoutASequenceHeaderOrAPictureAfterIt) {
    const TempDir dir;
    VideoEsWriter pictures_only;
    pictures_only.gop({.closed_gop = true}).pictures("IPP").sequence_end();
    EXPECT_EQ(video_source_open(dir.write("a.m2v", pictures_only.data()), MemorySettings{}),
              nullptr);

    VideoEsWriter no_picture;
    no_picture.sequence(mpeg2_sequence(720, 576)).gop().sequence_end();
    EXPECT_EQ(video_source_open(dir.write("b.m2v", no_picture.data()), MemorySettings{}), nullptr);

    EXPECT_EQ(video_source_open(dir.write("c.m2v", std::vector<std::uint8_t>{}), MemorySettings{}),
              nullptr);
}

// `count` user data blocks of `size` bytes, which no header search stops at.
std::vector<std::uint8_t> user_data_blocks(std::size_t count, std::size_t size) {
    std::vector<std::uint8_t> block(size, 0xFF);
    block[0] = 0x00, block[1] = 0x00, block[2] = 0x01, block[3] = 0xB2;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(count * size);
    for (std::size_t i = 0; i < count; ++i) bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

TEST(VideoSourceOpen, LooksForTheFirstSequenceHeaderOnlyWithinTheLimit) {
    const TempDir dir;
    VideoEsWriter es;
    es.raw(user_data_blocks(2049, 4096));  // 8 MiB and one block
    const auto stream = gop_stream(mpeg2_sequence(720, 576), 2).data();
    es.raw(stream);
    const auto path = dir.write("late.m2v", es.data());

    EXPECT_EQ(video_source_open(path, MemorySettings{}), nullptr);
    for (std::uint32_t limit : {16u << 20, 0x80000000u, 0xFFFFFFFFu}) {
        MemorySettings wider;
        wider.set("limit", limit);
        const auto source = video_source_open(path, wider);
        ASSERT_NE(source, nullptr) << limit;
        EXPECT_EQ(source->stream_info().frame_count, 18);
    }
}

TEST(VideoSourceOpen, LooksForTheFirstPictureOnlyWithinTheLimit) {
    const TempDir dir;
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true});
    es.raw(user_data_blocks(4, 500));
    es.pictures("IPP").sequence_end();
    const auto path = dir.write("clip.m2v", es.data());

    MemorySettings narrow;
    narrow.set("limit", 1000);
    EXPECT_EQ(video_source_open(path, narrow), nullptr);
    narrow.set("limit", 3000);
    EXPECT_NE(video_source_open(path, narrow), nullptr);
}

// The video open looks for its first sequence header only within the search limit, also
// where no start code at all comes before it.
TEST(FirstHeaderLimitRegression, ASequenceHeaderAfterMegabytesOfZerosLiesBeyondTheLimit) {
    test::VideoEsWriter es;
    es.raw(std::vector<std::uint8_t>(3 << 20, 0));
    es.sequence(test::mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("IPP");
    es.sequence_end();
    const test::TempDir dir;
    const std::string path = dir.write("late.m2v", es.data());

    MemorySettings settings;
    settings.set("gl", gl_no_list_file);
    settings.set("limit", 1 << 20);
    EXPECT_EQ(video_source_open(path, settings), nullptr);
    settings.set("limit", 4 << 20);
    EXPECT_NE(video_source_open(path, settings), nullptr);
}

// Files that are no MPEG stream at all: the video and audio opens refuse each one after
// reading no more than the search limit, however large the file.
// 188-byte transport packets that all carry PID 0 (the program association table) and no
// section at all.
std::vector<std::uint8_t> transport_packets_of_pid_0(int count) {
    std::vector<std::uint8_t> bytes;
    for (int k = 0; k < count; ++k) {
        bytes.insert(bytes.end(), {0x47, 0x40, 0x00, static_cast<std::uint8_t>(0x10 | (k & 15))});
        bytes.insert(bytes.end(), 184, 0xFF);
    }
    return bytes;
}

TEST(HostileFilesRegression, FilesWithoutAnyStreamAreRefusedByBothOpens) {
    const test::TempDir dir;
    const std::string sparse = dir.file("zeros.mpg");
    { std::ofstream{sparse}; }
    std::filesystem::resize_file(sparse, std::uintmax_t{2} << 30);  // 2 GiB, a hole on disk
    const std::vector<std::string> paths{
        dir.write("empty.mpg", std::vector<std::uint8_t>{}),
        dir.write("four.mpg", std::vector<std::uint8_t>{0x00, 0x00, 0x01, 0xB3}),
        dir.write("ff.mpg", std::vector<std::uint8_t>(1 << 20, 0xFF)),
        dir.write("pid0.ts", transport_packets_of_pid_0(20000)),
        sparse,
    };
    const MemorySettings settings;
    for (const std::string& path : paths) {
        EXPECT_EQ(video_source_open(path, settings), nullptr) << path;
        EXPECT_EQ(audio_source_open(path, settings), nullptr) << path;
    }
}

TEST(VideoSourceLookup, FindsTheEntryThatHoldsAFrameInEitherIndex) {
    const TempDir dir;
    const auto path = dir.write("clip.m2v", gop_stream(mpeg2_sequence(720, 576), 20).data());
    for (std::uint32_t gl : {0u, 3u}) {
        MemorySettings settings;
        settings.set("gl", gl);
        const auto source = video_source_open(path, settings);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->index_kind(),
                  gl == 0 ? FrameIndexKind::time_code : FrameIndexKind::gop_list);
        const GopEntry entry = source->lookup(20);
        EXPECT_EQ(entry.first_frame, 18) << gl;
        EXPECT_EQ(entry.frame_count, 9) << gl;
        EXPECT_EQ(source->lookup(180), GopEntry{}) << gl;
    }
}

TEST(VideoSourceFieldOrder, ShowingTheFieldsTheOtherWayCostsOneFrame) {
    const TempDir dir;
    const auto top_first = dir.write("top.m2v", gop_stream(mpeg2_sequence(720, 576), 2).data());
    VideoEsWriter bottom;
    bottom.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true});
    for (int i = 0; i < 6; ++i) bottom.picture({.type = i == 0 ? 1 : 2, .top_field_first = false});
    bottom.sequence_end();
    const auto bottom_first = dir.write("bottom.m2v", bottom.data());

    struct Case {
        std::string path;
        std::uint32_t field_order;
        std::int64_t frames;
        std::int32_t chosen;
    };
    for (const Case& c :
         {Case{top_first, 0, 18, 1}, Case{top_first, 1, 18, 1}, Case{top_first, 2, 17, 0},
          Case{top_first, 7, 18, 1}, Case{bottom_first, 1, 5, 1}, Case{bottom_first, 2, 6, 0}}) {
        MemorySettings settings;
        settings.set("field_order", c.field_order);
        const auto source = video_source_open(c.path, settings);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->stream_info().frame_count, c.frames) << c.path << c.field_order;
        EXPECT_EQ(source->chosen_field_order(), c.chosen) << c.path << c.field_order;
    }
}

TEST(VideoSourceFieldOrder, ProgressiveStreamsIgnoreTheSetting) {
    const TempDir dir;
    MemorySettings settings;
    settings.set("field_order", 2);
    for (const auto& sequence : {mpeg2_sequence(720, 576, true), mpeg1_sequence(352, 288)}) {
        const auto path = dir.write("clip.mpg", gop_stream(sequence, 2).data());
        const auto source = video_source_open(path, settings);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->stream_info().frame_count, 18);
        EXPECT_EQ(source->settings().field_order, 0);
    }
}

TEST(VideoSourceFieldOrder, AStreamThatCountedNoFrameStaysAtZero) {
    const TempDir dir;
    VideoEsWriter es;  // one I picture, no end code: the two frames not counted leave none
    es.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("I");
    MemorySettings settings;
    settings.set("field_order", 2);
    const auto source = video_source_open(dir.write("clip.m2v", es.data()), settings);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->stream_info().frame_count, 0);
}

VideoEsWriter at_rate(SequenceInfo sequence, int frame_rate_code) {
    sequence.frame_rate_code = frame_rate_code;
    return gop_stream(sequence, 1);
}

TEST(VideoSourceColour, HighDefinitionStreamsConvertWithBt709) {
    const TempDir dir;
    const auto hd = video_source_open(
        dir.write("hd.m2v", at_rate(mpeg2_sequence(1920, 1080), 4).data()), MemorySettings{});
    ASSERT_NE(hd, nullptr);
    EXPECT_EQ(hd->decoder_setup().colour_matrix(), 1);
    EXPECT_EQ(hd->decoder_setup().colour_parameters().v_to_red, 117504);
    EXPECT_EQ(hd->decoder_setup().colour_parameters().u_to_blue, 138453);
    EXPECT_EQ(hd->decoder_setup().colour_parameters().coded_width, 1920);
    EXPECT_EQ(hd->decoder_setup().colour_parameters().chroma_line_width, 960);
    EXPECT_EQ(hd->decoder_setup().colour_parameters().luma_offset, 16);
    EXPECT_EQ(hd->decoder_setup().colour_parameters().luma_scale, 76309);

    MemorySettings keep_levels;
    keep_levels.set("re_map", 0);
    const auto sd = video_source_open(
        dir.write("sd.m2v", at_rate(mpeg2_sequence(720, 480), 4).data()), keep_levels);
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(sd->decoder_setup().colour_matrix(), 0);
    EXPECT_EQ(sd->decoder_setup().colour_parameters().v_to_red, 91881);
    EXPECT_EQ(sd->decoder_setup().colour_parameters().v_to_green, -46801);
    EXPECT_EQ(sd->decoder_setup().colour_parameters().luma_offset, 0);
    EXPECT_EQ(sd->decoder_setup().colour_parameters().luma_scale, 65536);
}

TEST(VideoSourceColour, AMatrixWithoutATableRowConvertsAsMatrixZero) {
    const TempDir dir;
    MemorySettings settings;
    settings.set("color_matrix", 9);
    const auto source = video_source_open(
        dir.write("clip.m2v", gop_stream(mpeg2_sequence(720, 576), 1).data()), settings);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->decoder_setup().colour_matrix(), 9);
    EXPECT_EQ(source->decoder_setup().colour_parameters().v_to_red, 104597);
    EXPECT_EQ(source->decoder_setup().colour_parameters().u_to_green, -25675);
}

TEST(VideoSourceColour, Yuy2RemixIsSetUpOnlyForAnotherTargetMatrix) {
    const TempDir dir;
    const auto path = dir.write("clip.m2v", gop_stream(mpeg2_sequence(720, 576), 1).data());
    MemorySettings settings;
    settings.set("yuy2_matrix", 1);  // already matrix 0
    auto source = video_source_open(path, settings);
    ASSERT_NE(source, nullptr);
    EXPECT_FALSE(source->decoder_setup().yuy2_conversion_needed());
    EXPECT_EQ(source->decoder_setup().yuy2_record(), yuy2_identity);

    settings.set("yuy2_matrix", 2);
    source = video_source_open(path, settings);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(source->decoder_setup().yuy2_conversion_needed());
    EXPECT_EQ(source->decoder_setup().yuy2_record(), (Yuy2Record{-7762, -13957, 66759, 7521, 4928, 67199}));
}

TEST(VideoSourceColour, ChromaLineWidthOnlyFor420) {
    const TempDir dir;
    SequenceInfo s422 = mpeg2_sequence(720, 576);
    s422.chroma_format = 2;
    const auto source =
        video_source_open(dir.write("clip.m2v", gop_stream(s422, 1).data()), MemorySettings{});
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->decoder_setup().colour_parameters().chroma_line_width, 0);
    EXPECT_EQ(source->decoder_setup().decoder_context().chroma_format, 2);
}

SequenceInfo with_aspect(SequenceInfo sequence, int aspect_ratio_information) {
    sequence.aspect_ratio_information = aspect_ratio_information;
    return sequence;
}

TEST(VideoSourceResize, AspectRatioSettingReportsTheDisplayWidth) {
    const TempDir dir;
    MemorySettings resize;
    resize.set("aspect_ratio", 1);
    struct Case {
        SequenceInfo sequence;
        std::int32_t width;
        std::int32_t coded_width;
    };
    for (const Case& c : {Case{with_aspect(mpeg2_sequence(720, 480), 2), 640, 640},
                          Case{with_aspect(mpeg2_sequence(720, 480), 3), 854, 864},
                          Case{with_aspect(mpeg2_sequence(720, 576), 3), 1024, 1024}}) {
        const auto path = dir.write("clip.m2v", gop_stream(c.sequence, 1).data());
        const auto source = video_source_open(path, resize);
        ASSERT_NE(source, nullptr);
        ASSERT_NE(source->decoder_setup().resize_tables(), nullptr);
        EXPECT_EQ(source->stream_info().width, c.width);
        EXPECT_EQ(source->stream_info().height, c.sequence.vertical_size);
        EXPECT_EQ(source->decoder_setup().colour_parameters().coded_width, c.coded_width);
        EXPECT_EQ(source->decoder_setup().colour_parameters().chroma_line_width, c.coded_width / 2);
        // The headers stay as coded: the MTV header reads them.
        EXPECT_EQ(source->first_sequence().horizontal_size, c.sequence.horizontal_size);

        const auto plain = video_source_open(path, MemorySettings{});
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(plain->decoder_setup().resize_tables(), nullptr);
        EXPECT_EQ(plain->stream_info().width, c.sequence.horizontal_size);
    }
}

TEST(VideoSourceResize, SquarePixelsNeedNoTables) {
    const TempDir dir;
    MemorySettings resize;
    resize.set("aspect_ratio", 1);
    const auto path =
        dir.write("clip.m2v", gop_stream(with_aspect(mpeg2_sequence(720, 576), 1), 1).data());
    const auto source = video_source_open(path, resize);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->decoder_setup().resize_tables(), nullptr);
    EXPECT_EQ(source->stream_info().width, 720);
}

TEST(VideoSourceRoutines, ChosenFromTheSettingsTheChromaFormatAndTheYuy2Remix) {
    const TempDir dir;
    SequenceInfo s444 = mpeg2_sequence(720, 576);
    s444.chroma_format = 3;
    const auto path = dir.write("clip.m2v", gop_stream(s444, 1).data());
    MemorySettings settings;
    settings.set("simd", 4);
    settings.set("idct_func", 0);
    settings.set("yuy2_matrix", 2);
    const auto source = video_source_open(path, settings);
    ASSERT_NE(source, nullptr);

    const RoutineChoice choice{
        .simd = 4, .idct_func = 0, .chroma_format = 3, .yuy2_conversion = true};
    const ReconRoutines expected = select_routines(choice);
    const ReconRoutines& chosen = source->decoder_setup().routines();
    EXPECT_EQ(chosen.idct, expected.idct);
    EXPECT_EQ(chosen.prediction_kernels, expected.prediction_kernels);
    EXPECT_EQ(chosen.rgb24, expected.rgb24);
    EXPECT_EQ(chosen.upsample_progressive, expected.upsample_progressive);
    EXPECT_EQ(chosen.yuy2_adjustment, expected.yuy2_adjustment);
    EXPECT_NE(chosen.yuy2_adjustment,
              select_routines({.simd = 4, .idct_func = 0, .chroma_format = 3}).yuy2_adjustment);
}

}  // namespace
}  // namespace quarnel
