// Positioning by sample number and delivery of the stream frame by frame.

#include <cstring>

#include "audio/audio_reader.h"
#include "audio/frame_header.h"
#include "input/pes_header.h"

namespace quarnel {
namespace {

// The byte search ends when the range is narrower than this.
constexpr std::int64_t seek_precision_bytes = 256;

}  // namespace

std::int64_t AudioReader::timeline_samples(const TimelineSpan& span, std::int64_t stamp) const {
    return ticks_to_samples(span.start_time + stamp_difference(stamp, span.first_stamp),
                            sampling_rate_);
}

std::int64_t AudioReader::seek_samples(std::int64_t target) {
    frames_.clear();
    // The span that holds the target, and its byte range.
    const TimelineSpan* span = &spans_.back();
    for (std::size_t i = 0; i + 1 < spans_.size(); ++i) {
        if (target < ticks_to_samples(spans_[i + 1].start_time, sampling_rate_)) {
            span = &spans_[i];
            break;
        }
    }
    std::int64_t lo = span->begin;
    std::int64_t hi = span->end;
    const std::int64_t span_end = hi;
    // Aim one frame early, so that a decoder has the frame before the target.
    if (target >= samples_per_frame) target -= samples_per_frame;

    // Binary search over byte offsets for the stamped packet whose frames hold the target.
    std::int64_t best = lo;
    PesPacket packet;
    while (hi - lo >= seek_precision_bytes) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        packets_->seek(mid);
        const std::int64_t stamp = read_stamped_packet(packet);
        const std::int64_t after = packets_->tell();
        if (after > span_end) {
            hi = mid;
            continue;
        }
        if (stamp < 0) break;
        const std::int64_t first = timeline_samples(*span, stamp);
        const std::int64_t end =
            first + (count_frames_in_payload(payload_of(packet)) + 1) * samples_per_frame;
        if (first > target) {
            hi = mid;
        } else if (target < end) {
            position_ = first;
            append_payload(packet);
            return position_;
        } else {
            lo = best = after;
        }
    }

    packets_->seek(best);
    const std::int64_t stamp = read_stamped_packet(packet);
    if (stamp < 0) {
        // Nothing stamped follows: the reader stands at the end of the stream.
        position_ = total_samples_;
        return position_;
    }
    position_ = timeline_samples(*span, stamp);
    append_payload(packet);
    return position_;
}

std::size_t AudioReader::read_frame(std::uint8_t* destination, std::size_t count) {
    PesPacket packet;
    while (frames_.available() < count) {
        if (!read_packet(packet)) {
            if (count != 0) std::memset(destination, 0, count);
            return 0;
        }
        if (is_stream_packet()) append_payload(packet);
    }
    frames_.take(destination, count);
    position_ += samples_per_frame;
    return count;
}

std::uint32_t AudioReader::peek_header() {
    PesPacket packet;
    const std::uint8_t* frame = frames_.find_next_frame();
    while (!frame) {
        do {
            if (!read_packet(packet)) return 0;
        } while (!is_stream_packet());
        if (payload_of(packet).empty()) return 0;
        append_payload(packet);
        frame = frames_.find_next_frame();
    }
    return frames_.available() > 3 ? read_header_word(frame) : 0;
}

}  // namespace quarnel
