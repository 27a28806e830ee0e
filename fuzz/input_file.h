#pragma once
// The fuzz input as a file, for the readers that take a path. Each fuzzing process keeps one
// file under the temporary directory, rewrites it for every input and removes it at exit.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quarnel::fuzz {

// Writes `bytes` to the process's input file with the given extension and returns its path.
// When `offset` is positive the bytes start there and the file begins with that many zero
// bytes, so that a short input can straddle a reader's block boundary.
std::string input_file(std::span<const std::uint8_t> bytes, std::string_view extension,
                       std::int64_t offset = 0);

}  // namespace quarnel::fuzz
