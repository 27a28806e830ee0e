#pragma once
// Inputs of the micro-benchmarks: bytes that look like coded picture data to a start-code
// search, and video elementary streams built from them.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarnel::bench {

using Bytes = std::vector<std::uint8_t>;

// `count` pseudo-random bytes (fixed seed) in which no 00 00 01 forms, like the slice data
// of an encoder: zero bytes occur, prefixes do not.
Bytes coded_bytes(std::size_t count, std::uint32_t seed = 1);

// `count` coded bytes with a start code prefix 00 00 01 B5 every `spacing` bytes.
Bytes bytes_with_start_codes(std::size_t count, std::size_t spacing);

// An MPEG-2 video elementary stream of about `size` bytes: 720x576, closed GOPs of
// IBBPBBPBBPBB each after a sequence header, every picture 36 slices of `slice_bytes` coded
// bytes, and a sequence end code.
Bytes video_stream(std::size_t size, std::size_t slice_bytes = 1000);

}  // namespace quarnel::bench
