#include "video/bit_reader_open.h"

#include "input/file_set.h"
#include "input/ps_layer.h"
#include "input/ts_layer.h"

namespace quarnel {

// Kept apart from the reader itself so that a program using only VideoBitReader::open does
// not pull in every stream layer.
std::unique_ptr<VideoBitReader> bit_reader_open(const std::string& path,
                                                const SettingsStore& settings) {
    // Containers are told apart by their content: transport packets first, then a system
    // start code within the search limit; anything else is a plain video elementary stream.
    if (auto ts = ts_layer_open(path, StreamKind::video, settings))
        return VideoBitReader::open(std::move(ts), ContainerLayer::transport_stream);
    if (auto ps = ps_layer_open(path, StreamKind::video, settings))
        return VideoBitReader::open(std::move(ps), ContainerLayer::program_stream);
    return VideoBitReader::open(file_set_open(path, settings));
}

}  // namespace quarnel
