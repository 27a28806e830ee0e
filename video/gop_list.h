#pragma once
// The GOP list: every random-access point of a video stream with the frames that decoding
// from it yields, counted by a scan of the whole stream.

#include <cstdint>
#include <vector>

#include "video/sequence_info.h"

namespace quarnel {

// One random-access point. An all-zero entry stands for "no entry".
struct GopEntry {
    std::int64_t position = 0;  // where decoding starts: GOP header, sequence header or I picture
    std::int64_t first_frame = 0;      // first frame that decoding from here yields
    std::int64_t frame_count = 0;      // frames that belong to this entry
    std::int32_t sequence_header = 0;  // index of its SequenceInfo in GopList::sequence_headers

    bool operator==(const GopEntry&) const = default;
};
static_assert(sizeof(GopEntry) == 32, "GopEntry is 32 bytes");

struct GopList {
    std::int64_t stream_size = 0;  // size of the video stream the list was built from
    std::int64_t total_frames = 0;
    std::vector<GopEntry> entries;               // stream order, first frames increasing
    std::vector<SequenceInfo> sequence_headers;  // each differs from the one before it
};

// The entry that holds `frame`, or the all-zero entry when the list has none.
GopEntry lookup_gop_list(const GopList& list, std::int64_t frame);

}  // namespace quarnel
