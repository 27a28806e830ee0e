#include "video/sequence_header.h"

#include <gtest/gtest.h>

#include "support/video_es_writer.h"
#include "video/header_codes.h"

namespace quarnel {
namespace {

using test::mpeg1_sequence;
using test::mpeg2_sequence;
using test::VideoEsWriter;

SequenceInfo parse_first_sequence(const VideoEsWriter& es, SequenceInfo start = {}) {
    auto reader = es.open_reader_past(sequence_header_code);
    EXPECT_NE(reader, nullptr);
    if (reader) parse_sequence_header(*reader, start);
    return start;
}

QuantiserMatrix ramp(std::uint16_t first) {
    QuantiserMatrix m{};
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint16_t>(first + i);
    return m;
}

TEST(SequenceHeader, Mpeg1HeaderLeavesTheMpeg2WordsAsTheyWere) {
    SequenceInfo before{};
    before.sequence_extension_present = 1;
    before.progressive_sequence = 0;  // would round the height to 32 if it counted
    before.chroma_format = 3;
    before.frame_rate_extension_d = 9;
    before.display_horizontal_size = 700;
    VideoEsWriter es;
    es.sequence(mpeg1_sequence(350, 270)).gop();

    const SequenceInfo s = parse_first_sequence(es, before);
    EXPECT_EQ(s.horizontal_size, 350);
    EXPECT_EQ(s.vertical_size, 270);
    EXPECT_EQ(s.coded_width, 352);
    EXPECT_EQ(s.coded_height, 272);
    EXPECT_EQ(s.bit_rate, 2875);
    EXPECT_EQ(s.sequence_extension_present, 0);
    EXPECT_EQ(s.chroma_format, 3);
    EXPECT_EQ(s.frame_rate_extension_d, 9);
    EXPECT_EQ(s.display_horizontal_size, 700);
}

TEST(SequenceHeader, InterlacedMpeg2HeightsAreCodedInWholeFieldMacroblocks) {
    struct Case {
        int width, height;
        bool progressive;
        int coded_width, coded_height;
    };
    for (const Case c : {Case{720, 576, false, 720, 576}, Case{720, 480, false, 720, 480},
                         Case{1920, 1080, false, 1920, 1088}, Case{1920, 1080, true, 1920, 1088},
                         Case{704, 486, false, 704, 512}, Case{704, 486, true, 704, 496},
                         Case{718, 574, true, 720, 576}}) {
        VideoEsWriter es;
        es.sequence(mpeg2_sequence(c.width, c.height, c.progressive));
        const SequenceInfo s = parse_first_sequence(es);
        EXPECT_EQ(s.coded_width, c.coded_width) << c.width << 'x' << c.height;
        EXPECT_EQ(s.coded_height, c.coded_height) << c.width << 'x' << c.height << c.progressive;
    }
}

TEST(SequenceHeader, ReadsEveryFieldOfTheHeaderAndItsExtensions) {
    SequenceInfo spatial = mpeg2_sequence(5000, 4200, true);  // sizes beyond 12 bits
    spatial.aspect_ratio_information = 3;
    spatial.frame_rate_code = 4;
    spatial.bit_rate = 300000;       // beyond 18 bits
    spatial.vbv_buffer_size = 1500;  // beyond 10 bits
    spatial.constrained_parameters_flag = 1;
    spatial.load_intra_quantiser_matrix = 1;
    spatial.intra_quantiser_matrix = ramp(8);
    spatial.load_non_intra_quantiser_matrix = 1;
    spatial.non_intra_quantiser_matrix = ramp(100);
    spatial.low_delay = 1;
    spatial.frame_rate_extension_n = 1;
    spatial.frame_rate_extension_d = 17;
    spatial.sequence_display_extension_present = 1;
    spatial.video_format = 2;
    spatial.colour_description = 1;
    spatial.colour_primaries = 5;
    spatial.transfer_characteristics = 6;
    spatial.matrix_coefficients = 7;
    spatial.display_horizontal_size = 12345;
    spatial.display_vertical_size = 9876;
    spatial.sequence_scalable_extension_present = 1;
    spatial.scalable_mode = 1;
    spatial.layer_id = 9;
    spatial.lower_layer_prediction_horizontal_size = 2500;
    spatial.lower_layer_prediction_vertical_size = 2100;
    spatial.horizontal_subsampling_factor_m = 3;
    spatial.horizontal_subsampling_factor_n = 17;
    spatial.vertical_subsampling_factor_m = 30;
    spatial.vertical_subsampling_factor_n = 1;
    spatial.coded_width = 5008;
    spatial.coded_height = 4208;

    SequenceInfo temporal = mpeg2_sequence(720, 576);
    temporal.sequence_scalable_extension_present = 1;
    temporal.scalable_mode = 3;
    temporal.layer_id = 2;
    temporal.picture_mux_enable = 1;
    temporal.mux_to_progressive_sequence = 1;
    temporal.picture_mux_order = 5;
    temporal.picture_mux_factor = 6;
    temporal.coded_width = 720;
    temporal.coded_height = 576;

    for (const SequenceInfo& expected : {spatial, temporal}) {
        VideoEsWriter es;
        es.sequence(expected).gop();
        auto reader = es.open_reader_past(sequence_header_code);
        SequenceInfo parsed{};
        parse_sequence_header(*reader, parsed);
        EXPECT_EQ(parsed, expected);
        EXPECT_EQ(reader->peek_bits(32), group_start_code);
    }
}

TEST(SequenceHeader, UserDataEndsTheExtensionsAndIsLeftForTheCaller) {
    const SequenceInfo sequence = mpeg2_sequence(720, 576);
    VideoEsWriter es;
    es.sequence_header(sequence).user_data("CC").sequence_extension(sequence);
    auto reader = es.open_reader_past(sequence_header_code);
    SequenceInfo parsed{};
    parse_sequence_header(*reader, parsed);
    EXPECT_EQ(parsed.sequence_extension_present, 0);
    EXPECT_EQ(parsed.profile_and_level_indication, 0);
    EXPECT_EQ(reader->peek_bits(32), user_data_start_code);
}

TEST(SequenceHeader, UnknownExtensionsArePassedOver) {
    SequenceInfo sequence = mpeg2_sequence(720, 576);
    sequence.sequence_display_extension_present = 1;
    sequence.display_horizontal_size = 704;
    VideoEsWriter es;
    es.sequence_header(sequence).sequence_extension(sequence);
    es.start_code(extension_start_code).bits(11, 4).bits(0xFFFF, 16);  // reserved identifier
    es.sequence_display_extension(sequence);
    const SequenceInfo parsed = parse_first_sequence(es);
    EXPECT_EQ(parsed.sequence_display_extension_present, 1);
    EXPECT_EQ(parsed.display_horizontal_size, 704);
}

TEST(SequenceHeader, AStreamEndingInsideTheHeaderLeavesZeroBits) {
    VideoEsWriter es;
    es.start_code(sequence_header_code).bits(720, 12).bits(576, 12).bits(0x3, 4);
    SequenceInfo before{};
    before.bit_rate = 99;
    const SequenceInfo parsed = parse_first_sequence(es, before);
    EXPECT_EQ(parsed.horizontal_size, 720);
    EXPECT_EQ(parsed.vertical_size, 576);
    EXPECT_EQ(parsed.aspect_ratio_information, 3);
    EXPECT_EQ(parsed.bit_rate, 0);
    EXPECT_EQ(parsed.coded_height, 576);
}

// A sequence header followed by its extension more than once.
TEST(SequenceExtensionRegression, ARepeatedExtensionSetsTheHighBitsOnceInsteadOfAddingThem) {
    SequenceInfo coded = test::mpeg2_sequence(720, 576);
    coded.bit_rate = (4095 << 18) | 15000;  // the largest bit_rate_extension
    test::VideoEsWriter es;
    es.sequence_header(coded);
    for (int k = 0; k < 3; ++k) es.sequence_extension(coded);
    es.sequence_end();

    const auto reader = es.open_reader_past(sequence_header_code);
    ASSERT_NE(reader, nullptr);
    SequenceInfo parsed;
    parse_sequence_header(*reader, parsed);
    EXPECT_EQ(parsed.bit_rate, coded.bit_rate);
    EXPECT_EQ(parsed.horizontal_size, 720);
    EXPECT_EQ(parsed.vbv_buffer_size, coded.vbv_buffer_size);
}

}  // namespace
}  // namespace quarnel
