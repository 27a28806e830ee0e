#pragma once
// Presents one elementary stream of a program stream (MPEG-1 system stream or MPEG-2
// program stream, DVD-style files included) as a plain byte stream. Positions are file
// positions: tell() is the file position of the next payload byte to be delivered.

#include <cstdint>
#include <memory>
#include <string>

#include "base/settings.h"
#include "base/stream_ops.h"
#include "input/block_reader.h"
#include "input/pes_payload.h"

namespace quarnel {

// True when a pack, system header, packet or program end start code (above 0x000001B8)
// turns up before the scan has passed `limit` bytes; the reader is then back at position 0.
bool ps_probe(BlockReader& reader, std::int32_t limit);

// Opens `path` as a program stream and chooses the stream of the first packet of kind
// `wanted` (video, MPEG audio or AC-3); nullptr when the file is no program stream (within
// the "limit" setting) or holds no such packet. Packets of other streams are never
// delivered. read() delivers at most the rest of one packet's payload per call.
std::unique_ptr<StreamOps> ps_layer_open(const std::string& path, StreamKind wanted,
                                         const SettingsStore& settings);

}  // namespace quarnel
