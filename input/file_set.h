#pragma once
// One input file, or a numbered sequence of split files (rec001.mpg, rec002.mpg, ...),
// read as one byte stream with 64-bit positions.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/stream_ops.h"

namespace quarnel {

class SettingsStore;

class FileSetOps : public StreamOps {
public:
    // Number of files in the set, at least 1.
    virtual int file_count() const = 0;
    // Position just past entry `index` (clamped into 0 ... file_count() - 1).
    virtual std::int64_t file_end(int index) const = 0;
    // The next `size` bytes as read() would deliver them, left where the set holds them
    // instead of copied: valid until the set's next read, lend or seek. Empty when the set
    // holds no such bytes (only blocks it has read ahead are lent); read() then delivers them.
    virtual std::span<const std::uint8_t> lend(std::size_t /*size*/) { return {}; }
};

// Opens `path` and, when the "file" setting is 1, the files that continue its numbering.
// Returns nullptr when the first file cannot be opened.
std::unique_ptr<FileSetOps> file_set_open(const std::string& path, const SettingsStore& settings);

// The name that follows `path` in a split-file sequence (clip_009.m2p -> clip_010.m2p),
// or nothing when its file name has no digit before the extension or its digits are all 9.
std::optional<std::string> next_sequence_name(const std::string& path);

}  // namespace quarnel
