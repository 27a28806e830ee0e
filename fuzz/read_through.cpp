#include "fuzz/read_through.h"

#include <cstdlib>
#include <vector>

#include "support/found_start_codes.h"

namespace quarnel::fuzz {

namespace {

// Aborts unless the start codes the layer found are exactly the prefixes of their part of
// the read.
void check_found_start_codes(const StreamOps& layer, const std::uint8_t* read, std::size_t got) {
    if (!test::lists_every_prefix({read, got}, layer.found_start_codes())) std::abort();
}

}  // namespace

void read_through(StreamOps& layer, std::int64_t file_size) {
    std::vector<std::uint8_t> buffer(4096);
    std::int64_t delivered = 0;
    std::int64_t told = -1;
    while (const std::size_t got = layer.read(buffer.data(), buffer.size())) {
        if (got > buffer.size()) std::abort();
        check_found_start_codes(layer, buffer.data(), got);
        delivered += static_cast<std::int64_t>(got);
        if (delivered > file_size) std::abort();  // payloads are never invented
        if (told < 0 && delivered > 16) told = layer.tell();
    }
    if (told < 0) return;
    layer.seek(told, SeekOrigin::begin);
    while (const std::size_t got = layer.read(buffer.data(), buffer.size()))
        check_found_start_codes(layer, buffer.data(), got);
}

}  // namespace quarnel::fuzz
