#pragma once
// A video stream opened for what the MTV header needs of it: its first sequence and picture
// headers, its frame count and rate and its picture size. Opening also sets up what a
// picture decoder would start from (video/decoder_setup.h).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "base/open_failure.h"
#include "base/progress.h"
#include "base/settings.h"
#include "video/decoder_setup.h"
#include "video/file_name_extensions.h"
#include "video/gop_list.h"
#include "video/picture_info.h"
#include "video/sequence_info.h"
#include "video/time_code_index.h"
#include "video/video_bit_reader.h"

namespace quarnel {

struct VideoStreamInfo {
    std::int64_t frame_count = 0;
    std::int32_t rate = 0;  // frames per second = rate / scale
    std::int32_t scale = 1;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const VideoStreamInfo&) const = default;
};

// Which index counted the frames.
enum class FrameIndexKind { time_code, gop_list };
std::string_view frame_index_name(FrameIndexKind kind);  // "timecode", "goplist"

// Bits of the "gl" setting.
inline constexpr std::int32_t gl_no_list_file = 1;   // never read or write the GOP list file
inline constexpr std::int32_t gl_no_time_codes = 2;  // always scan the stream for a GOP list

class VideoSource {
  public:
    VideoSource(const VideoSource&) = delete;
    VideoSource& operator=(const VideoSource&) = delete;

    const VideoStreamInfo& stream_info() const { return info_; }
    // The first sequence header as coded, except that building resize tables replaces an
    // unusable display size of its display extension by the coded size.
    const SequenceInfo& first_sequence() const { return first_sequence_; }
    const PictureInfo& first_picture() const { return first_picture_; }
    FrameIndexKind index_kind() const;
    ContainerLayer container_layer() const { return reader_->container_layer(); }
    // The GOP list when it counted the frames, else nullptr.
    const GopList* gop_list() const { return std::get_if<GopList>(&index_); }
    // The random-access point whose decoding yields `frame`; all zero when none does.
    GopEntry lookup(std::int64_t frame);

    // The settings as the open applied them (field_order is 0 for progressive streams).
    const VideoSettings& settings() const { return settings_; }
    bool progressive_sequence() const { return progressive_; }
    // top_field_first of the first picture (0 for MPEG-1), and the order in use after the
    // field_order setting; a frame is dropped from the count when they differ.
    std::int32_t stream_field_order() const { return stream_field_order_; }
    std::int32_t chosen_field_order() const { return chosen_field_order_; }
    // What a picture decoder of the stream would start from, under the applied settings.
    const DecoderSetup& decoder_setup() const { return decoder_; }

  private:
    friend std::unique_ptr<VideoSource> video_source_open(const std::string& path,
                                                          const SettingsStore& settings,
                                                          const ProgressFactory& progress,
                                                          OpenFailure* failure);
    VideoSource() = default;

    // These return none when they succeed, else why the open fails.
    OpenFailure find_first_headers(std::int64_t limit);
    OpenFailure count_frames(const std::string& path, const ProgressFactory& progress);
    std::optional<GopList> load_or_build_gop_list(const std::string& path,
                                                  const FrameCounting& counting,
                                                  const ProgressFactory& progress,
                                                  OpenFailure& failure);
    void apply_field_order();

    // Declared first so that it outlives the index, which drives it.
    std::unique_ptr<VideoBitReader> reader_;
    SequenceInfo first_sequence_;
    PictureInfo first_picture_;
    bool progressive_ = true;
    std::variant<std::monostate, TimeCodeIndex, GopList> index_;
    VideoSettings settings_;
    std::int32_t stream_field_order_ = 0;
    std::int32_t chosen_field_order_ = 0;
    DecoderSetup decoder_;
    VideoStreamInfo info_;
};

// Opens the video of `path`: nullptr when its extension is not a video one, no stream layer
// accepts it, its first sequence header or first picture lies beyond the "limit" setting, or
// the frames cannot be counted (a GOP list scan that fails or is cancelled through the
// display `progress` creates); then `failure`, when given, says which. May read or write the
// GOP list file beside `path`.
std::unique_ptr<VideoSource> video_source_open(const std::string& path,
                                               const SettingsStore& settings,
                                               const ProgressFactory& progress = {},
                                               OpenFailure* failure = nullptr);

}  // namespace quarnel
