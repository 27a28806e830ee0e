#include "video/picture_header.h"

#include <gtest/gtest.h>

#include "support/video_es_writer.h"
#include "video/header_codes.h"

namespace quarnel {
namespace {

using test::VideoEsWriter;

PictureInfo parse_first_picture(const VideoEsWriter& es, bool progressive_sequence = false,
                                PictureInfo start = {}) {
    auto reader = es.open_reader_past(picture_start_code);
    EXPECT_NE(reader, nullptr);
    if (!reader) return start;
    parse_picture_header(*reader, start, progressive_sequence);
    EXPECT_EQ(reader->peek_bits(32), slice_start_code_first) << "stops at the first slice";
    return start;
}

PictureInfo interlaced_b_picture() {
    PictureInfo p;
    p.temporal_reference = 1000;
    p.picture_coding_type = picture_type_b;
    p.vbv_delay = 0x1234;
    p.forward_f_code = 7;
    p.backward_f_code = 7;
    p.picture_coding_extension_present = 1;
    auto& e = p.picture_coding_extension;
    e.f_code = {{{1, 2}, {3, 4}}};
    e.intra_dc_precision = 2;
    e.picture_structure = structure_frame;
    e.top_field_first = 1;
    e.alternate_scan = 1;
    e.repeat_first_field = 1;
    return p;
}

TEST(PictureHeader, ReadsEveryFieldOfTheHeaderAndItsExtensions) {
    PictureInfo expected = interlaced_b_picture();
    auto& e = expected.picture_coding_extension;
    e.concealment_motion_vectors = 1;
    e.q_scale_type = 1;
    e.chroma_420_type = 1;
    e.composite_display_flag = 1;
    e.v_axis = 1;
    e.field_sequence = 5;
    e.burst_amplitude = 100;
    e.sub_carrier_phase = 200;
    expected.quant_matrix_extension_present = 1;
    auto& q = expected.quant_matrix_extension;
    q.load_non_intra_quantiser_matrix = 1;
    q.non_intra_quantiser_matrix.fill(16);
    q.load_chroma_non_intra_quantiser_matrix = 1;
    q.chroma_non_intra_quantiser_matrix.fill(255);
    expected.picture_display_extension_present = 1;
    expected.picture_display_extension = {3, {100, 200, 0xFFFF}, {1, 2, 0x8000}};
    expected.picture_spatial_scalable_extension_present = 1;
    expected.picture_spatial_scalable_extension = {513, 20000, 31000, 2, 1, 1};
    expected.picture_temporal_scalable_extension_present = 1;
    expected.picture_temporal_scalable_extension = {3, 1023, 512};
    expected.copyright_extension_present = 1;
    expected.copyright_extension = {1, 200, 1, 0x55, 0xFFFFF, 0x3FFFFF, 123456};

    VideoEsWriter es;
    es.picture_header(expected).picture_extensions(expected).slice();
    EXPECT_EQ(parse_first_picture(es), expected);
}

TEST(PictureHeader, MotionVectorFieldsAreReadOnlyForThePicturesThatCodeThem) {
    PictureInfo stale;
    stale.full_pel_forward_vector = 1;
    stale.forward_f_code = 5;
    stale.full_pel_backward_vector = 1;
    stale.backward_f_code = 5;
    const auto header = [](int type) {
        PictureInfo p;
        p.picture_coding_type = type;
        p.full_pel_forward_vector = 1;
        p.forward_f_code = 3;
        p.full_pel_backward_vector = 1;
        p.backward_f_code = 6;
        VideoEsWriter es;
        es.picture_header(p).slice();
        return es;
    };
    const PictureInfo i = parse_first_picture(header(picture_type_i), true, stale);
    EXPECT_EQ(i.forward_f_code, 0);
    EXPECT_EQ(i.full_pel_backward_vector, 0);
    const PictureInfo p = parse_first_picture(header(picture_type_p), true, stale);
    EXPECT_EQ(p.full_pel_forward_vector, 1);
    EXPECT_EQ(p.forward_f_code, 3);
    EXPECT_EQ(p.backward_f_code, 0);
    const PictureInfo b = parse_first_picture(header(picture_type_b), true, stale);
    EXPECT_EQ(b.forward_f_code, 3);
    EXPECT_EQ(b.full_pel_backward_vector, 1);
    EXPECT_EQ(b.backward_f_code, 6);
}

TEST(PictureHeader, UserDataBeforeTheCodingExtensionIsPassedOver) {
    const PictureInfo picture = interlaced_b_picture();
    VideoEsWriter es;
    es.picture_header(picture).user_data("caption").picture_coding_extension(picture).slice();
    const PictureInfo parsed = parse_first_picture(es);
    EXPECT_EQ(parsed.picture_coding_extension_present, 1);
    EXPECT_EQ(parsed.picture_coding_extension, picture.picture_coding_extension);
}

TEST(PictureHeader, ExtraInformationAndUnknownExtensionsArePassedOver) {
    const PictureInfo picture = interlaced_b_picture();
    VideoEsWriter es;
    es.start_code(picture_start_code).bits(5, 10).bits(picture_type_i, 3).bits(0xFFFF, 16);
    es.bits(1, 1).bits(0xB5, 8).bits(1, 1).bits(0x01, 8).bits(0, 1);    // extra_information_picture
    es.start_code(extension_start_code).bits(2, 4).bits(0xABCDEF, 24);  // a sequence extension id
    es.picture_coding_extension(picture).slice();
    const PictureInfo parsed = parse_first_picture(es);
    EXPECT_EQ(parsed.temporal_reference, 5);
    EXPECT_EQ(parsed.vbv_delay, 0xFFFF);
    EXPECT_EQ(parsed.picture_coding_extension, picture.picture_coding_extension);
}

TEST(PictureHeader, PresenceFlagsAreClearedAndAbsentFieldsKept) {
    PictureInfo first = interlaced_b_picture();
    first.copyright_extension_present = 1;
    first.copyright_extension.copyright_identifier = 77;
    VideoEsWriter with;
    with.picture_header(first).picture_extensions(first).slice();
    const PictureInfo parsed_first = parse_first_picture(with);

    VideoEsWriter without;
    without.picture_header(interlaced_b_picture()).slice();
    const PictureInfo parsed = parse_first_picture(without, false, parsed_first);
    EXPECT_EQ(parsed.picture_coding_extension_present, 0);
    EXPECT_EQ(parsed.copyright_extension_present, 0);
    EXPECT_EQ(parsed.copyright_extension.copyright_identifier, 77);
    EXPECT_EQ(parsed.picture_coding_extension.repeat_first_field, 1);
}

// ISO/IEC 13818-2 6.3.12: the count depends on the sequence and the coding extension.
TEST(PictureHeader, FrameCentreOffsetCountFollowsTheCodingExtension) {
    struct Case {
        bool progressive_sequence;
        int picture_structure;
        int top_field_first, repeat_first_field;
        int count;
    };
    for (const Case c :
         {Case{true, structure_frame, 1, 1, 3}, Case{true, structure_frame, 0, 1, 2},
          Case{true, structure_frame, 1, 0, 1}, Case{false, structure_top_field, 1, 1, 1},
          Case{false, structure_frame, 0, 1, 3}, Case{false, structure_frame, 1, 0, 2}}) {
        PictureInfo p = interlaced_b_picture();
        p.picture_coding_extension.picture_structure = c.picture_structure;
        p.picture_coding_extension.top_field_first = c.top_field_first;
        p.picture_coding_extension.repeat_first_field = c.repeat_first_field;
        p.picture_display_extension_present = 1;
        p.picture_display_extension = {c.count, {11, 22, 33}, {44, 55, 66}};
        for (auto i = static_cast<std::size_t>(c.count); i < 3; ++i) {
            p.picture_display_extension.frame_centre_horizontal_offset[i] = 0;  // not coded
            p.picture_display_extension.frame_centre_vertical_offset[i] = 0;
        }
        VideoEsWriter es;
        es.picture_header(p).picture_extensions(p).slice();
        const PictureInfo parsed = parse_first_picture(es, c.progressive_sequence);
        EXPECT_EQ(parsed.picture_display_extension, p.picture_display_extension) << c.count;
    }
}

}  // namespace
}  // namespace quarnel
