#pragma once
// The four operations a stream layer lends to the video bit reader: the transport stream
// layer, the program stream layer and a plain file set each provide them.

#include <cstddef>
#include <cstdint>

namespace quarnel {

// Origins of a seek, as the C library numbers them.
enum class SeekOrigin : int { begin = 0, current = 1, end = 2 };

class StreamOps {
public:
    virtual ~StreamOps() = default;  // close: releases the layer and everything it owns

    // Copies up to `size` bytes; returns how many arrived, 0 at the end of the stream.
    virtual std::size_t read(std::uint8_t* destination, std::size_t size) = 0;
    // Returns the new position in bytes of the stream.
    virtual std::int64_t seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t tell() = 0;
};

}  // namespace quarnel
