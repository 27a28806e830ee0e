#pragma once
// The video bit reader over whichever stream layer a file needs.

#include <memory>
#include <string>

#include "video/video_bit_reader.h"

namespace quarnel {

class SettingsStore;

// Opens `path` through the first stream layer that accepts it and reads its video.
std::unique_ptr<VideoBitReader> bit_reader_open(const std::string& path,
                                                const SettingsStore& settings);

}  // namespace quarnel
