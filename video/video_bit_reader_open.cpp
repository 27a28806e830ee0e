#include "input/file_set.h"
#include "video/video_bit_reader.h"

namespace quarnel {

// Kept apart from the reader itself so that a program using only VideoBitReader::open does
// not pull in every stream layer.
std::unique_ptr<VideoBitReader> bit_reader_open(const std::string& path,
                                                const SettingsStore& settings) {
    return VideoBitReader::open(file_set_open(path, settings));
}

}  // namespace quarnel
