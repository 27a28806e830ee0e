#pragma once
// Runs the real encoders and multiplexers (ffmpeg, mjpegtools) that tests make streams with.

#include <cstdint>
#include <string>
#include <vector>

#include "base/stream_ops.h"

namespace quarnel::test {

// Runs a shell command quietly; true when it exits with 0.
bool run_quietly(const std::string& command);

// True when every tool named (separated by spaces) is on the PATH.
bool tools_present(const std::string& tools);

std::vector<std::uint8_t> read_whole_file(const std::string& path);

// Everything a stream layer delivers from its position to its end.
std::vector<std::uint8_t> read_to_end(StreamOps& stream);

}  // namespace quarnel::test
