#pragma once
// Walks the packets of a program stream (ISO/IEC 13818-1, 2.5; MPEG-1 system streams,
// ISO/IEC 11172-1, 2.4.3) through a BlockReader.

#include "input/block_reader.h"
#include "input/pes_packet.h"

namespace quarnel {

// Reads the next packet with a 16-bit length (stream id 0xBC or above) into `packet`,
// passing over pack headers, system headers, end codes and any other start codes. The
// reader is left just after the packet. Returns the packet's length (> 0) when it was read
// whole; 0 ends reading: at the end of the file, on a truncated packet, on a packet of
// length 0 (not allowed in program streams), and when the packet's data cannot be
// allocated (the packet is then not read into missing memory).
int read_pes_packet(PesPacket& packet, BlockReader& reader);

}  // namespace quarnel
