// The transport stream layer: packet size detection, PID selection from the program tables
// or the packets, and the delivery of the video and the audio payloads with their positions.

#include "base/settings.h"
#include "fuzz/input_file.h"
#include "fuzz/read_through.h"
#include "input/ts_layer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string path = fuzz::input_file({data, size}, ".ts");
    const MemorySettings settings;
    for (const StreamKind kind : {StreamKind::video, StreamKind::mpeg_audio}) {
        if (const auto layer = ts_layer_open(path, kind, settings))
            fuzz::read_through(*layer, static_cast<std::int64_t>(size));
    }
    return 0;
}
