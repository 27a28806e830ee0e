#include "input/ts_layer.h"

#include <algorithm>

#include "input/file_set_entries.h"
#include "input/ts_packet_window.h"
#include "input/ts_select.h"
#include "video/settings.h"

namespace quarnel {

TsLayer::TsLayer(std::unique_ptr<TsPacketWindow> window, StreamClass stream, int pid)
    : window_(std::move(window)), stream_(stream), pid_(pid) {}

TsLayer::~TsLayer() = default;

TsPacketFormat TsLayer::format() const {
    return window_->format();
}

bool TsLayer::read_ts_pes() {
    pes_packet_release(packet_);
    bool started = false;
    while (const auto packet = window_->current_packet()) {
        if (packet->pid == pid_ && (packet->unit_start || started)) {
            if (!started) pes_start_ = window_->packet_position();
            started = true;
            const int offered = static_cast<int>(packet->payload.size());
            if (offered > 0 && pes_feed(packet_, packet->payload.data(), offered) < offered) {
                // The packet that ends a PES packet usually begins the next one and is read
                // again by the next call; when it began this one as well it is consumed, so
                // that reading always moves on.
                if (window_->packet_position() == pes_start_) window_->next_packet();
                return true;
            }
        }
        window_->next_packet();
    }
    // The end of the file ends a packet of open length, or one cut short.
    return started && packet_.fill() > 0;
}

void TsLayer::clear_payload() {
    pes_packet_release(packet_);
    payload_ = nullptr;
    payload_size_ = payload_offset_ = 0;
}

void TsLayer::deliver_from(std::size_t offset) {
    const std::size_t size = pes_payload_size(packet_);
    const auto stored = packet_.stored();
    payload_ = stored.data() + (stored.size() - size);
    payload_size_ = size;
    payload_offset_ = std::min(offset, size);
}

std::size_t TsLayer::read(std::uint8_t* destination, std::size_t size) {
    if (payload_offset_ == payload_size_) {
        const std::int64_t previous_start = pes_start_;
        // PES packets without payload are passed over: a read of 0 would end the stream.
        do {
            if (!read_ts_pes()) {
                // At the end the position stays after the last byte delivered.
                pes_start_ = previous_start;
                payload_ = nullptr;
                return 0;
            }
        } while (!holds_stream() || pes_payload_size(packet_) == 0);
        deliver_from(0);
    }
    const std::size_t delivered = std::min(size, payload_size_ - payload_offset_);
    std::copy_n(payload_ + payload_offset_, delivered, destination);
    payload_offset_ += delivered;
    return delivered;
}

std::int64_t TsLayer::seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t size = window_->file_size();
    const std::int64_t base = origin == SeekOrigin::current
                                  ? std::clamp<std::int64_t>(tell(), 0, size)
                              : origin == SeekOrigin::end ? size
                                                          : 0;
    const std::int64_t v = clamped_position(base, offset, size);
    const int packet_size = window_->format().packet_size;
    pes_start_ = window_->position_seek(v - v % packet_size);
    clear_payload();

    // Back to the packet of the PID before the start of the PES packet that holds v: a
    // position is never before the packet that began its PES packet.
    bool seen_start = false;
    while (const auto packet = window_->current_packet()) {
        if (packet->pid == pid_) {
            if (seen_start) break;
            seen_start = packet->unit_start;
        }
        const std::int64_t at = window_->packet_position();
        if (at == 0) break;
        window_->position_seek(at - packet_size);
    }

    while (read_ts_pes()) {
        if (!holds_stream()) continue;
        const std::int64_t m = std::max<std::int64_t>(0, v - pes_start_);
        if (m < static_cast<std::int64_t>(pes_payload_size(packet_))) {
            deliver_from(static_cast<std::size_t>(m));
            return tell();
        }
    }
    clear_payload();
    return tell();
}

std::unique_ptr<TsLayer> ts_layer_open(const std::string& path, StreamKind wanted,
                                       const SettingsStore& settings) {
    auto files = file_set_open(path, settings);
    if (!files) return nullptr;
    const auto format = detect_packet_size(*files);
    if (!format) return nullptr;
    auto window = TsPacketWindow::open(std::move(files), *format);
    if (!window) return nullptr;
    const auto selection = select_pid(*window, wanted, read_search_limit(settings));
    if (!selection) return nullptr;
    std::unique_ptr<TsLayer> layer(
        new TsLayer(std::move(window), StreamClass{wanted, selection->number}, selection->pid));
    layer->seek(0, SeekOrigin::begin);
    return layer;
}

}  // namespace quarnel
