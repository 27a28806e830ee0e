// The audio stream's timeline: which time stamp is sample 0, where the audio of each file of
// the set ends and where its stamps break, and from that the length in samples: the spans
// whose stamps run on without a break, one after another.

#include <algorithm>
#include <cstdlib>

#include "audio/audio_reader.h"
#include "audio/display_start.h"
#include "audio/frame_header.h"
#include "input/pes_header.h"
#include "input/pes_payload.h"

namespace quarnel {
namespace {

// Stamps of consecutive files closer than this to the measured end continue one another.
constexpr std::int64_t continuity_ticks = 450;  // 5 ms
// Stamped packets without a frame met at a file's end before giving up.
constexpr int frameless_packet_limit = 5;

}  // namespace

bool AudioReader::find_start_time() {
    packets_->seek(0);
    DisplayStartScan video;
    std::int64_t audio_stamp = -1;
    int video_number = -1;
    PesPacket packet;
    while (read_packet(packet)) {
        if (is_stream_packet()) {
            if (audio_stamp < 0) audio_stamp = get_pes_timestamps(packet).pts;
        } else if (place_.kind == StreamKind::video) {
            // The first video stream in the file is the one shown.
            if (video_number < 0) video_number = place_.number;
            if (place_.number == video_number) {
                video.add_packet(payload_of(packet), get_pes_timestamps(packet).pts);
            }
        }
        if ((audio_stamp >= 0 && video.found()) || packets_->tell() > scan_limit_bytes) break;
    }
    // Without a stamped audio packet there is nothing to measure, whatever the video says.
    const std::int64_t start =
        audio_stamp >= 0 && video.found() ? video.display_start() : audio_stamp;
    spans_.assign(1, TimelineSpan{.begin = 0,
                                  .end = packets_->file_set().file_end(0),
                                  .first_stamp = start,
                                  .start_time = 0});
    return start >= 0;
}

std::optional<StampedPacket> AudioReader::last_stamped_packet(int file) {
    const std::int64_t begin = file_start(file);
    const std::int64_t end = packets_->file_set().file_end(file);
    int frameless = 0;
    PesPacket packet;
    // Packets that begin at the file's end are the next file's.
    for (std::int64_t before = end;;) {
        // Audio of an earlier file does not tell where this one ends.
        const auto previous = packets_->read_previous(stream_, begin, before, packet);
        if (!previous) return std::nullopt;
        const std::int64_t at = previous->start;
        if (previous->whole) {
            const std::int64_t stamp = get_pes_timestamps(packet).pts;
            if (stamp >= 0) {
                const int frames = count_frames_in_payload(payload_of(packet));
                if (frames > 0) return StampedPacket{at, stamp, frames};
                if (++frameless == frameless_packet_limit) return std::nullopt;
            }
        }
        before = at;
    }
}

std::optional<StampedPacket> AudioReader::first_stamped_packet(std::int64_t from,
                                                               std::int64_t before) {
    packets_->seek(from, before);
    PesPacket packet;
    while (read_packet(packet)) {
        const std::int64_t start = place_.start;
        if (start >= before) break;
        if (!is_stream_packet()) continue;
        const std::int64_t stamp = get_pes_timestamps(packet).pts;
        if (stamp >= 0) return StampedPacket{start, stamp, 0};
    }
    return std::nullopt;
}

bool AudioReader::measure_length() {
    std::vector<TimelineSpan> spans;
    TimelineSpan span = spans_.front();
    // The first stamped packet of the file being measured.
    std::optional<StampedPacket> first = first_stamped_packet(0, span.end);
    for (int file = 0; file < file_count_; ++file) {
        const std::int64_t file_end = packets_->file_set().file_end(file);
        span.end = file_end;
        // Where the file's audio ends on the timeline; a file without stamped audio adds
        // nothing.
        std::int64_t end_time = span.start_time;
        if (span.first_stamp >= 0) {
            const std::optional<StampedPacket> last = last_stamped_packet(file);
            if (!last || !first) return false;
            for (const StampBreak& at : find_breaks(*first, *last)) {
                span.end = at.position;
                spans.push_back(span);
                span = TimelineSpan{.begin = at.position,
                                    .end = file_end,
                                    .first_stamp = at.stamp,
                                    .start_time = span.start_time +
                                                  stamp_difference(at.audio_end, span.first_stamp)};
            }
            end_time = span.start_time + stamp_difference(last->stamp, span.first_stamp) +
                       samples_to_ticks(last->frames * samples_per_frame, sampling_rate_);
        }
        spans.push_back(span);

        TimelineSpan next{
            .begin = file_end, .end = file_end, .first_stamp = -1, .start_time = end_time};
        first = std::nullopt;
        if (file + 1 < file_count_) {
            first = first_stamped_packet(file_end, packets_->file_set().file_end(file + 1));
            if (first) next.first_stamp = first->stamp;
        }
        // The next file's own stamps are exact when they continue this file's audio.
        if (span.first_stamp >= 0 && next.first_stamp >= 0) {
            const std::int64_t stamped = stamp_difference(next.first_stamp, span.first_stamp);
            if (std::llabs((next.start_time - span.start_time) - stamped) < continuity_ticks) {
                next.start_time = span.start_time + stamped;
            }
        }
        span = next;
    }
    spans_ = std::move(spans);
    // Audio that ends before the first picture shown has nothing left to play.
    total_samples_ = std::max<std::int64_t>(0, ticks_to_samples(span.start_time, sampling_rate_));
    return true;
}

}  // namespace quarnel
