// Program streams: the packet walk of the block reader, and the program stream layer's
// choice and delivery of the video, Layer II and AC-3 streams, which must be exactly those of
// the plain layer that copies every packet (tests/support/ps_layer_reference.h).

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "base/settings.h"
#include "fuzz/input_file.h"
#include "fuzz/read_through.h"
#include "input/pes_reader.h"
#include "input/ps_layer.h"
#include "tests/support/ps_layer_reference.h"

namespace quarnel {
namespace {

void expect_same(bool same) {
    if (!same) std::abort();
}

// Walks the packets with read_pes_packet and with the walker that shows them in place; both
// must find the same packets and leave their readers at the same positions.
void walk_packets(const std::string& path, const SettingsStore& settings) {
    const auto reader = block_reader_open(path, settings);
    if (!reader) return;
    PesPacketWalker walker(block_reader_open(path, settings));
    PesPacket packet;
    std::int64_t last = reader->tell();
    for (;;) {
        const bool read = read_pes_packet(packet, *reader) > 0;
        const std::optional<PesData> walked = walker.next();
        expect_same(read == walked.has_value() && reader->tell() == walker.tell());
        if (!read) return;
        expect_same(packet.stream_id() == walked->stream_id &&
                    std::ranges::equal(packet.stored(), walked->bytes));
        if (reader->tell() <= last) std::abort();  // each packet moves the reader on
        last = reader->tell();
    }
}

// Reads both layers to their end in pieces of growing size, then seeks both to positions
// drawn from the file's own bytes and reads a little after each; every count, byte and
// position must agree.
void compare_with_reference(StreamOps& layer, StreamOps& reference,
                            std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> got(4096);
    std::vector<std::uint8_t> expected(4096);
    const auto same_read = [&](std::size_t size) {
        const std::size_t count = layer.read(got.data(), size);
        expect_same(count == reference.read(expected.data(), size));
        expect_same(std::equal(got.begin(), got.begin() + static_cast<std::ptrdiff_t>(count),
                               expected.begin()));
        expect_same(layer.tell() == reference.tell());
        return count;
    };
    std::size_t size = 1;
    for (int empty = 0; empty < 2; size = size % got.size() + 1)
        empty = same_read(size) ? 0 : empty + 1;
    for (std::size_t i = 0; i + 2 <= data.size() && i < 16; i += 2) {
        const auto origin = static_cast<SeekOrigin>(data[i] % 3);
        const std::int64_t within =
            (data[i] << 8 | data[i + 1]) % (static_cast<std::int64_t>(data.size()) + 16) - 8;
        const std::int64_t offset = origin == SeekOrigin::end ? -within : within;
        expect_same(layer.seek(offset, origin) == reference.seek(offset, origin));
        expect_same(layer.tell() == reference.tell());
        same_read(data[i + 1] % 64 + 1);
    }
}

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string path = fuzz::input_file({data, size}, ".mpg");
    const MemorySettings settings;
    walk_packets(path, settings);
    bool compared = false;  // with the reference, for the first kind that opens
    for (const StreamKind kind : {StreamKind::video, StreamKind::mpeg_audio, StreamKind::ac3}) {
        const auto layer = ps_layer_open(path, kind, settings);
        if (!layer) continue;
        if (!compared) {
            const auto reference = test::reference_ps_layer_open(path, kind, settings);
            expect_same(reference != nullptr);
            compare_with_reference(*layer, *reference, {data, size});
            compared = true;
        }
        fuzz::read_through(*layer, static_cast<std::int64_t>(size));
    }
    return 0;
}
