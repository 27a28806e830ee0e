// A GOP list file found beside an input: decoded from memory and read from disk; a list that
// is accepted writes back the very bytes it came from and can be searched.

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
    // A list read from a file is searched however its entries are ordered.
    const std::int64_t total = decoded->total_frames;
    for (const std::int64_t frame :
         {std::int64_t{0}, total / 2, total > 0 ? total - 1 : total, total})
        lookup_gop_list(*decoded, frame);
    return 0;
}
