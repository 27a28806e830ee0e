#include "video/time_code_index.h"

#include <algorithm>

#include "video/header_codes.h"
#include "video/picture_header.h"
#include "video/time_code.h"
#include "video/video_bit_reader.h"

namespace quarnel {
namespace {

// Where the walk is in the pictures that follow the GOP header being analysed.
enum class GopWalk {
    first_i,       // expecting the GOP's I picture
    leading,       // B pictures shown before that I picture
    body,          // from the first P picture on
    next_i,        // the next GOP header was open: expecting its I picture
    next_leading,  // its leading B pictures, decoded with this GOP's last reference
    done,
};

struct GopHeader {
    GopTimeCode time_code;
    bool closed = false;
    bool broken_link = false;
};

// Reads a GOP header from just past its start code.
GopHeader read_gop_header(VideoBitReader& reader) {
    GopHeader header;
    header.time_code = parse_gop_time_code(reader);
    header.closed = reader.get_bits(1) == 1;
    header.broken_link = reader.get_bits(1) == 1;
    return header;
}

// Consumes start codes up to and including the next GOP header and returns where decoding of
// that GOP starts: at the sequence header just before it, if there is one, else at the GOP
// header. Nothing when the stream ends first.
std::optional<std::int64_t> find_gop_header(VideoBitReader& reader) {
    std::int64_t sequence_position = 0;  // 0: none (one at the very start does not count)
    for (;;) {
        if (!reader.next_start_code()) return std::nullopt;
        const std::uint32_t code = reader.get_bits(32);
        if (code == group_start_code) break;
        if (code == sequence_header_code) sequence_position = reader.start_code_position();
        if (code == picture_start_code) sequence_position = 0;
    }
    return sequence_position != 0 ? sequence_position : reader.start_code_position();
}

// Frames of the pictures after a GOP header: decoded from the GOP's I picture (own), shown
// before it but decoded from the previous GOP (open_leading), from the first P picture on
// (body), and the next open GOP's leading B pictures, which need this GOP's last reference
// picture (next_leading).
struct GopFrames {
    std::int64_t own = 0;
    std::int64_t open_leading = 0;
    std::int64_t body = 0;
    std::int64_t next_leading = 0;
    std::optional<GopTimeCode> next_time_code;  // when the walk reached the next GOP
    bool sequence_end = false;                  // the stream ended with sequence_end_code

    std::int64_t entry_frames() const { return own + body + next_leading; }
    std::int64_t time_code_step() const { return own + open_leading + body; }
};

// Walks the pictures that follow a GOP header until the GOP's frames are known: up to the
// next closed GOP header, the first P picture after the next open GOP's I picture, or the
// end of the stream.
class GopWalker {
  public:
    GopWalker(VideoBitReader& reader, const FrameCounting& counting, const GopHeader& header)
        : reader_(reader),
          counting_(counting),
          closed_(header.closed),
          broken_(header.broken_link) {}

    // Nothing when the pictures break the GOP's I-first order or one cannot be counted.
    std::optional<GopFrames> walk() {
        std::uint32_t last_code = group_start_code;
        while (walk_ != GopWalk::done && reader_.next_start_code()) {
            last_code = reader_.get_bits(32);
            if (last_code == group_start_code && !on_group()) return std::nullopt;
            if (last_code == picture_start_code && !on_picture()) return std::nullopt;
        }
        if (walk_ == GopWalk::done)
            frames_.next_time_code = next_time_code_;
        else
            frames_.sequence_end = last_code == sequence_end_code;
        return frames_;
    }

  private:
    bool on_group() {
        if (walk_ == GopWalk::next_leading) {
            walk_ = GopWalk::done;
            return true;
        }
        if (walk_ == GopWalk::first_i) return false;
        const GopHeader next = read_gop_header(reader_);
        next_time_code_ = next.time_code;
        closed_ = next.closed;
        broken_ = next.broken_link;
        walk_ = closed_ ? GopWalk::done : GopWalk::next_i;
        return true;
    }

    bool on_picture() {
        parse_picture_header(reader_, picture_, counting_.progressive_sequence);
        const std::optional<int> counted = picture_frames(reader_, picture_, counting_);
        if (!counted) return false;
        if (*counted == 0) return true;  // cut off by the end of the stream
        const std::int64_t frames = *counted;
        const std::int32_t type = picture_.picture_coding_type;
        if (type == picture_type_i && walk_ != GopWalk::first_i && walk_ != GopWalk::next_i)
            return false;  // a second I picture before the GOP's order is complete
        switch (walk_) {
            case GopWalk::first_i:
                if (type != picture_type_i) return false;
                frames_.own += frames;
                walk_ = GopWalk::leading;
                break;
            case GopWalk::leading:
                if (type == picture_type_p) {
                    closed_ = broken_ = false;
                    frames_.body += frames;
                    walk_ = GopWalk::body;
                } else if (type == picture_type_b) {
                    if (closed_)
                        frames_.own += frames;
                    else if (!broken_)
                        frames_.open_leading += frames;
                }
                break;
            case GopWalk::body:
                if (type == picture_type_p || type == picture_type_b) frames_.body += frames;
                break;
            case GopWalk::next_i:
                if (type != picture_type_i) return false;
                walk_ = GopWalk::next_leading;
                break;
            case GopWalk::next_leading:
                if (type == picture_type_p)
                    walk_ = GopWalk::done;
                else if (type == picture_type_b && !broken_)
                    frames_.next_leading += frames;
                break;
            case GopWalk::done:
                break;
        }
        return true;
    }

    VideoBitReader& reader_;
    const FrameCounting& counting_;
    bool closed_;
    bool broken_;
    GopWalk walk_ = GopWalk::first_i;
    GopTimeCode next_time_code_;
    PictureInfo picture_;
    GopFrames frames_;
};

}  // namespace

TimeCodeIndex::TimeCodeIndex(VideoBitReader& reader, const FrameRate& rate,
                             const FrameCounting& counting)
    : reader_(reader), rate_(rate), counting_(counting) {}

std::optional<AnalysedGop> TimeCodeIndex::analyse_gop() {
    if (rate_.scale <= 0) return std::nullopt;
    const std::optional<std::int64_t> position = find_gop_header(reader_);
    if (!position) return std::nullopt;
    const GopHeader header = read_gop_header(reader_);
    const std::optional<GopFrames> frames = GopWalker(reader_, counting_, header).walk();
    if (!frames) return std::nullopt;

    // Time codes count whole frames: 30 for 30000/1001 (ISO/IEC 13818-2, 6.3.8).
    const auto whole_rate = static_cast<std::int32_t>((rate_.rate + rate_.scale - 1) / rate_.scale);
    const std::int64_t this_frame = time_code_to_frames(header.time_code, whole_rate);
    AnalysedGop gop;
    gop.entry.position = *position;
    gop.entry.first_frame = this_frame - base_frame_ + frames->open_leading;
    if (frames->next_time_code) {
        // The time codes must step by exactly the frames this GOP shows.
        const std::int64_t step = time_code_to_frames(*frames->next_time_code, whole_rate) - this_frame;
        if (static_cast<std::int32_t>(step) != static_cast<std::int32_t>(frames->time_code_step()))
            return std::nullopt;
        gop.entry.frame_count = frames->entry_frames();
        gop.end_frame = gop.entry.first_frame + gop.entry.frame_count;
    } else {
        gop.end_frame = close_last_entry(gop.entry, frames->entry_frames(), frames->sequence_end);
    }
    return gop;
}

std::int64_t TimeCodeIndex::time_code_frame_count() {
    reader_.bit_reader_seek(0, SeekOrigin::begin);
    base_frame_ = 0;
    const std::optional<AnalysedGop> first = analyse_gop();
    if (!first) return -1;
    base_frame_ = first->entry.first_frame;
    if (reader_.stream_position() == reader_.stream_size()) return first->entry.frame_count;

    find_last_gop(reader_);
    const std::optional<AnalysedGop> last = analyse_gop();
    if (!last) return -1;
    return check_time_code_index(last->end_frame) ? last->end_frame : -1;
}

bool TimeCodeIndex::check_time_code_index(std::int64_t total) {
    const std::int64_t step = reader_.stream_size() / 8;
    // Frame numbers are relative to the first GOP, so the first sample is 0.
    std::int64_t previous = 0;
    for (std::int64_t i = 0; i < 8; ++i) {
        reader_.bit_reader_seek(i * step, SeekOrigin::begin);
        // A GOP that cannot be analysed counts as the all-zero entry.
        const std::int64_t first_frame = analyse_gop().value_or(AnalysedGop{}).entry.first_frame;
        if (first_frame < previous || first_frame > total) return false;
        previous = first_frame;
    }
    return true;
}

GopEntry TimeCodeIndex::lookup_by_time_code(std::int64_t frame) {
    std::int64_t low = 0;
    std::int64_t high = reader_.stream_size();
    std::int64_t probe = high / 2;
    while (probe > low) {
        reader_.bit_reader_seek(probe, SeekOrigin::begin);
        const std::optional<AnalysedGop> gop = analyse_gop();
        if (gop && gop->entry.frame_count != 0 && gop->entry.first_frame <= frame) {
            const GopEntry& entry = gop->entry;
            if (frame < entry.first_frame + entry.frame_count) return entry;
            low = entry.position;  // the frame lies after this GOP: search above it
            probe = high;
        }
        // Each round halves the range between low and probe; an empty range ends the search.
        const std::int64_t half = (probe - low) / 2;
        if (half <= 0) break;
        high = probe;
        probe = low + half;
    }
    return {};
}

void find_last_gop(VideoBitReader& reader) {
    const std::int64_t size = reader.stream_size();
    std::int64_t found = 0;
    for (std::int64_t window = 131072;; window *= 4) {
        reader.bit_reader_seek(std::max<std::int64_t>(size - window, 0), SeekOrigin::begin);
        while (reader.next_start_code())
            if (reader.get_bits(32) == group_start_code) found = reader.start_code_position();
        if (found != 0 || window >= size) break;
    }
    reader.bit_reader_seek(found, SeekOrigin::begin);
}

}  // namespace quarnel
