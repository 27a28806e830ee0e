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

    if (!skip_to_start_code(*reader_, picture_start_code, limit))
        return OpenFailure::no_picture_header;
    parse_picture_header(*reader_, first_picture_, progressive_);
    return OpenFailure::none;
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
    source->apply_field_order();
    source->decoder_ = DecoderSetup(source->first_sequence_, source->settings_);

    source->info_.width = source->decoder_.colour_parameters().width;
    source->info_.height = source->decoder_.colour_parameters().height;
    source->reader_->bit_reader_seek(0, SeekOrigin::begin);
    return source;
}

}  // namespace quarnel
