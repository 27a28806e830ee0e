#pragma once
// A fresh directory for one test's files, removed with everything in it at the end.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Full name of `name` inside the directory, as a string for the code under test.
    std::string file(std::string_view name) const;
    // Writes `bytes` (or `text`) to `name`, replacing it; returns the full name.
    std::string write(std::string_view name, const std::vector<std::uint8_t>& bytes) const;
    std::string write(std::string_view name, std::string_view text) const;

  private:
    std::filesystem::path path_;
};

}  // namespace quarnel::test
