#include "input/file_set_os.h"

#include <utility>

namespace quarnel {

OsFile::OsFile(OsFile&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

OsFile& OsFile::operator=(OsFile&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) close_descriptor(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

OsFile::~OsFile() {
    if (descriptor_ >= 0) close_descriptor(descriptor_);
}

}  // namespace quarnel
