#include <optional>

#include "input/file_set_entries.h"
#include "input/file_set_os.h"
#include "input/read_ahead.h"

namespace quarnel {

namespace {

// Several files read as one stream. Only the entry being read is open: it is opened on first
// use and closed at its end or when a seek leaves it. While it is closed, the position is
// that entry's start.
class MultiFileSet final : public FileSetBase {
  public:
    explicit MultiFileSet(std::vector<FileEntry> entries) : FileSetBase(std::move(entries)) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        std::size_t delivered = 0;
        while (delivered < size && current_ < entries_.size()) {
            const FileEntry& entry = entries_[current_];
            const std::int64_t left = entry.start + entry.size - position_;
            if (left <= 0) {
                move_to_next_entry();
                continue;
            }
            if (!file_ && !(file_ = OsFile::open(entry.path))) break;
            // Never past the size measured at open, so that positions keep matching the starts.
            std::size_t wanted = size - delivered;
            if (static_cast<std::uint64_t>(left) < wanted) wanted = static_cast<std::size_t>(left);
            const std::size_t got =
                reader_.read_at(*file_, position_ - entry.start, destination + delivered, wanted);
            delivered += got;
            position_ += static_cast<std::int64_t>(got);
            if (got == wanted) continue;
            // Short of the size measured at open: a file that shrank since is left for the
            // next one; a read error ends this read, as it would repeat.
            if (file_->size().value_or(0) > position_ - entry.start) break;
            move_to_next_entry();
        }
        return delivered;
    }

    // Only bytes inside the open entry can be lent: the blocks read ahead are one file's.
    std::span<const std::uint8_t> lend(std::size_t size) override {
        if (current_ >= entries_.size() || !file_) return {};
        const FileEntry& entry = entries_[current_];
        if (entry.start + entry.size - position_ < static_cast<std::int64_t>(size)) return {};
        const auto lent = reader_.lend_at(*file_, position_ - entry.start, size);
        position_ += static_cast<std::int64_t>(lent.size());
        return lent;
    }

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override {
        const std::int64_t base = origin == SeekOrigin::current ? position_
                                  : origin == SeekOrigin::end   ? total_
                                                                : 0;
        const std::int64_t target = clamped_position(base, offset, total_);
        for (std::size_t index = 0; index < entries_.size(); ++index) {
            const FileEntry& entry = entries_[index];
            // Zero-length files hold no position and are passed over.
            if (target < entry.start || target >= entry.start + entry.size) continue;
            if (index != current_) close_file();
            current_ = index;
            position_ = entry.start;
            if (!file_ && !(file_ = OsFile::open(entry.path))) return position_;
            position_ = target;
            return position_;
        }
        close_file();
        current_ = entries_.size();
        position_ = total_;
        return position_;
    }

    std::int64_t tell() override { return position_; }

  private:
    // The read-ahead lets go of a file before it closes.
    void close_file() {
        reader_.forget();
        file_.reset();
    }

    void move_to_next_entry() {
        close_file();
        ++current_;
        position_ = current_ < entries_.size() ? entries_[current_].start : total_;
    }

    std::size_t current_ = 0;  // entries_.size() once the end of the set is reached
    std::int64_t position_ = 0;
    std::optional<OsFile> file_;  // the current entry's file while it is open
    ReadAhead reader_;
};

}  // namespace

std::unique_ptr<FileSetOps> make_multi_file_set(std::vector<FileEntry> entries) {
    return std::make_unique<MultiFileSet>(std::move(entries));
}

}  // namespace quarnel
