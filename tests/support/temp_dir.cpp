#include "support/temp_dir.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace quarnel::test {

TempDir::TempDir() {
    // A random name that nobody has taken: create_directory reports whether it made it.
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = std::filesystem::temp_directory_path() /
                ("quarnel-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const {
    return (path_ / name).string();
}

std::string TempDir::write(std::string_view name, const std::vector<std::uint8_t>& bytes) const {
    return write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string TempDir::write(std::string_view name, std::string_view text) const {
    const auto full = file(name);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) throw std::runtime_error("cannot write " + full);
    return full;
}

}  // namespace quarnel::test
