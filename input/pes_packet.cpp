#include "input/pes_packet.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/start_code.h"

namespace quarnel {

void pes_packet_release(PesPacket& packet) {
    packet.stream_id_ = 0;
    packet.length_ = 0;
    packet.fill_ = PesPacket::empty_fill;
}

int PesPacket::recognise(const std::uint8_t* bytes, int count) {
    int taken = 0;
    while (fill_ < 0 && taken < count) {
        if (fill_ == empty_fill && count - taken >= 3) {
            const std::uint8_t* hit = find_start_code(bytes + taken, bytes + count);
            taken = hit != nullptr ? static_cast<int>(hit - bytes) : count - 2;
        }
        const std::uint8_t byte = bytes[taken++];
        switch (fill_) {
            case -6:
                fill_ = byte == 0x00 ? -5 : -6;
                break;
            case -5:
                fill_ = byte == 0x00 ? -4 : -6;
                break;
            case -4:
                fill_ = byte == 0x01 ? -3 : byte == 0x00 ? -4 : -6;
                break;
            case -3:
                if (byte > last_non_packet_code) {
                    stream_id_ = byte;
                    fill_ = -2;
                } else {
                    fill_ = byte == 0x00 ? -5 : -6;
                }
                break;
            case -2:
                length_ = byte << 8;
                fill_ = -1;
                break;
            default:  // -1
                length_ |= byte;
                fill_ = 0;
                if (length_ > capacity_) {
                    data_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(length_)]);
                    capacity_ = data_ ? length_ : 0;
                }
                break;
        }
    }
    return taken;
}

int PesPacket::store_bounded(const std::uint8_t* bytes, int count) {
    if (capacity_ < length_) return 0;
    const int copied = std::min(count, length_ - fill_);
    std::memcpy(data_.get() + fill_, bytes, static_cast<std::size_t>(copied));
    fill_ += copied;
    return copied;
}

bool PesPacket::grow_to_hold(int bytes) {
    const std::int64_t needed = std::int64_t{fill_} + bytes;
    const std::int64_t steps = (needed - capacity_ + growth_step - 1) / growth_step;
    const int grown = static_cast<int>(
        std::min<std::int64_t>(capacity_ + steps * growth_step, unbounded_capacity_limit));
    if (grown <= capacity_) return false;
    std::unique_ptr<std::uint8_t[]> larger(new (std::nothrow)
                                               std::uint8_t[static_cast<std::size_t>(grown)]);
    if (!larger) return false;
    if (fill_ > 0) std::memcpy(larger.get(), data_.get(), static_cast<std::size_t>(fill_));
    data_ = std::move(larger);
    capacity_ = grown;
    return true;
}

int PesPacket::store_unbounded(const std::uint8_t* bytes, int count) {
    if (capacity_ - fill_ < count) grow_to_hold(count);
    if (!data_) return 0;
    int taken = std::min(count, capacity_ - fill_);
    std::uint8_t* const fresh = data_.get() + fill_;
    std::memcpy(fresh, bytes, static_cast<std::size_t>(taken));

    // The packet ends before the next packet start code; its prefix may have begun in the
    // bytes of an earlier feed, so the search starts up to 3 bytes back.
    const std::uint8_t* const from = data_.get() + std::max(0, fill_ - 3);
    if (const std::uint8_t* hit = find_packet_start(from, fresh + taken))
        taken = static_cast<int>(hit - fresh);
    fill_ += taken;
    return taken;
}

int pes_feed(PesPacket& packet, const std::uint8_t* bytes, int count) {
    if (bytes == nullptr || count <= 0) return 0;
    const int taken = packet.recognised() ? 0 : packet.recognise(bytes, count);
    if (taken == count) return taken;
    const int rest = count - taken;
    return taken + (packet.length_ > 0 ? packet.store_bounded(bytes + taken, rest)
                                       : packet.store_unbounded(bytes + taken, rest));
}

}  // namespace quarnel
