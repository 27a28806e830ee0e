#pragma once
// Walks the packets of a program stream (ISO/IEC 13818-1, 2.5; MPEG-1 system streams,
// ISO/IEC 11172-1, 2.4.3) through a BlockReader.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "input/block_reader.h"
#include "input/pes_packet.h"
#include "input/pes_payload.h"

namespace quarnel {

// Reads the next packet with a 16-bit length (stream id 0xBC or above) into `packet`,
// passing over pack headers, system headers, end codes and any other start codes. The
// reader is left just after the packet. Returns the packet's length (> 0) when it was read
// whole; 0 ends reading: at the end of the file, on a truncated packet, on a packet of
// length 0 (not allowed in program streams), and when the packet's data cannot be
// allocated (the packet is then not read into missing memory).
int read_pes_packet(PesPacket& packet, BlockReader& reader);

// Walks the same packets as read_pes_packet without copying them: a packet that the reader's
// current block holds whole is shown where it lies; only one that runs past the block is
// read into storage of the walker.
class PesPacketWalker {
  public:
    explicit PesPacketWalker(std::unique_ptr<BlockReader> reader) : reader_(std::move(reader)) {}

    // The next packet; nothing where read_pes_packet returns 0, with the reader left where it
    // leaves it. The data stays valid until the next call of next() or reader().
    std::optional<PesData> next();
    // The position after the last packet walked: the reader's, as read_pes_packet leaves it.
    std::int64_t tell() const { return reader_->tell() + static_cast<std::int64_t>(pending_); }
    // The reader, standing after the last packet walked, for seeks and searches of its own.
    BlockReader& reader() {
        pass_pending();
        return *reader_;
    }

  private:
    // The next packet if the rest of the current block holds its start code, length and data
    // whole; it is the one read_pes_packet would read.
    std::optional<PesData> next_in_block();
    void pass_pending() {
        if (pending_ > 0) reader_->skip_in_block(pending_);
        pending_ = 0;
    }

    std::unique_ptr<BlockReader> reader_;
    // Bytes up to the end of the last packet shown in the block, not yet consumed from the
    // reader: consuming them may load the next block over the packet. Packets that follow in
    // the block are found after them, so that the reader moves only where the block ends.
    std::size_t pending_ = 0;
    PesPacket packet_;  // a packet that runs past the block
};

}  // namespace quarnel
