#include <algorithm>
#include <optional>

#include "input/file_set_entries.h"
#include "input/file_set_os.h"
#include "input/read_ahead.h"

namespace quarnel {

namespace {

// One file, kept open for the life of the set; positions are the file's own.
class SingleFileSet final : public FileSetBase {
  public:
    SingleFileSet(FileEntry entry, OsFile file)
        : FileSetBase(std::vector<FileEntry>{std::move(entry)}), file_(std::move(file)) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        const std::size_t delivered = reader_.read_at(file_, position_, destination, size);
        position_ += static_cast<std::int64_t>(delivered);
        return delivered;
    }

    std::span<const std::uint8_t> lend(std::size_t size) override {
        const auto lent = reader_.lend_at(file_, position_, size);
        position_ += static_cast<std::int64_t>(lent.size());
        return lent;
    }

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override {
        // The file's present size, so that a file still growing can be read on.
        const std::int64_t end = file_.size().value_or(total_);
        const std::int64_t base = origin == SeekOrigin::current
                                      ? std::clamp(position_, std::int64_t{0}, end)
                                  : origin == SeekOrigin::end ? end
                                                              : 0;
        position_ = clamped_position(base, offset, end);
        return position_;
    }

    std::int64_t tell() override { return position_; }

  private:
    OsFile file_;
    ReadAhead reader_;
    std::int64_t position_ = 0;
};

}  // namespace

std::unique_ptr<FileSetOps> make_single_file_set(FileEntry entry) {
    auto file = OsFile::open(entry.path);
    if (!file) return nullptr;
    return std::make_unique<SingleFileSet>(std::move(entry), std::move(*file));
}

}  // namespace quarnel
