#pragma once
// A video bit reader over the fuzz input held in memory. The first byte sets how many bytes
// each read of the layer delivers (0: as many as asked), since a demultiplexing layer hands
// over payloads of any size; the rest is the stream.

#include <limits>
#include <memory>
#include <span>
#include <vector>

#include "tests/support/memory_stream_ops.h"
#include "video/sequence_info.h"
#include "video/video_bit_reader.h"

namespace quarnel::fuzz {

inline std::unique_ptr<VideoBitReader> memory_reader(std::span<const std::uint8_t> input) {
    if (input.empty()) return nullptr;
    const std::size_t max_read = input[0] == 0 ? std::numeric_limits<std::size_t>::max() : input[0];
    return VideoBitReader::open(std::make_unique<test::MemoryStreamOps>(
        std::vector<std::uint8_t>(input.begin() + 1, input.end()), max_read));
}

// The sequence's progressive_sequence flag as the picture parser takes it: true for MPEG-1.
inline bool progressive(const SequenceInfo& sequence) {
    return sequence.sequence_extension_present == 0 || sequence.progressive_sequence != 0;
}

}  // namespace quarnel::fuzz
