#pragma once
// Transport streams (ISO/IEC 13818-1, 2.4.3): finds the packet size, selects the PID of one
// elementary stream from the program tables or from the packets themselves, and delivers
// that stream's PES payloads to the video bit reader. Video chosen from the tables follows its
// program where the program's map moves it to another PID or a new program takes its place.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "input/file_set.h"
#include "input/pes_packet.h"
#include "input/pes_payload.h"
#include "input/ts_packet_format.h"
#include "input/ts_pes_continuation.h"
#include "input/ts_program_follower.h"

namespace quarnel {

class TsPacketWindow;

// One elementary stream of a transport stream, as the video bit reader reads it. Positions
// are the file position of the transport packet that began a PES packet plus the number of
// payload bytes of that PES packet before the byte meant: they grow with the file, and a
// position tell() reports leads seek() back to the same byte.
class TsLayer final : public StreamOps {
  public:
    ~TsLayer() override;

    // Delivers at most the rest of one PES payload; 0 at the end of the data.
    std::size_t read(std::uint8_t* destination, std::size_t size) override;
    // Resumes at the payload byte the position names, or at the start of the next payload of
    // the stream when it names none.
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t tell() override { return pes_start_ + static_cast<std::int64_t>(payload_offset_); }
    // The video start codes passed while looking for the end of a PES packet of open length.
    FoundStartCodes found_start_codes() const override { return found_; }

    int pid() const { return pid_; }
    StreamClass stream() const { return stream_; }
    TsPacketFormat format() const;

  private:
    friend std::unique_ptr<TsLayer> ts_layer_open(const std::string& path, StreamKind wanted,
                                                  const SettingsStore& settings);
    TsLayer(std::unique_ptr<TsPacketWindow> window, StreamClass stream, int pid,
            TsProgramFollower follower);

    // Assembles the next PES packet of the PID into `packet_`; false at the end of the data.
    // With `continue_own`, a packet of the layer's stream is assembled only until its header
    // and first payload bytes are stored, and `continuation_` delivers the rest.
    bool read_ts_pes(bool continue_own);
    bool holds_stream() const { return classify_pes_packet(packet_) == stream_; }
    void clear_payload();
    // Takes the video PID of the program followed.
    void take_followed_pid();
    // Makes the payload of `packet_` the one being delivered, from its byte `offset` on.
    void deliver_from(std::size_t offset);
    // Copies bytes of the payload being delivered: the stored ones, then those that follow.
    std::size_t deliver(std::uint8_t* destination, std::size_t size);

    std::unique_ptr<TsPacketWindow> window_;
    StreamClass stream_;  // what delivered PES packets must classify as
    int pid_;
    TsProgramFollower follower_;  // inactive when the video was found by content
    PesPacket packet_;  // the PES packet being delivered, whole or its first bytes
    TsPesContinuation continuation_;
    std::span<const std::uint8_t> stored_payload_;  // the payload bytes in packet_ to deliver
    std::size_t payload_offset_ = 0;                // payload bytes of packet_ delivered so far
    std::int64_t pes_start_ = 0;  // file position of the packet that began packet_
    FoundStartCodes found_;       // in the bytes of the last read
};

// Opens `path` as a transport stream and selects the first stream of kind `wanted`,
// positioned at its first payload byte. Nullptr when the file is no transport stream or no
// such stream turns up within the "limit" setting's bytes.
std::unique_ptr<TsLayer> ts_layer_open(const std::string& path, StreamKind wanted,
                                       const SettingsStore& settings);

}  // namespace quarnel
