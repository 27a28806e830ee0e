#include "input/ts_packet_window.h"

#include <algorithm>
#include <new>

namespace quarnel {

std::unique_ptr<TsPacketWindow> TsPacketWindow::open(std::unique_ptr<FileSetOps> files,
                                                     TsPacketFormat format, int window_packets) {
    const auto size = static_cast<std::size_t>(window_packets > 0
                                                   ? window_packets * format.packet_size
                                                   : ts_buffer_size(format.packet_size));
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]);
    if (!files || !buffer) return nullptr;
    return std::unique_ptr<TsPacketWindow>(
        new TsPacketWindow(std::move(files), format, std::move(buffer), size));
}

TsPacketWindow::TsPacketWindow(std::unique_ptr<FileSetOps> files, TsPacketFormat format,
                               std::unique_ptr<std::uint8_t[]> buffer, std::size_t buffer_size)
    : files_(std::move(files)),
      format_(format),
      whole_packet_(static_cast<std::size_t>(format.header_offset + ts_packet_bytes)),
      buffer_(std::move(buffer)),
      buffer_size_(buffer_size) {
    file_size_ = files_->seek(0, SeekOrigin::end) - files_->seek(0, SeekOrigin::begin);
    load_window(0);
}

void TsPacketWindow::load_window(std::int64_t start) {
    window_start_ = files_->seek(start, SeekOrigin::begin);
    // A block read ahead is used where it lies rather than copied into the buffer: its bytes
    // come over from the core that read it once, as its packets are taken.
    if (const auto lent = files_->lend(buffer_size_); !lent.empty()) {
        data_ = lent.data();
        bytes_in_buffer_ = lent.size();
    } else {
        data_ = buffer_.get();
        bytes_in_buffer_ = files_->read(buffer_.get(), buffer_size_);
    }
    cursor_ = 0;
}

std::int64_t TsPacketWindow::position_seek(std::int64_t target) {
    target = std::clamp<std::int64_t>(target, 0, file_size_);
    const auto loaded = static_cast<std::int64_t>(bytes_in_buffer_);
    if (target < window_start_ || target >= window_start_ + loaded) {
        const auto size = static_cast<std::int64_t>(buffer_size_);
        load_window(target / size * size);
    }
    cursor_ = static_cast<std::size_t>(target - window_start_);
    return target;
}

}  // namespace quarnel
