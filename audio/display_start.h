#pragma once
// Finds the time stamp of the first picture shown, from the video packets at the start of a
// stream: the picture that becomes sample 0 of the audio timeline.

#include <cstdint>
#include <span>
#include <vector>

namespace quarnel {

class DisplayStartScan {
  public:
    // Adds the payload of the next packet of the video stream and its time stamp (-1 for
    // none). The stamp of a packet belongs to the first picture that begins in it.
    void add_packet(std::span<const std::uint8_t> payload, std::int64_t stamp);

    bool found() const { return display_start_ >= 0; }
    // The stamp of the first picture shown, or -1 while it is not known.
    std::int64_t display_start() const { return display_start_; }

  private:
    // Looks at the pictures held; returns where the next scan must begin.
    std::size_t scan();
    // Moves on to the next picture's stamp.
    void advance();

    std::vector<std::uint8_t> pending_;  // bytes not yet scanned to the end
    std::int64_t current_ = -1;          // stamp of the picture being looked at
    std::int64_t next_ = -1;             // a further stamp waiting for its picture
    std::int64_t reference_ = -1;        // stamp of the I picture of a closed GOP
    bool closed_gop_ = false;
    std::int64_t display_start_ = -1;
};

}  // namespace quarnel
