#pragma once
// The GOP list file: a GopList kept beside its input (clip.mpg -> clip.gl) so that the next
// open of the same input need not scan the whole stream again. Little-endian throughout.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "video/gop_list.h"

namespace quarnel {

// The input path with its extension replaced by ".gl".
std::string gop_list_file_path(const std::string& input_path);

// The file's bytes; nothing for a list that no scan builds (no entry or no sequence header,
// entries out of stream order, frames that do not follow on from entry to
// entry or do not add up to the total, a sequence header index out of range or going back), which
// the file would not be read back as.
std::optional<std::vector<std::uint8_t>> encode_gop_list(const GopList& list);
// The list the bytes describe, or nothing when they are foreign, of another version,
// truncated or inconsistent. Bytes after the last record are ignored.
std::optional<GopList> decode_gop_list(std::span<const std::uint8_t> bytes);

// Writes a temporary file beside `path` and renames it over `path` once every byte is
// written, so that a failure leaves any earlier file as it was. True on success.
bool write_gop_list_file(const GopList& list, const std::string& path);
// Nothing when the file is missing, unreadable or not a valid GOP list file.
std::optional<GopList> read_gop_list_file(const std::string& path);

}  // namespace quarnel
