#pragma once
// Drives a stream layer the way the video bit reader does.

#include <cstdint>

#include "base/stream_ops.h"

namespace quarnel::fuzz {

// Reads `layer` to its end, aborting when it delivers more bytes than the file holds or
// reports start codes other than those it delivered; then seeks back to a position it told
// on the way and reads on from there.
void read_through(StreamOps& layer, std::int64_t file_size);

}  // namespace quarnel::fuzz
