#pragma once
// The four operations a stream layer lends to the video bit reader: the transport stream
// layer, the program stream layer and a plain file set each provide them. A layer that
// searches the bytes it delivers for start codes anyway may also pass on what it found.

#include <cstddef>
#include <cstdint>
#include <span>

namespace quarnel {

// Origins of a seek, as the C library numbers them.
enum class SeekOrigin : int { begin = 0, current = 1, end = 2 };

// The start code prefixes (00 00 01) in part of the bytes a read delivered: every prefix
// whose three bytes lie in bytes [begin, end) of the read is listed, as its offset from
// `begin`, in ascending order. Empty (begin == end) when the layer searched none of them.
struct FoundStartCodes {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::span<const std::uint32_t> offsets;
};

class StreamOps {
public:
    virtual ~StreamOps() = default;  // close: releases the layer and everything it owns

    // Copies up to `size` bytes; returns how many arrived, 0 at the end of the stream.
    virtual std::size_t read(std::uint8_t* destination, std::size_t size) = 0;
    // Returns the new position in bytes of the stream.
    virtual std::int64_t seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t tell() = 0;

    // The start codes found in the bytes of the last read, valid until the next read or seek.
    // The bit reader looks them up instead of searching those bytes a second time.
    virtual FoundStartCodes found_start_codes() const { return {}; }
};

}  // namespace quarnel
