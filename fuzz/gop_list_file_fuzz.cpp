// A GOP list file found beside an input: decoded from memory and read from disk; a list that
// is accepted writes back the very bytes it came from and finds an entry for each of its frames.

#include <algorithm>
#include <cstdlib>

#include "fuzz/input_file.h"
#include "video/gop_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::span<const std::uint8_t> bytes(data, size);
    const auto decoded = decode_gop_list(bytes);
    const auto read = read_gop_list_file(fuzz::input_file(bytes, ".gl"));
    if (decoded.has_value() != read.has_value()) std::abort();
    if (!decoded) return 0;

    const auto encoded = encode_gop_list(*decoded);
    if (!encoded || encoded->size() > size || !std::equal(encoded->begin(), encoded->end(), data))
        std::abort();
    // Every frame of an accepted list's total lies in the entry found for it.
    const std::int64_t total = decoded->total_frames;
    for (const std::int64_t frame : {std::int64_t{0}, total / 2, total - 1}) {
        if (frame < 0 || frame >= total) continue;
        const GopEntry entry = lookup_gop_list(*decoded, frame);
        if (frame < entry.first_frame || frame - entry.first_frame >= entry.frame_count)
            std::abort();
    }
    if (lookup_gop_list(*decoded, total) != GopEntry{}) std::abort();
    return 0;
}
