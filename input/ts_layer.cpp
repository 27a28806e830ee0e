#include "input/ts_layer.h"

#include <algorithm>

#include "base/settings.h"
#include "input/file_set_entries.h"
#include "input/ts_packet_window.h"
#include "input/ts_select.h"
#include "input/ts_tables.h"

namespace quarnel {

TsLayer::TsLayer(std::unique_ptr<TsPacketWindow> window, StreamClass stream, int pid,
                 TsProgramFollower follower)
    : window_(std::move(window)), stream_(stream), pid_(pid), follower_(std::move(follower)) {
    continuation_.follow_with(&follower_);
}

TsLayer::~TsLayer() = default;

TsPacketFormat TsLayer::format() const {
    return window_->format();
}

void TsLayer::take_followed_pid() {
    if (follower_.active() && follower_.program().video_pid != 0)
        pid_ = follower_.program().video_pid;
}

bool TsLayer::read_ts_pes(bool continue_own) {
    pes_packet_release(packet_);
    continuation_.stop();
    take_followed_pid();
    bool started = false;
    while (const auto packet = window_->current_packet()) {
        if (follower_.watches(*packet) && follower_.follow(*packet) &&
            follower_.program().video_pid != pid_) {
            take_followed_pid();
            // The packet being assembled ends here; the next call starts with the new PID.
            if (started && packet_.fill() > 0) return true;
            started = false;
            pes_packet_release(packet_);
        }
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
            if (continue_own && offered > 0 && !packet_.complete() && holds_stream() &&
                pes_payload_size(packet_) >= 3) {
                window_->next_packet();
                stored_payload_ = continuation_.start(packet_);
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
    continuation_.stop();
    found_ = {};
    stored_payload_ = {};
    payload_offset_ = 0;
}

void TsLayer::deliver_from(std::size_t offset) {
    stored_payload_ = packet_.stored().last(pes_payload_size(packet_));
    payload_offset_ = std::min(offset, stored_payload_.size());
}

std::size_t TsLayer::deliver(std::uint8_t* destination, std::size_t size) {
    std::size_t delivered = 0;
    if (payload_offset_ < stored_payload_.size()) {
        delivered = std::min(size, stored_payload_.size() - payload_offset_);
        std::copy_n(stored_payload_.data() + payload_offset_, delivered, destination);
    }
    found_ = {};
    if (delivered < size && continuation_.open()) {
        const std::size_t taken =
            continuation_.take(*window_, pid_, destination + delivered, size - delivered);
        const FoundStartCodes found = continuation_.found();
        found_ = {delivered + found.begin, delivered + found.end, found.offsets};
        delivered += taken;
    }
    payload_offset_ += delivered;
    return delivered;
}

std::size_t TsLayer::read(std::uint8_t* destination, std::size_t size) {
    if (size == 0) return 0;
    // At the end the position stays after the last byte delivered.
    const std::int64_t previous_start = pes_start_;
    const std::size_t previous_offset = payload_offset_;
    // PES packets without payload are passed over: a read of 0 would end the stream.
    for (;;) {
        if (const std::size_t delivered = deliver(destination, size)) return delivered;
        if (!read_ts_pes(true)) {
            clear_payload();
            pes_start_ = previous_start;
            payload_offset_ = previous_offset;
            return 0;
        }
        if (continuation_.open())
            payload_offset_ = 0;
        else if (holds_stream())
            deliver_from(0);
        else
            stored_payload_ = {};
    }
}

std::int64_t TsLayer::seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t size = window_->file_size();
    const std::int64_t base = origin == SeekOrigin::current
                                  ? std::clamp<std::int64_t>(tell(), 0, size)
                              : origin == SeekOrigin::end ? size
                                                          : 0;
    const std::int64_t v = clamped_position(base, offset, size);
    const int packet_size = window_->format().packet_size;
    follower_.follow_from(v);
    take_followed_pid();
    pes_start_ = window_->position_seek(v - v % packet_size);
    clear_payload();

    // Back to the packet of the PID before the start of the PES packet that holds v: a
    // position is never before the packet that began its PES packet, nor the video before
    // the program it belongs to.
    bool seen_start = false;
    while (const auto packet = window_->current_packet()) {
        if (follower_.begins_program(*packet)) break;
        if (packet->pid == pid_) {
            if (seen_start) break;
            seen_start = packet->unit_start;
        }
        const std::int64_t at = window_->packet_position();
        if (at == 0) break;
        window_->position_seek(at - packet_size);
    }

    while (read_ts_pes(false)) {
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
    const std::int32_t limit = read_search_limit(settings);
    const auto selection = select_pid(*window, wanted, limit);
    if (!selection) return nullptr;
    // Video that the tables name follows its program.
    TsProgramFollower follower;
    if (wanted == StreamKind::video) {
        window->position_seek(0);
        if (auto program = find_program(*window, limit);
            program && program->video_pid == selection->pid) {
            follower = TsProgramFollower(std::move(*program), file_set_open(path, settings), *format);
        }
    }
    std::unique_ptr<TsLayer> layer(new TsLayer(std::move(window),
                                               StreamClass{wanted, selection->number},
                                               selection->pid, std::move(follower)));
    layer->seek(0, SeekOrigin::begin);
    return layer;
}

}  // namespace quarnel
