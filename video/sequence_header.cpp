#include "video/sequence_header.h"

#include <array>

#include "video/header_fields.h"

namespace quarnel {

namespace {

void sequence_extension(VideoBitReader& r, SequenceInfo& s) {
    s.sequence_extension_present = 1;
    s.profile_and_level_indication = read_field(r, 8);
    s.progressive_sequence = read_field(r, 1);
    s.chroma_format = read_field(r, 2);
    // The extensions are the high bits above the header's fields; a repeated extension
    // replaces them rather than adding to them again.
    s.horizontal_size = (s.horizontal_size & 0xFFF) | read_field(r, 2) << 12;
    s.vertical_size = (s.vertical_size & 0xFFF) | read_field(r, 2) << 12;
    s.bit_rate = (s.bit_rate & 0x3FFFF) | read_field(r, 12) << 18;
    skip_marker_bit(r);
    s.vbv_buffer_size = (s.vbv_buffer_size & 0x3FF) | read_field(r, 8) << 10;
    s.low_delay = read_field(r, 1);
    s.frame_rate_extension_n = read_field(r, 2);
    s.frame_rate_extension_d = read_field(r, 5);
}

void sequence_display_extension(VideoBitReader& r, SequenceInfo& s) {
    s.sequence_display_extension_present = 1;
    s.video_format = read_field(r, 3);
    s.colour_description = read_field(r, 1);
    if (s.colour_description) {
        s.colour_primaries = read_field(r, 8);
        s.transfer_characteristics = read_field(r, 8);
        s.matrix_coefficients = read_field(r, 8);
    }
    s.display_horizontal_size = read_field(r, 14);
    skip_marker_bit(r);
    s.display_vertical_size = read_field(r, 14);
}

constexpr std::int32_t spatial_scalability = 1;
constexpr std::int32_t temporal_scalability = 3;

void sequence_scalable_extension(VideoBitReader& r, SequenceInfo& s) {
    s.sequence_scalable_extension_present = 1;
    s.scalable_mode = read_field(r, 2);
    s.layer_id = read_field(r, 4);
    if (s.scalable_mode == spatial_scalability) {
        s.lower_layer_prediction_horizontal_size = read_field(r, 14);
        skip_marker_bit(r);
        s.lower_layer_prediction_vertical_size = read_field(r, 14);
        s.horizontal_subsampling_factor_m = read_field(r, 5);
        s.horizontal_subsampling_factor_n = read_field(r, 5);
        s.vertical_subsampling_factor_m = read_field(r, 5);
        s.vertical_subsampling_factor_n = read_field(r, 5);
    } else if (s.scalable_mode == temporal_scalability) {
        s.picture_mux_enable = read_field(r, 1);
        if (s.picture_mux_enable) s.mux_to_progressive_sequence = read_field(r, 1);
        s.picture_mux_order = read_field(r, 3);
        s.picture_mux_factor = read_field(r, 3);
    }
}

using SequenceExtensionParser = void (*)(VideoBitReader&, SequenceInfo&);

// Indexed by extension_start_code_identifier; identifiers without a parser are passed over.
constexpr std::array<SequenceExtensionParser, 16> sequence_extension_parsers = [] {
    std::array<SequenceExtensionParser, 16> table{};
    table[sequence_extension_id] = sequence_extension;
    table[sequence_display_extension_id] = sequence_display_extension;
    table[sequence_scalable_extension_id] = sequence_scalable_extension;
    return table;
}();

std::int32_t round_up(std::int32_t value, std::int32_t multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

}  // namespace

void parse_sequence_header(VideoBitReader& r, SequenceInfo& s) {
    s.horizontal_size = read_field(r, 12);
    s.vertical_size = read_field(r, 12);
    s.aspect_ratio_information = read_field(r, 4);
    s.frame_rate_code = read_field(r, 4);
    s.bit_rate = read_field(r, 18);
    skip_marker_bit(r);
    s.vbv_buffer_size = read_field(r, 10);
    s.constrained_parameters_flag = read_field(r, 1);
    s.load_intra_quantiser_matrix = read_field(r, 1);
    if (s.load_intra_quantiser_matrix) read_quantiser_matrix(r, s.intra_quantiser_matrix);
    s.load_non_intra_quantiser_matrix = read_field(r, 1);
    if (s.load_non_intra_quantiser_matrix) read_quantiser_matrix(r, s.non_intra_quantiser_matrix);

    s.sequence_extension_present = 0;
    s.sequence_display_extension_present = 0;
    s.sequence_scalable_extension_present = 0;
    for_each_extension(r, false, [&](std::int32_t id) {
        if (const auto parse = sequence_extension_parsers[static_cast<std::size_t>(id)])
            parse(r, s);
    });

    // Macroblocks are 16 lines high; an interlaced MPEG-2 frame is coded as two fields of
    // whole macroblocks (ISO/IEC 13818-2 6.3.3).
    s.coded_width = round_up(s.horizontal_size, 16);
    const bool interlaced_mpeg2 = s.sequence_extension_present && !s.progressive_sequence;
    s.coded_height = round_up(s.vertical_size, interlaced_mpeg2 ? 32 : 16);
}

}  // namespace quarnel
