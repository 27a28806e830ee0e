#include "audio/display_start.h"

#include "base/start_code.h"
#include "video/header_codes.h"
#include "video/picture_info.h"

namespace quarnel {

void DisplayStartScan::add_packet(std::span<const std::uint8_t> payload, std::int64_t stamp) {
    if (found()) return;
    pending_.insert(pending_.end(), payload.begin(), payload.end());
    if (stamp >= 0) (current_ < 0 ? current_ : next_) = stamp;
    // Only the bytes from where the scan must resume are kept, so any payload fits.
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(scan()));
}

void DisplayStartScan::advance() {
    current_ = next_;
    next_ = -1;
}

std::size_t DisplayStartScan::scan() {
    const std::uint8_t* const data = pending_.data();
    const std::size_t size = pending_.size();
    std::size_t from = 0;
    for (;;) {
        const std::uint8_t* hit = find_start_code(data + from, data + size);
        // Two bytes may begin a start code that the next payload completes.
        if (!hit) return size > 2 ? size - 2 : 0;
        const std::size_t r = static_cast<std::size_t>(hit - data);
        if (r + 3 >= size) return r;
        const std::uint32_t code = 0x100u | data[r + 3];
        if (code == group_start_code) {
            if (r + 7 >= size) return r;
            closed_gop_ = (data[r + 7] & 0x40) != 0;  // closed_gop (ISO/IEC 13818-2, 6.2.2.6)
            from = r + 7;
        } else if (code == picture_start_code) {
            if (r + 5 >= size) return r;
            switch ((data[r + 5] >> 3) & 7) {  // picture_coding_type
                case picture_type_i:
                    // The I picture of an open GOP is shown first: its leading B pictures
                    // cannot be decoded. In a closed GOP what follows it decides.
                    if (!closed_gop_) {
                        display_start_ = current_;
                        return r;
                    }
                    reference_ = current_;
                    break;
                case picture_type_p:
                    // No B picture before the next P: the I picture is shown first.
                    if (reference_ >= 0) {
                        display_start_ = reference_;
                        return r;
                    }
                    break;
                case picture_type_b:
                    // B pictures after the I picture of a closed GOP are shown before it.
                    if (reference_ >= 0) {
                        display_start_ = current_;
                        return r;
                    }
                    break;
                default:
                    from = r + 5;
                    continue;
            }
            advance();
            from = r + 5;
        } else {
            from = r + 3;
        }
    }
}

}  // namespace quarnel
