#pragma once
// The audio reader: the chosen MPEG-1 Layer II stream of a file (set), measured on its own
// timeline and delivered frame by frame. Closing is destroying it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace quarnel {

class SettingsStore;

struct AudioInfo {
    std::int64_t total_samples = 0;  // per channel, from the display start to the audio's end
    std::int32_t sampling_rate = 0;  // Hz
    std::int32_t channels = 0;       // 1 or 2
    std::int32_t bit_rate = 0;       // bit/s, of the frame headers that chose the stream
};

class AudioReaderOps {
  public:
    virtual ~AudioReaderOps() = default;

    // Sample number of the next frame to be delivered.
    virtual std::int64_t get_position() const = 0;
    // Positions the reader at the frame that holds `target`, or at most one frame before,
    // and returns the new position. When no stamped packet of the stream is left to start
    // from, the reader stands at the end: the position is the total length.
    virtual std::int64_t seek_samples(std::int64_t target) = 0;
    // Copies the next `count` bytes of the stream and advances by one frame; at the end of
    // the stream fills `destination` with zeros, returns 0 and leaves the position alone.
    virtual std::size_t read_frame(std::uint8_t* destination, std::size_t count) = 0;
    // Header word of the next frame, or 0 at the end of the stream.
    virtual std::uint32_t peek_header() = 0;
    virtual AudioInfo get_info() const = 0;
};

// Opens the first MPEG audio stream of `path` (and of its split-file continuations when the
// settings ask for them) whose frame headers confirm MPEG-1 Layer II. nullptr when there is
// none or its timeline cannot be measured.
std::unique_ptr<AudioReaderOps> audio_reader_open(const std::string& path,
                                                  const SettingsStore& settings);

// True when `data` (the start of a file) holds an MPEG audio packet directly followed by a
// start code or zero bytes: a cheap test that the file is a program stream carrying audio.
bool probe_audio_packets(std::span<const std::uint8_t> data);

}  // namespace quarnel
