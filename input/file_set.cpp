#include "input/file_set.h"

#include <algorithm>
#include <cstring>

#include "base/settings.h"
#include "input/file_set_entries.h"
#include "input/file_set_os.h"

namespace quarnel {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

FileSetBase::FileSetBase(std::vector<FileEntry> entries) : entries_(std::move(entries)) {
    if (!entries_.empty()) total_ = entries_.back().start + entries_.back().size;
}

int FileSetBase::file_count() const {
    return static_cast<int>(entries_.size());
}

std::int64_t FileSetBase::file_end(int index) const {
    const auto& entry = entries_[static_cast<std::size_t>(std::clamp(index, 0, file_count() - 1))];
    return entry.start + entry.size;
}

std::optional<std::string> next_sequence_name(const std::string& path) {
    const char* const begin = path.c_str();
    const char* const end = begin + std::strlen(begin);
    const char* name = begin;
    const char* extension = nullptr;
    for (const char* p = begin; *p != '\0'; p = next_path_char(p)) {
        if (is_path_separator(*p)) name = p + 1;
        if (*p == '.') extension = p;
    }
    if (extension == nullptr || extension < name) extension = end;
    if (name >= extension) return std::nullopt;  // nothing but an extension, or no name at all

    const char* last_digit = nullptr;
    for (const char* p = name; p < extension && *p != '\0'; p = next_path_char(p))
        if (is_digit(*p)) last_digit = p;
    if (last_digit == nullptr) return std::nullopt;

    // Decimal increment with carry; the count of digits never grows. Stepping left byte by
    // byte is safe: the second byte of a double-byte character is never an ASCII digit.
    std::string next = path;
    const auto first = static_cast<std::size_t>(name - begin);
    const auto last = static_cast<std::size_t>(last_digit - begin);
    for (std::size_t i = last;; --i) {
        if (next[i] != '9') {
            ++next[i];
            std::fill(next.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                      next.begin() + static_cast<std::ptrdiff_t>(last) + 1, '0');
            return next;
        }
        if (i == first || !is_digit(next[i - 1])) return std::nullopt;
    }
}

std::unique_ptr<FileSetOps> file_set_open(const std::string& path, const SettingsStore& settings) {
    const bool follow = read_follow_sequences(settings);
    std::vector<FileEntry> entries;
    std::int64_t total = 0;
    std::string name = path;
    // The sequence is the longest run of consecutive names that exist: a gap ends it.
    for (auto file = OsFile::open(name); file;) {
        const auto size = file->size();
        if (!size) break;
        entries.push_back(FileEntry{*size, total, name});
        total += *size;
        if (!follow) break;
        auto next = next_sequence_name(name);
        if (!next) break;
        name = std::move(*next);
        file = OsFile::open(name);
    }
    if (entries.empty()) return nullptr;
    if (entries.size() == 1) return make_single_file_set(std::move(entries.front()));
    return make_multi_file_set(std::move(entries));
}

}  // namespace quarnel
