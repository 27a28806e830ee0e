#pragma once
// The audio reader behind AudioReaderOps: the chosen stream, its timeline over the files of
// the set and the frame buffer that delivers it.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "audio/audio_reader_ops.h"
#include "audio/frame_buffer.h"
#include "audio/audio_packets.h"
#include "input/pes_packet.h"

namespace quarnel {

// A stretch of the stream whose time stamps run on without a break, and where it sits on the
// stream's timeline: a file of the set, or part of one whose stamps break.
struct TimelineSpan {
    std::int64_t begin = 0;         // byte offset where the span begins
    std::int64_t end = 0;           // byte offset where it ends
    std::int64_t first_stamp = -1;  // the stamp of the span's start, 90 kHz; -1 for none
    std::int64_t start_time = 0;    // the span's start on the stream's timeline, 90 kHz
};

// A packet of the stream with a time stamp.
struct StampedPacket {
    std::int64_t position = 0;  // byte offset where the packet begins
    std::int64_t stamp = -1;    // 90 kHz
    int frames = 0;             // frames that begin in its payload
};

// Where the stamps break inside a file: a packet whose stamp does not continue the audio
// before it.
struct StampBreak {
    std::int64_t position = 0;   // byte offset of the packet
    std::int64_t stamp = 0;      // its stamp: the next span's first
    std::int64_t audio_end = 0;  // the stamp at which the audio before it ends
};

// The elementary-stream bytes of `packet`.
std::span<const std::uint8_t> payload_of(const PesPacket& packet);

class AudioReader final : public AudioReaderOps {
  public:
    // How far into the set the stream and the start of its timeline are looked for.
    static constexpr std::int64_t scan_limit_bytes = 8388608;

    // Chooses the stream and measures it; nullptr when any step fails.
    static std::unique_ptr<AudioReader> create(std::unique_ptr<AudioPackets> packets);

    std::int64_t get_position() const override { return position_; }
    std::int64_t seek_samples(std::int64_t target) override;
    std::size_t read_frame(std::uint8_t* destination, std::size_t count) override;
    std::uint32_t peek_header() override;
    AudioInfo get_info() const override;

  private:
    friend class StampBreakSearch;

    explicit AudioReader(std::unique_ptr<AudioPackets> packets);

    bool find_audio_stream();
    bool find_start_time();
    // The last stamped packet of the stream in `file` in which a frame begins; nothing when
    // none is found searching back from its end.
    std::optional<StampedPacket> last_stamped_packet(int file);
    // The first stamped packet of the stream that begins at or after `from` and before
    // `before`; frames are not counted.
    std::optional<StampedPacket> first_stamped_packet(std::int64_t from, std::int64_t before);
    // Where the stamps break between stamped packets `first` and `last` of one file, in file
    // order.
    std::vector<StampBreak> find_breaks(const StampedPacket& first, const StampedPacket& last);
    bool measure_length();

    // Reads the next packet, noting where it lies in place_; false at the end of the data.
    bool read_packet(PesPacket& packet);
    // Reads on to the next packet of the stream with a time stamp; returns that stamp, or
    // -1 when the data ends first.
    std::int64_t read_stamped_packet(PesPacket& packet);
    // Whether the last packet read belongs to the chosen stream.
    bool is_stream_packet() const { return place_.stream == stream_; }
    std::int64_t file_start(int file) const;
    // Sample number on the stream's timeline of time stamp `stamp` met in `span`.
    std::int64_t timeline_samples(const TimelineSpan& span, std::int64_t stamp) const;
    bool append_payload(const PesPacket& packet);

    std::unique_ptr<AudioPackets> packets_;
    PacketPlace place_;  // of the last packet read
    int file_count_ = 1;
    std::int64_t total_samples_ = 0;
    std::int64_t position_ = 0;
    int stream_ = 0;  // names the chosen stream as PacketPlace::stream does
    std::int32_t sampling_rate_ = 0;
    std::int32_t channels_ = 0;
    std::int32_t bit_rate_ = 0;
    std::vector<TimelineSpan> spans_;  // in stream order
    FrameBuffer frames_;
};

}  // namespace quarnel
