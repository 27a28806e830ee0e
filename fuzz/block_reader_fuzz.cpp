// The block reader's start-code searches, forwards and backwards, over a file that may
// straddle the boundary between its first two blocks.

#include <cstdlib>

#include "base/settings.h"
#include "fuzz/input_file.h"
#include "input/block_reader.h"

namespace quarnel {
namespace {

void walk_forwards(BlockReader& reader, std::int64_t file_size) {
    std::int64_t last = -1;
    while (reader.next_start_code()) {
        const std::int64_t at = reader.tell();
        if (at <= last || at + 3 > file_size) std::abort();  // each one lies further on
        if (reader.peek_bits(24) != 1) std::abort();
        last = at;
        reader.get_bits(32);
    }
}

void walk_backwards(BlockReader& reader) {
    reader.seek(0, SeekOrigin::end);
    std::int64_t last = reader.tell() + 1;
    while (reader.prev_start_code()) {
        const std::int64_t at = reader.tell();
        if (at >= last || reader.peek_bits(24) != 1) std::abort();
        last = at;
        reader.step_back();
    }
}

}  // namespace
}  // namespace quarnel

// The first byte's low bit places the rest of the input across the first block boundary.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    if (size < 1) return 0;
    const std::span<const std::uint8_t> stream(data + 1, size - 1);
    const std::int64_t offset =
        (data[0] & 1) != 0 ? BlockReader::block_size - std::int64_t(stream.size() / 2) : 0;
    const MemorySettings settings;
    const auto reader = block_reader_open(fuzz::input_file(stream, ".mpg", offset), settings);
    if (!reader) return 0;
    const auto file_size = offset + static_cast<std::int64_t>(stream.size());
    walk_forwards(*reader, file_size);
    walk_backwards(*reader);
    return 0;
}
