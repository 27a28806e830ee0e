#include "video/picture_header.h"

#include <array>

#include "video/header_fields.h"

namespace quarnel {

namespace {

void quant_matrix_extension(VideoBitReader& r, PictureInfo& p, bool) {
    p.quant_matrix_extension_present = 1;
    auto& q = p.quant_matrix_extension;
    const auto load = [&r](std::int32_t& flag, QuantiserMatrix& matrix) {
        flag = read_field(r, 1);
        if (flag) read_quantiser_matrix(r, matrix);
    };
    load(q.load_intra_quantiser_matrix, q.intra_quantiser_matrix);
    load(q.load_non_intra_quantiser_matrix, q.non_intra_quantiser_matrix);
    load(q.load_chroma_intra_quantiser_matrix, q.chroma_intra_quantiser_matrix);
    load(q.load_chroma_non_intra_quantiser_matrix, q.chroma_non_intra_quantiser_matrix);
}

void copyright_extension(VideoBitReader& r, PictureInfo& p, bool) {
    p.copyright_extension_present = 1;
    auto& c = p.copyright_extension;
    c.copyright_flag = read_field(r, 1);
    c.copyright_identifier = read_field(r, 8);
    c.original_or_copy = read_field(r, 1);
    c.reserved = read_field(r, 7);
    skip_marker_bit(r);
    c.copyright_number_1 = read_field(r, 20);
    skip_marker_bit(r);
    c.copyright_number_2 = read_field(r, 22);
    skip_marker_bit(r);
    c.copyright_number_3 = read_field(r, 22);
}

// The count is not coded but follows from the picture's fields (ISO/IEC 13818-2 6.3.12).
std::int32_t number_of_frame_centre_offsets(const PictureCodingExtension& e,
                                            bool progressive_sequence) {
    if (progressive_sequence) {
        if (!e.repeat_first_field) return 1;
        return e.top_field_first ? 3 : 2;
    }
    if (e.picture_structure != structure_frame) return 1;
    return e.repeat_first_field ? 3 : 2;
}

void picture_display_extension(VideoBitReader& r, PictureInfo& p, bool progressive_sequence) {
    p.picture_display_extension_present = 1;
    auto& d = p.picture_display_extension;
    d.number_of_frame_centre_offsets =
        number_of_frame_centre_offsets(p.picture_coding_extension, progressive_sequence);
    for (std::size_t i = 0; i < static_cast<std::size_t>(d.number_of_frame_centre_offsets); ++i) {
        d.frame_centre_horizontal_offset[i] = read_field(r, 16);
        skip_marker_bit(r);
        d.frame_centre_vertical_offset[i] = read_field(r, 16);
        skip_marker_bit(r);
    }
}

void picture_coding_extension(VideoBitReader& r, PictureInfo& p, bool) {
    p.picture_coding_extension_present = 1;
    auto& e = p.picture_coding_extension;
    for (auto& direction : e.f_code) {
        for (auto& f_code : direction) f_code = read_field(r, 4);
    }
    e.intra_dc_precision = read_field(r, 2);
    e.picture_structure = read_field(r, 2);
    e.top_field_first = read_field(r, 1);
    e.frame_pred_frame_dct = read_field(r, 1);
    e.concealment_motion_vectors = read_field(r, 1);
    e.q_scale_type = read_field(r, 1);
    e.intra_vlc_format = read_field(r, 1);
    e.alternate_scan = read_field(r, 1);
    e.repeat_first_field = read_field(r, 1);
    e.chroma_420_type = read_field(r, 1);
    e.progressive_frame = read_field(r, 1);
    e.composite_display_flag = read_field(r, 1);
    if (e.composite_display_flag) {
        e.v_axis = read_field(r, 1);
        e.field_sequence = read_field(r, 3);
        e.sub_carrier = read_field(r, 1);
        e.burst_amplitude = read_field(r, 7);
        e.sub_carrier_phase = read_field(r, 8);
    }
}

void picture_spatial_scalable_extension(VideoBitReader& r, PictureInfo& p, bool) {
    p.picture_spatial_scalable_extension_present = 1;
    auto& s = p.picture_spatial_scalable_extension;
    s.lower_layer_temporal_reference = read_field(r, 10);
    skip_marker_bit(r);
    s.lower_layer_horizontal_offset = read_field(r, 15);
    skip_marker_bit(r);
    s.lower_layer_vertical_offset = read_field(r, 15);
    s.spatial_temporal_weight_code_table_index = read_field(r, 2);
    s.lower_layer_progressive_frame = read_field(r, 1);
    s.lower_layer_deinterlaced_field_select = read_field(r, 1);
}

void picture_temporal_scalable_extension(VideoBitReader& r, PictureInfo& p, bool) {
    p.picture_temporal_scalable_extension_present = 1;
    auto& t = p.picture_temporal_scalable_extension;
    t.reference_select_code = read_field(r, 2);
    t.forward_temporal_reference = read_field(r, 10);
    skip_marker_bit(r);
    t.backward_temporal_reference = read_field(r, 10);
}

using PictureExtensionParser = void (*)(VideoBitReader&, PictureInfo&, bool progressive_sequence);

// Indexed by extension_start_code_identifier; identifiers without a parser are passed over.
constexpr std::array<PictureExtensionParser, 16> picture_extension_parsers = [] {
    std::array<PictureExtensionParser, 16> table{};
    table[quant_matrix_extension_id] = quant_matrix_extension;
    table[copyright_extension_id] = copyright_extension;
    table[picture_display_extension_id] = picture_display_extension;
    table[picture_coding_extension_id] = picture_coding_extension;
    table[picture_spatial_scalable_extension_id] = picture_spatial_scalable_extension;
    table[picture_temporal_scalable_extension_id] = picture_temporal_scalable_extension;
    return table;
}();

}  // namespace

void parse_picture_header(VideoBitReader& r, PictureInfo& p, bool progressive_sequence) {
    p.temporal_reference = read_field(r, 10);
    p.picture_coding_type = read_field(r, 3);
    p.vbv_delay = read_field(r, 16);
    const bool forward =
        p.picture_coding_type == picture_type_p || p.picture_coding_type == picture_type_b;
    const bool backward = p.picture_coding_type == picture_type_b;
    p.full_pel_forward_vector = forward ? read_field(r, 1) : 0;
    p.forward_f_code = forward ? read_field(r, 3) : 0;
    p.full_pel_backward_vector = backward ? read_field(r, 1) : 0;
    p.backward_f_code = backward ? read_field(r, 3) : 0;
    while (r.get_bits(1) == 1) r.skip_bits(8);  // extra_information_picture

    p.picture_coding_extension_present = 0;
    p.quant_matrix_extension_present = 0;
    p.picture_display_extension_present = 0;
    p.picture_spatial_scalable_extension_present = 0;
    p.picture_temporal_scalable_extension_present = 0;
    p.copyright_extension_present = 0;
    for_each_extension(r, true, [&](std::int32_t id) {
        if (const auto parse = picture_extension_parsers[static_cast<std::size_t>(id)]) {
            parse(r, p, progressive_sequence);
        }
    });
}

}  // namespace quarnel
