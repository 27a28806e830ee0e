#include "video/time_code_index.h"

#include <algorithm>

#include "video/header_codes.h"
#include "video/picture_header.h"
#include "video/time_code.h"
#include "video/video_bit_reader.h"

namespace quarnel {
namespace {

// Where analyse_gop is in the pictures that follow the GOP header it analyses.
enum class GopWalk {
    first_i,       // expecting the GOP's I picture
    leading,       // B pictures shown before that I picture
    body,          // from the first P picture on
    next_i,        // the next GOP header was open: expecting its I picture
    next_leading,  // its leading B pictures, decoded with this GOP's last reference
    done,
};

}  // namespace

TimeCodeIndex::TimeCodeIndex(VideoBitReader& reader, const FrameRate& rate,
                             const FrameCounting& counting)
    : reader_(reader), rate_(rate), counting_(counting) {}

std::int64_t TimeCodeIndex::analyse_gop(GopEntry& out) {
    out = {};
    if (rate_.scale <= 0) return 0;
    // Decoding starts at the sequence header just before the GOP header, if there is one.
    std::int64_t sequence_position = 0;
    for (;;) {
        if (!reader_.next_start_code()) return 0;
        const std::uint32_t code = reader_.get_bits(32);
        if (code == group_start_code) break;
        if (code == sequence_header_code) sequence_position = reader_.start_code_position();
        if (code == picture_start_code) sequence_position = 0;
    }
    const std::int64_t position =
        sequence_position != 0 ? sequence_position : reader_.start_code_position();

    const GopTimeCode this_code = parse_gop_time_code(reader_);
    GopTimeCode next_code;
    bool closed = reader_.get_bits(1) == 1;
    bool broken = reader_.get_bits(1) == 1;

    // Frames of this GOP decoded from its I picture (own), shown before it but decoded from
    // the previous GOP (open_leading), from the first P picture on (body), and the next open
    // GOP's leading B pictures, which need this GOP's last reference picture (next_leading).
    std::int64_t own = 0;
    std::int64_t open_leading = 0;
    std::int64_t body = 0;
    std::int64_t next_leading = 0;
    std::uint32_t last_code = group_start_code;
    PictureInfo picture;
    GopWalk walk = GopWalk::first_i;
    while (walk != GopWalk::done && reader_.next_start_code()) {
        last_code = reader_.get_bits(32);
        if (last_code == group_start_code) {
            if (walk == GopWalk::next_leading) {
                walk = GopWalk::done;
                break;
            }
            if (walk == GopWalk::first_i) return 0;
            next_code = parse_gop_time_code(reader_);
            closed = reader_.get_bits(1) == 1;
            broken = reader_.get_bits(1) == 1;
            walk = closed ? GopWalk::done : GopWalk::next_i;
            continue;
        }
        if (last_code != picture_start_code) continue;

        parse_picture_header(reader_, picture, counting_.progressive_sequence);
        const std::optional<int> counted = picture_frames(reader_, picture, counting_);
        if (!counted) return 0;
        const std::int64_t frames = *counted;
        const std::int32_t type = picture.picture_coding_type;
        if (type == picture_type_i && walk != GopWalk::first_i && walk != GopWalk::next_i)
            return 0;  // a second I picture before the GOP's order is complete
        switch (walk) {
            case GopWalk::first_i:
                if (type != picture_type_i) return 0;
                own += frames;
                walk = GopWalk::leading;
                break;
            case GopWalk::leading:
                if (type == picture_type_p) {
                    closed = broken = false;
                    body += frames;
                    walk = GopWalk::body;
                } else if (type == picture_type_b) {
                    if (closed)
                        own += frames;
                    else if (!broken)
                        open_leading += frames;
                }
                break;
            case GopWalk::body:
                if (type == picture_type_p || type == picture_type_b) body += frames;
                break;
            case GopWalk::next_i:
                if (type != picture_type_i) return 0;
                walk = GopWalk::next_leading;
                break;
            case GopWalk::next_leading:
                if (type == picture_type_p)
                    walk = GopWalk::done;
                else if (type == picture_type_b && !broken)
                    next_leading += frames;
                break;
            case GopWalk::done:
                break;
        }
    }

    // Time codes count whole frames: 30 for 30000/1001 (ISO/IEC 13818-2, 6.3.8).
    const auto whole_rate = static_cast<std::int32_t>((rate_.rate + rate_.scale - 1) / rate_.scale);
    const std::int64_t this_frame = time_code_to_frames(this_code, whole_rate);
    std::int64_t frame_count = own + body + next_leading;
    if (walk == GopWalk::done) {
        // The time codes must step by exactly the frames this GOP shows.
        const std::int64_t step = time_code_to_frames(next_code, whole_rate) - this_frame;
        if (static_cast<std::int32_t>(step) != static_cast<std::int32_t>(own + open_leading + body))
            return 0;
    } else if (last_code != sequence_end_code) {
        frame_count = frames_without_end_code(frame_count);
        if (frame_count == 0) return 0;
    }
    out.position = position;
    out.first_frame = this_frame - base_frame_ + open_leading;
    out.frame_count = frame_count;
    return frame_count;
}

std::int64_t TimeCodeIndex::time_code_frame_count() {
    reader_.bit_reader_seek(0, SeekOrigin::begin);
    base_frame_ = 0;
    GopEntry first;
    if (analyse_gop(first) == 0) return -1;
    base_frame_ = first.first_frame;
    if (reader_.stream_position() == reader_.stream_size()) return first.frame_count;

    find_last_gop(reader_);
    GopEntry last;
    if (analyse_gop(last) == 0) return -1;
    const std::int64_t total = last.first_frame + last.frame_count;
    return check_time_code_index(total) ? total : -1;
}

bool TimeCodeIndex::check_time_code_index(std::int64_t total) {
    const std::int64_t step = reader_.stream_size() / 8;
    // Frame numbers are relative to the first GOP, so the first sample is 0.
    std::int64_t previous = 0;
    for (std::int64_t i = 0; i < 8; ++i) {
        reader_.bit_reader_seek(i * step, SeekOrigin::begin);
        GopEntry sample;
        analyse_gop(sample);
        if (sample.first_frame < previous || sample.first_frame > total) return false;
        previous = sample.first_frame;
    }
    return true;
}

GopEntry TimeCodeIndex::lookup_by_time_code(std::int64_t frame) {
    std::int64_t low = 0;
    std::int64_t high = reader_.stream_size();
    std::int64_t probe = high / 2;
    while (probe > low) {
        reader_.bit_reader_seek(probe, SeekOrigin::begin);
        GopEntry entry;
        const std::int64_t frames = analyse_gop(entry);
        if (frames != 0 && entry.first_frame <= frame) {
            if (frame < entry.first_frame + frames) return entry;
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
