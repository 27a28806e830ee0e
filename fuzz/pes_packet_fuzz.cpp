// PES packets assembled from pieces of any size, then their header parsed, their stream
// classified and their payload copied out, as the transport stream layer and the audio
// source use them.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "input/pes_header.h"
#include "input/pes_packet.h"
#include "input/pes_payload.h"

namespace quarnel {
namespace {

void use_packet(const PesPacket& packet) {
    const PesHeaderInfo header = parse_pes_header(packet);
    if (header.payload_offset < 0) std::abort();
    get_pes_timestamps(packet);
    classify_pes_packet(packet);
    const std::size_t payload = pes_payload_size(packet);
    if (payload > packet.stored().size()) std::abort();
    std::vector<std::uint8_t> copy(payload / 2);  // a destination too small is filled
    if (copy_pes_payload(packet, copy) != copy.size()) std::abort();
}

}  // namespace
}  // namespace quarnel

// The first byte sets the size of the pieces fed (1 to 256), the rest is the stream.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    if (size < 1) return 0;
    const int piece = data[0] + 1;
    const std::uint8_t* const end = data + size;
    const std::uint8_t* at = data + 1;
    const std::uint8_t* packet_start = at;  // where feeding the current packet began
    PesPacket packet;
    while (at < end) {
        const int count = static_cast<int>(std::min<std::ptrdiff_t>(piece, end - at));
        const int taken = pes_feed(packet, at, count);
        if (taken < -3 || taken > count) std::abort();
        at += taken;
        if (taken == count) continue;
        // The packet ended: the next one starts where this one stopped taking bytes, which
        // must lie after where this one started.
        use_packet(packet);
        pes_packet_release(packet);
        if (at <= packet_start) std::abort();
        packet_start = at;
    }
    if (packet.fill() > 0) use_packet(packet);
    return 0;
}
