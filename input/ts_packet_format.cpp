#include "input/ts_packet_format.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace quarnel {

namespace {

// True when every packet start that `head` reaches holds a sync byte, and it reaches one.
bool sync_bytes_at(std::span<const std::uint8_t> head, const TsPacketFormat& format) {
    if (head.size() <= static_cast<std::size_t>(format.header_offset)) return false;
    for (std::size_t at = static_cast<std::size_t>(format.header_offset); at < head.size();
         at += static_cast<std::size_t>(format.packet_size)) {
        if (head[at] != ts_sync_byte) return false;
    }
    return true;
}

}  // namespace

std::optional<TsPacketFormat> detect_packet_format(std::span<const std::uint8_t> head) {
    static constexpr std::array<TsPacketFormat, 3> formats{{{188, 0}, {192, 4}, {204, 0}}};
    head = head.first(std::min(head.size(), ts_detection_bytes));
    for (const auto& format : formats) {
        if (sync_bytes_at(head, format)) return format;
    }
    return std::nullopt;
}

std::optional<TsPacketFormat> detect_packet_size(FileSetOps& files) {
    std::array<std::uint8_t, ts_detection_bytes> head{};
    files.seek(0, SeekOrigin::begin);
    const std::size_t got = files.read(head.data(), head.size());
    files.seek(0, SeekOrigin::begin);
    return detect_packet_format(std::span(head).first(got));
}

int ts_buffer_size(int packet_size) {
    constexpr int page = 4096;
    constexpr int least = 524288;
    const int unit = std::lcm(packet_size, page);
    return unit >= least ? unit : (least + unit - 1) / unit * unit;
}

}  // namespace quarnel
