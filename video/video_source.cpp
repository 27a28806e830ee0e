#include "video/video_source.h"

#include <algorithm>

#include "video/bit_reader_open.h"
#include "video/frame_rate.h"
#include "video/header_codes.h"
#include "video/picture_header.h"
#include "video/sequence_header.h"

namespace quarnel {

namespace {

// Consumes start codes up to and including `code`; false when the stream ends first or a
// start code other than `code` lies beyond `limit`.
bool skip_to_start_code(VideoBitReader& reader, std::uint32_t code, std::int64_t limit) {
    for (;;) {
        if (!reader.next_start_code(limit)) return false;
        if (reader.get_bits(32) == code) return true;
        if (reader.stream_position() > limit) return false;
    }
}

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

std::string_view frame_index_name(FrameIndexKind kind) {
    return kind == FrameIndexKind::time_code ? "timecode" : "goplist";
}

FrameIndexKind VideoSource::index_kind() const {
    return std::holds_alternative<GopList>(index_) ? FrameIndexKind::gop_list
                                                   : FrameIndexKind::time_code;
}

GopEntry VideoSource::lookup(std::int64_t frame) {
    if (auto* list = std::get_if<GopList>(&index_)) return lookup_gop_list(*list, frame);
    if (auto* index = std::get_if<TimeCodeIndex>(&index_)) {
        const GopEntry entry = index->lookup_by_time_code(frame);
        reader_->bit_reader_seek(0, SeekOrigin::begin);
        return entry;
    }
    return {};
}

OpenFailure VideoSource::find_first_headers(std::int64_t limit) {
    if (!skip_to_start_code(*reader_, sequence_header_code, limit))
        return OpenFailure::no_sequence_header;
    parse_sequence_header(*reader_, first_sequence_);
    const bool mpeg2 = first_sequence_.sequence_extension_present != 0;
    progressive_ = !mpeg2 || first_sequence_.progressive_sequence != 0;
    decoder_context_ = make_decoder_context(first_sequence_);

    if (!skip_to_start_code(*reader_, picture_start_code, limit))
        return OpenFailure::no_picture_header;
    parse_picture_header(*reader_, first_picture_, progressive_);
    return OpenFailure::none;
}

void VideoSource::set_up_colour() {
    const SequenceInfo& s = first_sequence_;
    colour_matrix_ = choose_colour_matrix(s, settings_);
    colour_.width = s.horizontal_size;
    colour_.height = s.vertical_size;
    colour_.coded_width = s.coded_width;
    colour_.chroma_line_width = decoder_context_.chroma_format == 1 ? s.horizontal_size / 2 : 0;
    const LumaRange luma = luma_range(settings_.re_map);
    colour_.luma_offset = luma.offset;
    colour_.luma_scale = luma.scale;
    const ColourCoefficients c = colour_coefficients(colour_matrix_, settings_.re_map);
    colour_.u_to_blue = c.u_to_blue;
    colour_.u_to_green = c.u_to_green;
    colour_.v_to_green = c.v_to_green;
    colour_.v_to_red = c.v_to_red;

    const auto remix = yuy2_conversion(colour_matrix_, settings_.yuy2_matrix);
    yuy2_needed_ = remix.has_value();
    yuy2_ = remix.value_or(yuy2_identity);
}

void VideoSource::apply_field_order() {
    // A progressive picture has no field order to change (ISO/IEC 13818-2 6.3.10).
    if (progressive_) settings_.field_order = 0;
    const std::int32_t order = settings_.field_order;
    chosen_field_order_ = order == 1 ? 1 : order == 2 ? 0 : stream_field_order_;
    // Showing the fields the other way round leaves the stream's first field unpaired, which
    // costs one frame; a stream that counted no frame keeps 0.
    if (chosen_field_order_ != stream_field_order_)
        info_.frame_count = std::max<std::int64_t>(info_.frame_count - 1, 0);
}

void VideoSource::prepare_reconstruction() {
    routines_ = select_routines({.simd = settings_.simd,
                                 .idct_func = settings_.idct_func,
                                 .chroma_format = decoder_context_.chroma_format,
                                 .yuy2_conversion = yuy2_needed_});
    SequenceShape shape = sequence_shape(first_sequence_);
    resize_tables_ = build_resize_tables(shape, settings_);
    // An unusable display size is the coded size from here on, as the tables took it.
    first_sequence_.display_horizontal_size = shape.display_horizontal_size;
    first_sequence_.display_vertical_size = shape.display_vertical_size;
    // Pictures come out at the resized size, which the stream information then reports.
    if (resize_tables_) apply_resize_tables(*resize_tables_, colour_);
}

std::unique_ptr<VideoSource> video_source_open(const std::string& path,
                                               const SettingsStore& settings,
                                               const ProgressFactory& progress,
                                               OpenFailure* failure) {
    const auto refuse = [failure](OpenFailure why) {
        if (failure) *failure = why;
        return nullptr;
    };
    if (!has_video_extension(path)) return refuse(OpenFailure::not_video_extension);
    std::unique_ptr<VideoSource> source(new VideoSource);
    source->reader_ = bit_reader_open(path, settings);
    if (!source->reader_) return refuse(OpenFailure::cannot_open);

    // A byte count: a stored value of 2 GiB or more is a wide limit, not a negative one.
    const std::int64_t limit = static_cast<std::uint32_t>(read_search_limit(settings));
    if (const OpenFailure why = source->find_first_headers(limit); why != OpenFailure::none)
        return refuse(why);
    source->settings_ = read_video_settings(settings);
    const PictureInfo& picture = source->first_picture_;
    source->stream_field_order_ = picture.picture_coding_extension_present != 0
                                      ? picture.picture_coding_extension.top_field_first
                                      : 0;

    if (const OpenFailure why = source->count_frames(path, progress); why != OpenFailure::none)
        return refuse(why);
    source->set_up_colour();
    source->apply_field_order();
    source->prepare_reconstruction();

    source->info_.width = source->colour_.width;
    source->info_.height = source->colour_.height;
    source->reader_->bit_reader_seek(0, SeekOrigin::begin);
    return source;
}

}  // namespace quarnel
