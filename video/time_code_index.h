#pragma once
// The time code index: frame numbers derived from the time codes of a few GOP headers (the
// first, the last and eight evenly spaced ones) instead of a scan of the whole stream.

#include <cstdint>
#include <optional>

#include "video/frame_rate.h"
#include "video/gop_list.h"

namespace quarnel {

class VideoBitReader;

struct AnalysedGop {
    GopEntry entry;  // first frame relative to the stream's first GOP
    // The frame after the last one shown up to the end of this GOP: the entry's first frame
    // plus its frame count, unless the stream stops in this GOP without sequence_end_code,
    // where the two frames not shown may reach back into the GOP before.
    std::int64_t end_frame = 0;
};

class TimeCodeIndex {
  public:
    // `rate` is the stream's frame rate (frame_rate() of its first sequence header). The
    // index drives `reader`, which must outlive it, and leaves it anywhere: reposition it
    // after each call.
    TimeCodeIndex(VideoBitReader& reader, const FrameRate& rate, const FrameCounting& counting);

    const FrameRate& rate() const { return rate_; }

    // Analyses the first GOP at or after the reader's position; nothing when that GOP cannot
    // be analysed.
    std::optional<AnalysedGop> analyse_gop();

    // Frames in the whole stream, or -1 when its time codes cannot be trusted. Sets the
    // frame number that all others are relative to.
    std::int64_t time_code_frame_count();

    // True when eight GOPs sampled evenly over the stream number their frames in order and
    // within `total`.
    bool check_time_code_index(std::int64_t total);

    // The entry that holds `frame`, by bisection over stream positions; all zero if none.
    GopEntry lookup_by_time_code(std::int64_t frame);

  private:
    VideoBitReader& reader_;
    FrameRate rate_;
    FrameCounting counting_;
    std::int64_t base_frame_ = 0;  // frame number of the first GOP's first frame
};

// Positions the reader on the last GOP header of the stream (at its start when it has none),
// searching windows at the end that grow fourfold until one holds a GOP header.
void find_last_gop(VideoBitReader& reader);

}  // namespace quarnel
