#include "fuzz/input_file.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

namespace quarnel::fuzz {
namespace {

// The files of this process by extension; removed when the process ends normally.
class InputFiles {
  public:
    ~InputFiles() {
        std::error_code error;
        for (const auto& [extension, path] : paths_) std::filesystem::remove(path, error);
    }

    const std::string& path(std::string_view extension) {
        auto [it, added] = paths_.try_emplace(std::string(extension));
        if (added) {
            // A fixed-width name: the path's length, and with it every loop over the path,
            // is the same in every process, so runs with the same seed take the same course.
            char name[40];
            std::snprintf(name, sizeof name, "quarnel-fuzz-%010ld%s", static_cast<long>(::getpid()),
                          it->first.c_str());
            it->second = (std::filesystem::temp_directory_path() / name).string();
        }
        return it->second;
    }

  private:
    std::map<std::string, std::string> paths_;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string input_file(std::span<const std::uint8_t> bytes, std::string_view extension,
                       std::int64_t offset) {
    static InputFiles files;
    const std::string& path = files.path(extension);
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) std::abort();  // the harness cannot run, which is no finding
    // The zeros before `offset` are a hole that costs no writing.
    if (offset > 0 && ::ftruncate(::fileno(file.get()), offset) != 0) std::abort();
    if (std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) != 0) std::abort();
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) std::abort();
    return path;
}

}  // namespace quarnel::fuzz
