#pragma once
// The two kinds of file set behind FileSetOps: one file kept open, or several files of which
// at most one is open at a time.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "input/file_set.h"

namespace quarnel {

struct FileEntry {
    std::int64_t size = 0;   // measured once, when the set is opened
    std::int64_t start = 0;  // position of the file's first byte in the set
    std::string path;
};

// What both kinds share: the entries, their total and the file-count queries.
class FileSetBase : public FileSetOps {
  public:
    explicit FileSetBase(std::vector<FileEntry> entries);
    int file_count() const override;
    std::int64_t file_end(int index) const override;

  protected:
    std::vector<FileEntry> entries_;
    std::int64_t total_ = 0;
};

// base + offset clamped into [0, end]; `base` must lie in [0, end].
inline std::int64_t clamped_position(std::int64_t base, std::int64_t offset, std::int64_t end) {
    // Comparing against the room on either side keeps the sum from overflowing.
    if (offset > end - base) return end;
    if (offset < -base) return 0;
    return base + offset;
}

// Nullptr when the file cannot be opened again.
std::unique_ptr<FileSetOps> make_single_file_set(FileEntry entry);
// `entries` holds at least two files.
std::unique_ptr<FileSetOps> make_multi_file_set(std::vector<FileEntry> entries);

}  // namespace quarnel
