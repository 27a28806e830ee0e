#include "input/pes_payload.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "input/pes_header.h"

namespace quarnel {

namespace {

constexpr int private_stream_1 = 0xBD;
constexpr int ac3_header_bytes = 4;  // sub-stream id, frame count, first access unit pointer

bool is_elementary_id(int id) {
    return id >= 0xC0 && id <= 0xEF;
}
bool is_ac3_sub_stream(int id) {
    return id >= 0x80 && id <= 0x8F;
}

// The first payload byte of a private stream 1 packet names its sub-stream; -1 when the
// packet does not hold it.
int sub_stream_id(std::span<const std::uint8_t> data, int payload_offset) {
    return static_cast<std::size_t>(payload_offset) < data.size() ? data[payload_offset] : -1;
}

// parse_pes_header(data).payload_offset; an MPEG-2 header states its size in
// PES_header_data_length (ISO/IEC 13818-1, 2.4.3.6), so that only MPEG-1 headers are parsed.
int header_size(std::span<const std::uint8_t> data) {
    if (data.size() >= 3 && (data[0] & 0xC0) == 0x80) return data[2] + 3;
    return parse_pes_header(data).payload_offset;
}

// Index in the data of the first elementary-stream byte, or nothing for packets without one.
std::optional<int> payload_start(const PesData& packet) {
    const int id = packet.stream_id;
    if (is_elementary_id(id)) return header_size(packet.bytes);
    if (id == private_stream_1) {
        const int offset = header_size(packet.bytes);
        if (is_ac3_sub_stream(sub_stream_id(packet.bytes, offset))) {
            return offset + ac3_header_bytes;
        }
    }
    return std::nullopt;
}

}  // namespace

StreamClass classify_pes_packet(const PesData& packet) {
    const int id = packet.stream_id;
    if (id >= 0xE0 && id <= 0xEF) return {StreamKind::video, id & 0x0F};
    if (id >= 0xC0 && id <= 0xDF) return {StreamKind::mpeg_audio, id & 0x1F};
    if (id == private_stream_1) {
        const int sub = sub_stream_id(packet.bytes, header_size(packet.bytes));
        if (is_ac3_sub_stream(sub)) return {StreamKind::ac3, sub & 0x0F};
        return {StreamKind::private_data, -1};
    }
    return {};
}

std::size_t pes_payload_size(const PesData& packet) {
    const std::optional<int> start = payload_start(packet);
    // A header claiming more bytes than the data holds leaves no payload.
    const auto size = static_cast<int>(packet.bytes.size());
    return start ? static_cast<std::size_t>(std::max(0, size - *start)) : 0;
}

std::size_t copy_pes_payload(const PesPacket& packet, std::span<std::uint8_t> destination) {
    const std::size_t payload = pes_payload_size(packet);
    const std::size_t size = std::min(payload, destination.size());
    if (size == 0) return 0;
    const auto stored = packet.stored();
    std::memcpy(destination.data(), stored.data() + stored.size() - payload, size);
    return size;
}

}  // namespace quarnel
