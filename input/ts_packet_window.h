#pragma once
// Transport packets of a file read through windows of ts_buffer_size bytes, with a cursor on
// the current packet.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "base/prefetch.h"
#include "input/file_set.h"
#include "input/ts_packet_format.h"

namespace quarnel {

// The fields of a transport packet header this layer uses (ISO/IEC 13818-1, 2.4.3.2), and its
// payload. transport_error_indicator, scrambling control and continuity_counter are not
// looked at: such packets are used like any other.
struct TsPacket {
    int pid = 0;
    bool unit_start = false;                // payload_unit_start_indicator
    std::span<const std::uint8_t> payload;  // empty without one
};

inline constexpr int ts_null_pid = 0x1FFF;
inline constexpr int ts_header_bytes = 4;

// Reads the header at `header`, which must be followed by the rest of its 188 bytes. The
// payload follows the adaptation field when there is one; a field of 183 bytes or more
// leaves none. Inline: the scan calls it for every packet, and a call that returns the fields
// through memory cost a sixth of a transport stream scan's time.
inline TsPacket read_ts_packet(const std::uint8_t* header) {
    TsPacket packet;
    packet.pid = ((header[1] & 0x1F) << 8) | header[2];
    packet.unit_start = (header[1] & 0x40) != 0;
    const int control = (header[3] >> 4) & 0x3;  // adaptation_field_control
    const bool has_payload = (control & 0x1) != 0;
    const int offset = (control & 0x2) != 0 ? ts_header_bytes + 1 + header[4] : ts_header_bytes;
    if (has_payload && offset < ts_packet_bytes)
        packet.payload = {header + offset, static_cast<std::size_t>(ts_packet_bytes - offset)};
    return packet;
}

class TsPacketWindow {
  public:
    // Measures the file set and loads the window at its start; nullptr when the window cannot
    // be allocated. Windows hold ts_buffer_size bytes, or `window_packets` packets: fewer cost
    // less where the reader jumps about the file.
    static std::unique_ptr<TsPacketWindow> open(std::unique_ptr<FileSetOps> files,
                                                TsPacketFormat format, int window_packets = 0);

    // The packet at the cursor; nothing at the end of the data. A last packet that the end of
    // the file cuts short is never read: it counts as the end.
    std::optional<TsPacket> current_packet() const {
        if (cursor_ + whole_packet_ > bytes_in_buffer_) return std::nullopt;
        return read_ts_packet(data_ + cursor_ +
                              static_cast<std::size_t>(format_.header_offset));
    }
    // Moves to the following packet, reading the next window when the cursor leaves this one.
    void next_packet() {
        const auto packet_size = static_cast<std::size_t>(format_.packet_size);
        cursor_ += packet_size;
        // A lent window was read on the other core: the packets a few kilobytes ahead are
        // asked for now, so that taking each one does not wait for its bytes to come over.
        if (cursor_ + prefetch_distance + packet_size <= bytes_in_buffer_)
            for (std::size_t line = 0; line < packet_size; line += cache_line_bytes)
                prefetch(data_ + cursor_ + prefetch_distance + line);
        if (cursor_ >= bytes_in_buffer_) load_window(packet_position());
    }
    // The file position of the current packet.
    std::int64_t packet_position() const {
        return window_start_ + static_cast<std::int64_t>(cursor_);
    }
    // Moves the cursor to `target`, clamped into the file, reading the window that holds it
    // when it lies outside this one; returns the clamped target. Windows start at multiples
    // of their size, hence at packet boundaries.
    std::int64_t position_seek(std::int64_t target);

    const TsPacketFormat& format() const { return format_; }
    const FileSetOps& file_set() const { return *files_; }
    std::int64_t file_size() const { return file_size_; }

  private:
    static constexpr std::size_t prefetch_distance = 4096;

    TsPacketWindow(std::unique_ptr<FileSetOps> files, TsPacketFormat format,
                   std::unique_ptr<std::uint8_t[]> buffer, std::size_t buffer_size);
    // Reads the window that starts at `start`; the cursor goes to its first byte.
    void load_window(std::int64_t start);

    std::unique_ptr<FileSetOps> files_;
    TsPacketFormat format_;
    // Bytes from a packet's start that must have been read for its transport packet to be whole.
    std::size_t whole_packet_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t buffer_size_;
    // The window's bytes: buffer_, or a block that the file set read ahead and lends.
    const std::uint8_t* data_ = nullptr;
    std::int64_t window_start_ = 0;
    std::size_t bytes_in_buffer_ = 0;
    std::size_t cursor_ = 0;
    std::int64_t file_size_ = 0;
};

}  // namespace quarnel
