// Program streams: the packet walk of the block reader, and the program stream layer's
// choice and delivery of the video, Layer II and AC-3 streams.

#include <cstdlib>

#include "fuzz/input_file.h"
#include "fuzz/read_through.h"
#include "input/pes_reader.h"
#include "input/ps_layer.h"
#include "video/settings.h"

namespace quarnel {
namespace {

void walk_packets(const std::string& path, const SettingsStore& settings) {
    const auto reader = block_reader_open(path, settings);
    if (!reader) return;
    PesPacket packet;
    std::int64_t last = reader->tell();
    while (read_pes_packet(packet, *reader) > 0) {
        if (reader->tell() <= last) std::abort();  // each packet moves the reader on
        last = reader->tell();
    }
}

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string path = fuzz::input_file({data, size}, ".mpg");
    const MemorySettings settings;
    walk_packets(path, settings);
    for (const StreamKind kind : {StreamKind::video, StreamKind::mpeg_audio, StreamKind::ac3}) {
        if (const auto layer = ps_layer_open(path, kind, settings))
            fuzz::read_through(*layer, static_cast<std::int64_t>(size));
    }
    return 0;
}
