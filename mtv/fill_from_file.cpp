#include "mtv/fill_from_file.h"

#include "audio/audio_source.h"
#include "base/regular_file.h"
#include "mtv/file_facts.h"
#include "mtv/header_derivation.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

VideoFacts video_facts(const VideoSource& video) {
    const SequenceInfo& sequence = video.first_sequence();
    return {sequence.horizontal_size, sequence.vertical_size, sequence.aspect_ratio_information,
            sequence.bit_rate, video.first_picture().vbv_delay};
}

}  // namespace

bool FillFromFile(MtvHeader& header, const std::string& path, bool video_auto, bool audio_auto,
                  const OpenContext& context, OpenFailures* failures) {
    if (!store_file_facts(header, path)) {
        const OpenFailure file = check_regular_file(path);
        if (failures) *failures = {file, file};
        return false;
    }

    std::unique_ptr<StreamSource> source;
    if (OpenFile(path, context, source, failures) != S_OK) return false;

    VF_FileInfo file_info;
    if (GetFileInfo(*source, &file_info) == S_OK) {
        VF_StreamInfo_Video video_info;
        if (video_auto && GetStreamInfo(*source, video_stream_number, &video_info) == S_OK)
            derive_video_fields(header, video_facts(*source->video()));
        VF_StreamInfo_Audio audio_info;
        if (audio_auto && GetStreamInfo(*source, audio_stream_number, &audio_info) == S_OK)
            derive_audio_fields(
                header, {source->audio()->bit_rate(), static_cast<std::int32_t>(audio_info.rate)});
    }
    CloseFile(std::move(source));
    return true;
}

}  // namespace quarnel
