#include "input/ts_pes_continuation.h"

#include <algorithm>

#include "input/pes_payload.h"
#include "input/ts_packet_window.h"

namespace quarnel {

namespace {

// Bytes at the end of [begin, end) that may begin a prefix whose later bytes are still to
// come: 00 00 01, 00 00 or 00.
std::size_t undecided_tail(std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    if (n >= 3 && bytes[n - 3] == 0 && bytes[n - 2] == 0 && bytes[n - 1] == 1) return 3;
    if (n >= 2 && bytes[n - 2] == 0 && bytes[n - 1] == 0) return 2;
    return n >= 1 && bytes[n - 1] == 0 ? 1 : 0;
}

}  // namespace

std::span<const std::uint8_t> TsPesContinuation::start(const PesPacket& head) {
    const auto payload = head.stored().last(pes_payload_size(head));
    open_ = true;
    open_length_ = head.length() == 0;
    fill_ = head.fill();
    limit_ = open_length_ ? PesPacket::unbounded_capacity_limit : head.length();
    consumed_ = 0;
    spill_offset_ = spill_size_ = 0;
    held_size_ = open_length_ ? undecided_tail(payload) : 0;
    std::copy(payload.end() - static_cast<std::ptrdiff_t>(held_size_), payload.end(),
              held_.begin());
    return payload.first(payload.size() - held_size_);
}

std::size_t TsPesContinuation::take(TsPacketWindow& window, int pid, std::uint8_t* destination,
                                    std::size_t size) {
    if (size < smallest_take && spill_offset_ == spill_size_ && open_) {
        spill_size_ = copy_payload(window, pid, spill_.data(), spill_.size());
        spill_offset_ = 0;
    }
    found_ = {};  // bytes given out of the spill were not searched where they land
    if (spill_offset_ < spill_size_) {
        const std::size_t count = std::min(size, spill_size_ - spill_offset_);
        std::copy_n(spill_.begin() + static_cast<std::ptrdiff_t>(spill_offset_), count,
                    destination);
        spill_offset_ += count;
        return count;
    }
    return open_ ? copy_payload(window, pid, destination, size) : 0;
}

std::size_t TsPesContinuation::copy_payload(TsPacketWindow& window, int pid,
                                            std::uint8_t* destination, std::size_t size) {
    std::size_t filled = held_size_;
    std::copy_n(held_.begin(), held_size_, destination);
    held_size_ = 0;

    // Positions of the copy before `searched` begin no packet start. Searching the copy rather
    // than each transport packet's payload costs one search call per PES packet, not dozens.
    // The video start codes passed on the way are noted for the bit reader.
    std::size_t searched = 0;
    const std::uint8_t* packet_start = nullptr;
    prefixes_.clear();
    const auto search = [&] {
        if (!open_length_) return false;
        packet_start = find_packet_start(
            destination + searched, destination + filled,
            [&](const std::uint8_t* prefix) { prefixes_.note(prefix - destination); });
        searched = std::max(searched, filled - std::min<std::size_t>(filled, 3));
        return packet_start != nullptr;
    };

    bool ended = false;
    while (filled < size) {
        const auto packet = window.current_packet();
        if (!packet) {
            ended = true;  // the end of the data ends the packet
            break;
        }
        if (packet->pid != pid || consumed_ == packet->payload.size()) {
            if (follower_ && follower_->watches(*packet) && follower_->follow(*packet) &&
                follower_->program().video_pid != pid) {
                ended = true;  // the new video is read from the next packet start on
                break;
            }
            window.next_packet();
            consumed_ = 0;
            continue;
        }
        const auto rest = packet->payload.subspan(consumed_);
        const std::size_t count =
            std::min({rest.size(), size - filled, static_cast<std::size_t>(limit_ - fill_)});
        std::copy_n(rest.data(), count, destination + filled);
        filled += count;
        consumed_ += count;
        fill_ += static_cast<int>(count);
        // The next packet starts in a transport packet that begins a payload unit, as a rule:
        // such a transport packet is searched before it is left, so that the window stays on
        // it when it holds the next packet.
        if (packet->unit_start && search()) break;
        ended = fill_ == limit_;
        if (consumed_ == packet->payload.size()) {
            window.next_packet();
            consumed_ = 0;
        }
        if (ended) break;
    }

    if (packet_start != nullptr || search()) {
        // The packet ends before the start code. The window stays where it is: a later packet
        // starts no earlier than the transport packet holding the start code's stream id, and
        // only transport packets that begin a payload unit can start one.
        open_ = false;
        consumed_ = 0;
        const auto delivered = static_cast<std::size_t>(packet_start - destination);
        found_ = prefixes_.found(delivered, delivered);
        return delivered;
    }
    if (ended) {
        // A transport packet left partly read is where the next packet may start.
        open_ = false;
        consumed_ = 0;
        found_ = prefixes_.found(searched, filled);
        return filled;
    }
    held_size_ = open_length_ ? undecided_tail({destination, filled}) : 0;
    std::copy_n(destination + filled - held_size_, held_size_, held_.begin());
    found_ = prefixes_.found(searched, filled - held_size_);
    return filled - held_size_;
}

}  // namespace quarnel
