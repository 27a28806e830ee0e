#pragma once
// The operating system's file calls that a file set needs: read-only, binary, 64-bit positions,
// reads at a given position so that the file sets keep their own positions.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quarnel {

class OsFile {
  public:
    // Opens `path` for reading with the sequential-access hint; nothing when it cannot be opened.
    static std::optional<OsFile> open(const std::string& path);

    OsFile(OsFile&& other) noexcept;
    OsFile& operator=(OsFile&& other) noexcept;
    ~OsFile();

    // Reads up to `size` bytes from `position` on: bytes read, 0 at the end of the file,
    // nothing on an error; interrupted calls are retried. Two threads may read at once.
    std::optional<std::size_t> read_at(std::int64_t position, std::uint8_t* destination,
                                       std::size_t size);
    std::optional<std::int64_t> size();

  private:
    explicit OsFile(int descriptor) : descriptor_(descriptor) {}
    static void close_descriptor(int descriptor);
    int descriptor_ = -1;
};

// Whether `c` separates folders in a path of this platform.
bool is_path_separator(char c);

// The character after the one at `p` in a UTF-8 path: one byte, as continuation bytes are
// never separators, dots or digits.
const char* next_path_char(const char* p);

}  // namespace quarnel
