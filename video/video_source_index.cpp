// Counting the frames of a video source: from GOP time codes when they can be trusted, else
// from a GOP list read from the file beside the input or built by a scan of the stream.

#include "video/frame_rate.h"
#include "video/gop_list_file.h"
#include "video/video_source.h"

namespace quarnel {

OpenFailure VideoSource::count_frames(const std::string& path, const ProgressFactory& progress) {
    reader_->bit_reader_seek(0, SeekOrigin::begin);
    const FrameRate rate = frame_rate(first_sequence_);
    info_.rate = static_cast<std::int32_t>(rate.rate);
    info_.scale = static_cast<std::int32_t>(rate.scale);
    const FrameCounting counting{progressive_, stream_field_order_};

    if ((settings_.gl & gl_no_time_codes) == 0) {
        auto& index = index_.emplace<TimeCodeIndex>(*reader_, rate, counting);
        info_.frame_count = index.time_code_frame_count();
    }
    if (info_.frame_count > 0) return OpenFailure::none;

    index_ = std::monostate{};
    OpenFailure failure = OpenFailure::none;
    auto list = load_or_build_gop_list(path, counting, progress, failure);
    if (!list) return failure;
    info_.frame_count = list->total_frames;
    index_ = std::move(*list);
    return OpenFailure::none;
}

std::optional<GopList> VideoSource::load_or_build_gop_list(const std::string& path,
                                                           const FrameCounting& counting,
                                                           const ProgressFactory& progress,
                                                           OpenFailure& failure) {
    const bool use_file = (settings_.gl & gl_no_list_file) == 0;
    const std::string file = gop_list_file_path(path);
    if (use_file) {
        // Only the stream size tells a list from one of another stream.
        auto cached = read_gop_list_file(file);
        if (cached && cached->stream_size == reader_->stream_size()) return cached;
    }
    reader_->bit_reader_seek(0, SeekOrigin::begin);
    auto list = build_gop_list(*reader_, counting, progress, &failure);
    // A list that cannot be stored only costs the next open a scan.
    if (list && use_file) write_gop_list_file(*list, file);
    return list;
}

}  // namespace quarnel
