#pragma once
// The GOP list: every random-access point of a video stream with the frames that decoding
// from it yields, counted by a scan of the whole stream.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <vector>

#include "base/open_failure.h"
#include "base/progress.h"
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

// The sequence headers of a GOP list in stream order, one each time a header differs from the
// one before it. Recorders that restate alternating headers repeat a few distinct ones
// thousands of times, so each distinct header is stored once and the order refers to it.
class SequenceHeaders {
  public:
    SequenceHeaders() = default;
    SequenceHeaders(std::initializer_list<SequenceInfo> headers) {
        for (const SequenceInfo& header : headers) push_back(header);
    }

    // Appends `header` as the next in stream order.
    void push_back(const SequenceInfo& header);
    void clear();

    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    std::size_t distinct_count() const { return distinct_.size(); }
    const SequenceInfo& operator[](std::size_t i) const { return distinct_[order_[i]]; }
    const SequenceInfo& back() const { return distinct_[order_.back()]; }

    // The same headers in the same order.
    bool operator==(const SequenceHeaders& other) const;

  private:
    std::vector<SequenceInfo> distinct_;
    std::vector<std::uint32_t> order_;  // into distinct_
    std::unordered_multimap<std::size_t, std::uint32_t> by_hash_;  // into distinct_
};

struct GopList {
    std::int64_t stream_size = 0;  // size of the video stream the list was built from
    std::int64_t total_frames = 0;
    std::vector<GopEntry> entries;     // stream order, first frames increasing
    SequenceHeaders sequence_headers;  // GopEntry::sequence_header indexes their order
};

// The most memory a GOP list may take, in memory or as its file read back, so that no stream
// or list file can make a video open take unbounded memory. 16 MiB hold over 500000 entries
// (70 hours of half-second GOPs), or about 37000 distinct sequence headers, or about 50000
// GOPs that each change between a few sequence headers, as recorders that restate the bit
// rate do. The file's share takes each stored header at its largest.
inline constexpr std::uint64_t max_gop_list_bytes = 16 * 1024 * 1024;
// Sizes in the list file: the header with its counts, one entry, a stored header at its largest.
inline constexpr std::size_t gop_list_file_counts_bytes = 56;
inline constexpr std::size_t gop_list_file_entry_bytes = 28;
inline constexpr std::size_t gop_list_file_max_record_bytes = 284;  // 39 words, two matrices
inline constexpr bool gop_list_fits(std::uint64_t entries, std::uint64_t headers_in_order,
                                    std::uint64_t distinct_headers) {
    const std::uint64_t memory = entries * sizeof(GopEntry) + headers_in_order * 4 +
                                 distinct_headers * sizeof(SequenceInfo);
    const std::uint64_t file = gop_list_file_counts_bytes + entries * gop_list_file_entry_bytes +
                               headers_in_order * gop_list_file_max_record_bytes;
    return memory <= max_gop_list_bytes && file <= max_gop_list_bytes;
}

class VideoBitReader;
struct PictureInfo;

// What frame counting needs to know of the stream, taken from its first headers.
struct FrameCounting {
    bool progressive_sequence = true;        // of an MPEG-2 stream; true for MPEG-1
    std::int32_t first_top_field_first = 0;  // top_field_first of the stream's first picture
};

// Closes the entry in which a stream ends, `frames` frames after the entry's first frame, and
// returns the number of frames in the stream. A stream that stops without sequence_end_code
// does not show its last two frames, also where they reach back into the entry before, and no
// count goes below zero.
inline std::int64_t close_last_entry(GopEntry& last, std::int64_t frames, bool sequence_end) {
    const std::int64_t shown = sequence_end ? frames : frames - 2;
    last.frame_count = std::max<std::int64_t>(shown, 0);
    return std::max<std::int64_t>(last.first_frame + shown, 0);
}

// Frames that a picture whose header was just parsed yields: 1, or 2 when it repeats its
// first field in the parity the stream starts with (3:2 pulldown: 4 pictures give 5 frames).
// Reads past the second field of a field picture: nothing when another picture stands where
// that field belongs, 0 when the stream ends before it (a recording cut in its last picture).
std::optional<int> picture_frames(VideoBitReader& reader, const PictureInfo& picture,
                                  const FrameCounting& counting);

enum class SecondField { found, missing, cut_off };
// Consumes start codes up to the next picture header and parses it: found when it is a field
// picture, that is the second field of a pair; cut_off when the stream ends first, or ends
// inside that header.
SecondField find_second_field(VideoBitReader& reader, bool progressive_sequence);

// Scans the whole stream from its start; a last picture whose second field the stream does
// not reach is not counted. Nothing when the stream has no I picture, when a picture is not
// I, P or B, a field lacks its partner, the list outgrows max_gop_list_bytes,
// or the progress display cancels; then `failure`, when given, says which.
std::optional<GopList> build_gop_list(VideoBitReader& reader, const FrameCounting& counting,
                                      const ProgressFactory& progress,
                                      OpenFailure* failure = nullptr);

// The entry that holds `frame`, or the all-zero entry when the list has none.
GopEntry lookup_gop_list(const GopList& list, std::int64_t frame);

}  // namespace quarnel
