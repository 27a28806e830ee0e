#include <algorithm>
#include <optional>

#include "input/file_set_entries.h"
#include "input/file_set_os.h"

namespace quarnel {

namespace {

// One file, kept open for the life of the set; positions are the file's own.
class SingleFileSet final : public FileSetBase {
  public:
    SingleFileSet(FileEntry entry, OsFile file)
        : FileSetBase(std::vector<FileEntry>{std::move(entry)}), file_(std::move(file)) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        std::size_t delivered = 0;
        while (delivered < size) {
            const auto got = file_.read(destination + delivered, size - delivered);
            if (!got || *got == 0) break;  // end of the file, or an error that would repeat
            delivered += *got;
        }
        return delivered;
    }

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override {
        // The file's present size, so that a file still growing can be read on.
        const std::int64_t end = file_.size().value_or(total_);
        const std::int64_t base = origin == SeekOrigin::current
                                      ? std::clamp(tell(), std::int64_t{0}, end)
                                  : origin == SeekOrigin::end ? end
                                                              : 0;
        return file_.seek(clamped_position(base, offset, end)).value_or(tell());
    }

    std::int64_t tell() override { return file_.tell().value_or(0); }

  private:
    OsFile file_;
};

}  // namespace

std::unique_ptr<FileSetOps> make_single_file_set(FileEntry entry) {
    auto file = OsFile::open(entry.path);
    if (!file) return nullptr;
    return std::make_unique<SingleFileSet>(std::move(entry), std::move(*file));
}

}  // namespace quarnel
