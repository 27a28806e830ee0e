#include "video/decoder_setup.h"

namespace quarnel {

namespace {

SequenceShape sequence_shape(const SequenceInfo& s) {
    return {.horizontal_size = s.horizontal_size,
            .vertical_size = s.vertical_size,
            .coded_width = s.coded_width,
            .coded_height = s.coded_height,
            .aspect_ratio_information = s.aspect_ratio_information,
            .sequence_extension_present = s.sequence_extension_present,
            .chroma_format = s.chroma_format,
            .sequence_display_extension_present = s.sequence_display_extension_present,
            .display_horizontal_size = s.display_horizontal_size,
            .display_vertical_size = s.display_vertical_size};
}

}  // namespace

DecoderSetup::DecoderSetup(SequenceInfo& sequence, const VideoSettings& settings)
    : decoder_context_(make_decoder_context(sequence)) {
    set_up_colour(sequence, settings);
    prepare_reconstruction(sequence, settings);
}

void DecoderSetup::set_up_colour(const SequenceInfo& s, const VideoSettings& settings) {
    colour_matrix_ = choose_colour_matrix(s, settings);
    colour_.width = s.horizontal_size;
    colour_.height = s.vertical_size;
    colour_.coded_width = s.coded_width;
    colour_.chroma_line_width = decoder_context_.chroma_format == 1 ? s.horizontal_size / 2 : 0;
    const LumaRange luma = luma_range(settings.re_map);
    colour_.luma_offset = luma.offset;
    colour_.luma_scale = luma.scale;
    const ColourCoefficients c = colour_coefficients(colour_matrix_, settings.re_map);
    colour_.u_to_blue = c.u_to_blue;
    colour_.u_to_green = c.u_to_green;
    colour_.v_to_green = c.v_to_green;
    colour_.v_to_red = c.v_to_red;

    const auto remix = yuy2_conversion(colour_matrix_, settings.yuy2_matrix);
    yuy2_needed_ = remix.has_value();
    yuy2_ = remix.value_or(yuy2_identity);
}

void DecoderSetup::prepare_reconstruction(SequenceInfo& sequence, const VideoSettings& settings) {
    routines_ = select_routines({.simd = settings.simd,
                                 .idct_func = settings.idct_func,
                                 .chroma_format = decoder_context_.chroma_format,
                                 .yuy2_conversion = yuy2_needed_});
    SequenceShape shape = sequence_shape(sequence);
    resize_tables_ = build_resize_tables(shape, settings);
    // An unusable display size is the coded size from here on, as the tables took it.
    sequence.display_horizontal_size = shape.display_horizontal_size;
    sequence.display_vertical_size = shape.display_vertical_size;
    // Pictures come out at the resized size, which the stream information then reports.
    if (resize_tables_) apply_resize_tables(*resize_tables_, colour_);
}

}  // namespace quarnel
