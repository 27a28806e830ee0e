#include "source/stream_source.h"

#include <utility>

#include "audio/audio_source.h"
#include "base/regular_file.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

// Delivered pictures would be RGB24; delivered samples 16-bit stereo.
constexpr std::uint32_t delivered_bits_per_pixel = 24;
constexpr std::uint32_t delivered_channels = 2;
constexpr std::uint32_t delivered_bits_per_sample = 16;
constexpr std::uint32_t delivered_block_align = delivered_channels * delivered_bits_per_sample / 8;

template <typename Record>
bool usable(const Record* record) {
    return record != nullptr && record->size == sizeof(Record);
}

std::uint32_t unsigned_value(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

}  // namespace

StreamSource::StreamSource(std::unique_ptr<VideoSource> video, std::unique_ptr<AudioSource> audio)
    : video_(std::move(video)), audio_(std::move(audio)) {}

StreamSource::~StreamSource() = default;

SourceResult OpenFile(const std::string& path, const OpenContext& context,
                      std::unique_ptr<StreamSource>& handle, OpenFailures* failures) {
    handle.reset();
    OpenFailures why;
    if (const OpenFailure file = check_regular_file(path); file != OpenFailure::none) {
        if (failures) *failures = {file, file};
        return E_FAIL;
    }
    auto video = video_source_open(path, context.settings, context.progress, &why.video);
    auto audio = audio_source_open(path, context.settings);
    if (!audio) why.audio = OpenFailure::no_layer2_audio;
    if (!video && !audio) {
        if (failures) *failures = why;
        return E_FAIL;
    }
    handle = std::make_unique<StreamSource>(std::move(video), std::move(audio));
    return S_OK;
}

SourceResult CloseFile(std::unique_ptr<StreamSource> handle) {
    handle.reset();
    return S_OK;
}

SourceResult GetFileInfo(const StreamSource& handle, VF_FileInfo* info) {
    if (!usable(info)) return E_FAIL;
    info->stream_flags = 0;
    if (handle.video()) info->stream_flags |= has_video_stream;
    if (handle.audio()) info->stream_flags |= has_audio_stream;
    return S_OK;
}

SourceResult GetStreamInfo(const StreamSource& handle, int stream, VF_StreamInfo_Video* info) {
    const VideoSource* video = handle.video();
    if (stream != video_stream_number || !video || !usable(info)) return E_FAIL;
    const VideoStreamInfo& v = video->stream_info();
    info->length_low = low_half(v.frame_count);
    info->length_high = high_half(v.frame_count);
    info->rate = unsigned_value(v.rate);
    info->scale = unsigned_value(v.scale);
    info->width = unsigned_value(v.width);
    info->height = unsigned_value(v.height);
    info->bit_count = delivered_bits_per_pixel;
    return S_OK;
}

SourceResult GetStreamInfo(const StreamSource& handle, int stream, VF_StreamInfo_Audio* info) {
    const AudioSource* audio = handle.audio();
    if (stream != audio_stream_number || !audio || !usable(info)) return E_FAIL;
    info->length_low = low_half(audio->length_samples());
    info->length_high = high_half(audio->length_samples());
    info->rate = unsigned_value(audio->sampling_rate());
    info->scale = 1;
    info->channels = delivered_channels;
    info->bits_per_sample = delivered_bits_per_sample;
    info->block_align = delivered_block_align;
    return S_OK;
}

}  // namespace quarnel
