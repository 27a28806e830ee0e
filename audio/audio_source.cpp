#include "audio/audio_source.h"

#include <new>

namespace quarnel {

AudioSource::AudioSource(std::unique_ptr<AudioReaderOps> reader)
    : reader_(std::move(reader)), info_(reader_->get_info()) {}

std::unique_ptr<AudioSource> audio_source_open(const std::string& path,
                                               const SettingsStore& settings) {
    auto reader = audio_reader_open(path, settings);
    if (!reader) return nullptr;
    return std::unique_ptr<AudioSource>(new (std::nothrow) AudioSource(std::move(reader)));
}

}  // namespace quarnel
