// The transport stream layer: packet size detection, PID selection from the program tables
// or the packets, and the delivery of the video and the audio payloads with their positions.

#include <cstdlib>
#include <vector>

#include "fuzz/input_file.h"
#include "input/ts_layer.h"
#include "video/settings.h"

namespace quarnel {
namespace {

// Reads the stream to its end, then seeks back to a position it told and reads on from there.
void deliver(const std::string& path, StreamKind kind, std::int64_t file_size) {
    const MemorySettings settings;
    const auto layer = ts_layer_open(path, kind, settings);
    if (!layer) return;
    std::vector<std::uint8_t> buffer(4096);
    std::int64_t delivered = 0;
    std::int64_t middle = -1;
    while (const std::size_t got = layer->read(buffer.data(), buffer.size())) {
        if (got > buffer.size()) std::abort();
        delivered += static_cast<std::int64_t>(got);
        if (delivered > file_size) std::abort();  // payloads are never invented
        if (middle < 0 && delivered > 16) middle = layer->tell();
    }
    if (middle < 0) return;
    layer->seek(middle, SeekOrigin::begin);
    while (layer->read(buffer.data(), buffer.size()) > 0) {
    }
}

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string path = fuzz::input_file({data, size}, ".ts");
    deliver(path, StreamKind::video, static_cast<std::int64_t>(size));
    deliver(path, StreamKind::mpeg_audio, static_cast<std::int64_t>(size));
    return 0;
}
