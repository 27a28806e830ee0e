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
#include "input/block_reader.h"
#include "input/pes_packet.h"

namespace quarnel {

// Where one file's audio sits on the stream's timeline.
struct FileTimeEntry {
    std::int64_t first_stamp = -1;  // first audio time stamp of the file, 90 kHz; -1 for none
    std::int64_t start_time = 0;    // the file's start on the stream's timeline, 90 kHz
};

// The elementary-stream bytes of `packet`.
std::span<const std::uint8_t> payload_of(const PesPacket& packet);

class AudioReader final : public AudioReaderOps {
  public:
    // How far into the set the stream and the start of its timeline are looked for.
    static constexpr std::int64_t scan_limit_bytes = 8388608;

    // Chooses the stream and measures it; nullptr when any step fails.
    static std::unique_ptr<AudioReader> create(std::unique_ptr<BlockReader> blocks);

    std::int64_t get_position() const override { return position_; }
    std::int64_t seek_samples(std::int64_t target) override;
    std::size_t read_frame(std::uint8_t* destination, std::size_t count) override;
    std::uint32_t peek_header() override;
    AudioInfo get_info() const override;

  private:
    explicit AudioReader(std::unique_ptr<BlockReader> blocks);

    bool find_audio_stream();
    bool find_start_time();
    bool measure_file_end(int file);
    // Time from the file's first stamp to the end of its last audio frame, in 90 kHz ticks;
    // nothing when no stamped packet with a frame is found searching back from its end.
    std::optional<std::int64_t> last_audio_end(int file);
    // Stamp of the first stamped packet of the stream beginning in `file`, or -1.
    std::int64_t first_stamp_in(int file);
    bool measure_length();

    // Reads the next packet; false at the end of the data.
    bool read_packet(PesPacket& packet);
    // Reads on to the next packet of the stream with a time stamp; returns that stamp, or
    // -1 when the data ends first.
    std::int64_t read_stamped_packet(PesPacket& packet);
    bool is_stream_packet(const PesPacket& packet) const;
    std::int64_t file_start(int file) const;
    // Sample number on the stream's timeline of time stamp `stamp` met in `file`.
    std::int64_t timeline_samples(int file, std::int64_t stamp) const;
    bool append_payload(const PesPacket& packet);

    std::unique_ptr<BlockReader> blocks_;
    int file_count_ = 1;
    std::int64_t total_samples_ = 0;
    std::int64_t position_ = 0;
    int stream_id_ = 0;
    std::int32_t sampling_rate_ = 0;
    std::int32_t channels_ = 0;
    std::int32_t bit_rate_ = 0;
    std::vector<FileTimeEntry> time_table_;
    FrameBuffer frames_;
};

}  // namespace quarnel
