#include "fuzz/read_through.h"

#include <cstdlib>
#include <vector>

namespace quarnel::fuzz {

void read_through(StreamOps& layer, std::int64_t file_size) {
    std::vector<std::uint8_t> buffer(4096);
    std::int64_t delivered = 0;
    std::int64_t told = -1;
    while (const std::size_t got = layer.read(buffer.data(), buffer.size())) {
        if (got > buffer.size()) std::abort();
        delivered += static_cast<std::int64_t>(got);
        if (delivered > file_size) std::abort();  // payloads are never invented
        if (told < 0 && delivered > 16) told = layer.tell();
    }
    if (told < 0) return;
    layer.seek(told, SeekOrigin::begin);
    while (layer.read(buffer.data(), buffer.size()) > 0) {
    }
}

}  // namespace quarnel::fuzz
