#include "support/video_es_writer.h"

#include "support/memory_stream_ops.h"
#include "video/header_codes.h"

namespace quarnel::test {

namespace {

constexpr std::uint32_t marker_bit = 1;

PictureInfo picture_info_from(const PictureParams& p, bool mpeg2) {
    PictureInfo info;
    info.temporal_reference = p.temporal_reference;
    info.picture_coding_type = p.type;
    info.vbv_delay = p.vbv_delay;
    // MPEG-2 moves the motion vector ranges into the coding extension and codes 0 and 7 here.
    const int header_f_code = mpeg2 ? 7 : 1;
    if (p.type != picture_type_i) info.forward_f_code = header_f_code;
    if (p.type == picture_type_b) info.backward_f_code = header_f_code;
    info.picture_coding_extension_present = mpeg2;
    auto& pce = info.picture_coding_extension;
    pce.f_code = {{{15, 15}, {15, 15}}};  // 15: no motion vectors in that direction
    if (p.type != picture_type_i) pce.f_code[0] = {2, 2};
    if (p.type == picture_type_b) pce.f_code[1] = {2, 2};
    pce.picture_structure = p.picture_structure;
    pce.top_field_first = p.top_field_first;
    pce.frame_pred_frame_dct = p.progressive_frame;
    pce.repeat_first_field = p.repeat_first_field;
    pce.chroma_420_type = p.progressive_frame;
    pce.progressive_frame = p.progressive_frame;
    return info;
}

}  // namespace

SequenceInfo mpeg2_sequence(int width, int height, bool progressive_sequence) {
    SequenceInfo s;
    s.horizontal_size = width;
    s.vertical_size = height;
    s.aspect_ratio_information = 2;  // 4:3
    s.frame_rate_code = height == 480 ? 4 : 3;
    s.bit_rate = 15000;
    s.vbv_buffer_size = 112;
    s.sequence_extension_present = 1;
    s.profile_and_level_indication = 0x48;
    s.progressive_sequence = progressive_sequence;
    s.chroma_format = 1;
    return s;
}

SequenceInfo mpeg1_sequence(int width, int height) {
    SequenceInfo s;
    s.horizontal_size = width;
    s.vertical_size = height;
    s.aspect_ratio_information = 1;
    s.frame_rate_code = 3;
    s.bit_rate = 2875;
    s.vbv_buffer_size = 20;
    return s;
}

VideoEsWriter& VideoEsWriter::bits(std::uint32_t value, int n) {
    for (int i = n - 1; i >= 0; --i) {
        if (used_bits_ == 0) bytes_.push_back(0);
        if ((value >> i) & 1) bytes_.back() |= static_cast<std::uint8_t>(0x80 >> used_bits_);
        used_bits_ = (used_bits_ + 1) % 8;
    }
    return *this;
}

VideoEsWriter& VideoEsWriter::start_code(std::uint32_t code) {
    used_bits_ = 0;  // zero bits pad the previous header to a byte boundary
    bytes_.insert(bytes_.end(), {0x00, 0x00, 0x01, static_cast<std::uint8_t>(code)});
    return *this;
}

VideoEsWriter& VideoEsWriter::raw(const std::vector<std::uint8_t>& bytes) {
    used_bits_ = 0;
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

void VideoEsWriter::extension_start(int id) {
    start_code(extension_start_code);
    bits(id, 4);
}

void VideoEsWriter::quantiser_matrix(const QuantiserMatrix& m) {
    for (const auto value : m) bits(value, 8);
}

VideoEsWriter& VideoEsWriter::sequence(const SequenceInfo& s) {
    sequence_header(s);
    if (s.sequence_extension_present) sequence_extension(s);
    if (s.sequence_display_extension_present) sequence_display_extension(s);
    if (s.sequence_scalable_extension_present) sequence_scalable_extension(s);
    mpeg2_ = s.sequence_extension_present;
    return *this;
}

VideoEsWriter& VideoEsWriter::sequence_header(const SequenceInfo& s) {
    start_code(sequence_header_code);
    bits(s.horizontal_size & 0xFFF, 12).bits(s.vertical_size & 0xFFF, 12);
    bits(s.aspect_ratio_information, 4).bits(s.frame_rate_code, 4);
    bits(s.bit_rate & 0x3FFFF, 18).bits(marker_bit, 1).bits(s.vbv_buffer_size & 0x3FF, 10);
    bits(s.constrained_parameters_flag, 1);
    bits(s.load_intra_quantiser_matrix, 1);
    if (s.load_intra_quantiser_matrix) quantiser_matrix(s.intra_quantiser_matrix);
    bits(s.load_non_intra_quantiser_matrix, 1);
    if (s.load_non_intra_quantiser_matrix) quantiser_matrix(s.non_intra_quantiser_matrix);
    return *this;
}

VideoEsWriter& VideoEsWriter::sequence_extension(const SequenceInfo& s) {
    extension_start(sequence_extension_id);
    bits(s.profile_and_level_indication, 8).bits(s.progressive_sequence, 1);
    bits(s.chroma_format, 2).bits(s.horizontal_size >> 12, 2).bits(s.vertical_size >> 12, 2);
    bits(s.bit_rate >> 18, 12).bits(marker_bit, 1).bits(s.vbv_buffer_size >> 10, 8);
    bits(s.low_delay, 1).bits(s.frame_rate_extension_n, 2).bits(s.frame_rate_extension_d, 5);
    return *this;
}

VideoEsWriter& VideoEsWriter::sequence_display_extension(const SequenceInfo& s) {
    extension_start(sequence_display_extension_id);
    bits(s.video_format, 3).bits(s.colour_description, 1);
    if (s.colour_description) {
        bits(s.colour_primaries, 8).bits(s.transfer_characteristics, 8);
        bits(s.matrix_coefficients, 8);
    }
    bits(s.display_horizontal_size, 14).bits(marker_bit, 1).bits(s.display_vertical_size, 14);
    return *this;
}

VideoEsWriter& VideoEsWriter::sequence_scalable_extension(const SequenceInfo& s) {
    extension_start(sequence_scalable_extension_id);
    bits(s.scalable_mode, 2).bits(s.layer_id, 4);
    if (s.scalable_mode == 1) {  // spatial scalability
        bits(s.lower_layer_prediction_horizontal_size, 14).bits(marker_bit, 1);
        bits(s.lower_layer_prediction_vertical_size, 14);
        bits(s.horizontal_subsampling_factor_m, 5).bits(s.horizontal_subsampling_factor_n, 5);
        bits(s.vertical_subsampling_factor_m, 5).bits(s.vertical_subsampling_factor_n, 5);
    } else if (s.scalable_mode == 3) {  // temporal scalability
        bits(s.picture_mux_enable, 1);
        if (s.picture_mux_enable) bits(s.mux_to_progressive_sequence, 1);
        bits(s.picture_mux_order, 3).bits(s.picture_mux_factor, 3);
    }
    return *this;
}

VideoEsWriter& VideoEsWriter::gop(const GopParams& g) {
    start_code(group_start_code);
    bits(g.drop_frame, 1).bits(g.hours, 5).bits(g.minutes, 6).bits(marker_bit, 1);
    bits(g.seconds, 6).bits(g.pictures, 6).bits(g.closed_gop, 1).bits(g.broken_link, 1);
    return *this;
}

VideoEsWriter& VideoEsWriter::picture(const PictureParams& p) {
    const PictureInfo info = picture_info_from(p, mpeg2_);
    picture_header(info).picture_extensions(info);
    return slice();
}

VideoEsWriter& VideoEsWriter::pictures(std::string_view coded_order) {
    // A B picture is shown when it arrives; an I or P picture waits for the next I or P.
    std::vector<int> display(coded_order.size());
    int next = 0;
    std::ptrdiff_t waiting_anchor = -1;
    for (std::size_t i = 0; i < coded_order.size(); ++i) {
        if (coded_order[i] == 'B') {
            display[i] = next++;
            continue;
        }
        if (waiting_anchor >= 0) display[static_cast<std::size_t>(waiting_anchor)] = next++;
        waiting_anchor = static_cast<std::ptrdiff_t>(i);
    }
    if (waiting_anchor >= 0) display[static_cast<std::size_t>(waiting_anchor)] = next;
    for (std::size_t i = 0; i < coded_order.size(); ++i) {
        const int type = coded_order[i] == 'I'   ? picture_type_i
                         : coded_order[i] == 'P' ? picture_type_p
                                                 : picture_type_b;
        picture({.type = type, .temporal_reference = display[i]});
    }
    return *this;
}

VideoEsWriter& VideoEsWriter::picture_header(const PictureInfo& p) {
    start_code(picture_start_code);
    bits(p.temporal_reference, 10).bits(p.picture_coding_type, 3).bits(p.vbv_delay, 16);
    if (p.picture_coding_type == picture_type_p || p.picture_coding_type == picture_type_b) {
        bits(p.full_pel_forward_vector, 1).bits(p.forward_f_code, 3);
    }
    if (p.picture_coding_type == picture_type_b) {
        bits(p.full_pel_backward_vector, 1).bits(p.backward_f_code, 3);
    }
    return bits(0, 1);  // extra_bit_picture: no extra information
}

VideoEsWriter& VideoEsWriter::picture_extensions(const PictureInfo& p) {
    if (p.picture_coding_extension_present) picture_coding_extension(p);
    if (p.quant_matrix_extension_present) quant_matrix_extension(p.quant_matrix_extension);
    if (p.picture_display_extension_present) {
        picture_display_extension(p.picture_display_extension);
    }
    if (p.picture_spatial_scalable_extension_present) {
        picture_spatial_scalable_extension(p.picture_spatial_scalable_extension);
    }
    if (p.picture_temporal_scalable_extension_present) {
        picture_temporal_scalable_extension(p.picture_temporal_scalable_extension);
    }
    if (p.copyright_extension_present) copyright_extension(p.copyright_extension);
    return *this;
}

VideoEsWriter& VideoEsWriter::picture_coding_extension(const PictureInfo& p) {
    const auto& e = p.picture_coding_extension;
    extension_start(picture_coding_extension_id);
    for (const auto& direction : e.f_code) bits(direction[0], 4).bits(direction[1], 4);
    bits(e.intra_dc_precision, 2).bits(e.picture_structure, 2).bits(e.top_field_first, 1);
    bits(e.frame_pred_frame_dct, 1).bits(e.concealment_motion_vectors, 1);
    bits(e.q_scale_type, 1).bits(e.intra_vlc_format, 1).bits(e.alternate_scan, 1);
    bits(e.repeat_first_field, 1).bits(e.chroma_420_type, 1).bits(e.progressive_frame, 1);
    bits(e.composite_display_flag, 1);
    if (e.composite_display_flag) {
        bits(e.v_axis, 1).bits(e.field_sequence, 3).bits(e.sub_carrier, 1);
        bits(e.burst_amplitude, 7).bits(e.sub_carrier_phase, 8);
    }
    return *this;
}

void VideoEsWriter::quant_matrix_extension(const QuantMatrixExtension& q) {
    extension_start(quant_matrix_extension_id);
    bits(q.load_intra_quantiser_matrix, 1);
    if (q.load_intra_quantiser_matrix) quantiser_matrix(q.intra_quantiser_matrix);
    bits(q.load_non_intra_quantiser_matrix, 1);
    if (q.load_non_intra_quantiser_matrix) quantiser_matrix(q.non_intra_quantiser_matrix);
    bits(q.load_chroma_intra_quantiser_matrix, 1);
    if (q.load_chroma_intra_quantiser_matrix) quantiser_matrix(q.chroma_intra_quantiser_matrix);
    bits(q.load_chroma_non_intra_quantiser_matrix, 1);
    if (q.load_chroma_non_intra_quantiser_matrix) {
        quantiser_matrix(q.chroma_non_intra_quantiser_matrix);
    }
}

void VideoEsWriter::picture_display_extension(const PictureDisplayExtension& d) {
    extension_start(picture_display_extension_id);
    // The count is not coded: the reader derives it from the coding extension.
    for (int i = 0; i < d.number_of_frame_centre_offsets && i < 3; ++i) {
        const auto at = static_cast<std::size_t>(i);
        bits(d.frame_centre_horizontal_offset[at], 16).bits(marker_bit, 1);
        bits(d.frame_centre_vertical_offset[at], 16).bits(marker_bit, 1);
    }
}

void VideoEsWriter::picture_spatial_scalable_extension(const PictureSpatialScalableExtension& s) {
    extension_start(picture_spatial_scalable_extension_id);
    bits(s.lower_layer_temporal_reference, 10).bits(marker_bit, 1);
    bits(s.lower_layer_horizontal_offset, 15).bits(marker_bit, 1);
    bits(s.lower_layer_vertical_offset, 15).bits(s.spatial_temporal_weight_code_table_index, 2);
    bits(s.lower_layer_progressive_frame, 1).bits(s.lower_layer_deinterlaced_field_select, 1);
}

void VideoEsWriter::picture_temporal_scalable_extension(const PictureTemporalScalableExtension& t) {
    extension_start(picture_temporal_scalable_extension_id);
    bits(t.reference_select_code, 2).bits(t.forward_temporal_reference, 10);
    bits(marker_bit, 1).bits(t.backward_temporal_reference, 10);
}

void VideoEsWriter::copyright_extension(const CopyrightExtension& c) {
    extension_start(copyright_extension_id);
    bits(c.copyright_flag, 1).bits(c.copyright_identifier, 8).bits(c.original_or_copy, 1);
    bits(c.reserved, 7).bits(marker_bit, 1).bits(c.copyright_number_1, 20);
    bits(marker_bit, 1).bits(c.copyright_number_2, 22);
    bits(marker_bit, 1).bits(c.copyright_number_3, 22);
}

VideoEsWriter& VideoEsWriter::slice(int vertical_position, std::size_t payload_bytes) {
    start_code(slice_start_code_first - 1 + static_cast<std::uint32_t>(vertical_position));
    // quantiser_scale_code 8, extra_bit_slice 0, then two set bits that byte-align the filler.
    bits(8, 5).bits(0, 1).bits(3, 2);
    // Filler bytes all have their top bit set, so no two zero bytes can ever meet.
    for (std::size_t i = 0; i < payload_bytes; ++i) {
        bits(static_cast<std::uint32_t>(0x80 | ((i * 29 + 17) & 0x7F)), 8);
    }
    return *this;
}

VideoEsWriter& VideoEsWriter::user_data(std::string_view text) {
    start_code(user_data_start_code);
    for (const char c : text) bits(static_cast<std::uint8_t>(c), 8);
    return *this;
}

VideoEsWriter& VideoEsWriter::sequence_end() {
    return start_code(sequence_end_code);
}

std::unique_ptr<VideoBitReader> VideoEsWriter::open_reader(std::size_t max_read) const {
    return VideoBitReader::open(std::make_unique<MemoryStreamOps>(bytes_, max_read));
}

std::unique_ptr<VideoBitReader> VideoEsWriter::open_reader_past(std::uint32_t code) const {
    auto reader = open_reader();
    while (reader->next_start_code()) {
        if (reader->get_bits(32) == code) return reader;
    }
    return nullptr;
}

}  // namespace quarnel::test
