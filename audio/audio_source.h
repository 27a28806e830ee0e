#pragma once
// The audio half of a stream source: the first MPEG-1 Layer II stream of a file (set),
// measured in samples from the display start of the video to the end of the audio.

#include <cstdint>
#include <memory>
#include <string>

#include "audio/audio_reader_ops.h"

namespace quarnel {

class SettingsStore;

class AudioSource {
  public:
    explicit AudioSource(std::unique_ptr<AudioReaderOps> reader);

    // Samples per channel on the stream's timeline.
    std::int64_t length_samples() const { return info_.total_samples; }
    std::int32_t sampling_rate() const { return info_.sampling_rate; }
    std::int32_t channels() const { return info_.channels; }
    // Bit rate of the frame headers that chose the stream, in bit/s.
    std::int32_t bit_rate() const { return info_.bit_rate; }

    AudioReaderOps& reader() { return *reader_; }

  private:
    std::unique_ptr<AudioReaderOps> reader_;
    AudioInfo info_;
};

// nullptr when the file carries no accepted MPEG-1 Layer II audio. The "file" setting decides
// whether numbered continuation files join the set.
std::unique_ptr<AudioSource> audio_source_open(const std::string& path,
                                               const SettingsStore& settings);

}  // namespace quarnel
