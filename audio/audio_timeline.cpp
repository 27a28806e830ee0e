// The audio stream's timeline: which time stamp is sample 0, where the audio of each file of
// the set ends, and from that the length in samples.

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
    blocks_->seek(0, SeekOrigin::begin);
    DisplayStartScan video;
    std::int64_t audio_stamp = -1;
    int video_number = -1;
    PesPacket packet;
    while (read_packet(packet)) {
        if (is_stream_packet(packet)) {
            if (audio_stamp < 0) audio_stamp = get_pes_timestamps(packet).pts;
        } else if (const StreamClass type = classify_pes_packet(packet);
                   type.kind == StreamKind::video) {
            // The first video stream in the file is the one shown.
            if (video_number < 0) video_number = type.number;
            if (type.number == video_number) {
                video.add_packet(payload_of(packet), get_pes_timestamps(packet).pts);
            }
        }
        if ((audio_stamp >= 0 && video.found()) || blocks_->tell() > scan_limit_bytes) break;
    }
    // Without a stamped audio packet there is nothing to measure, whatever the video says.
    time_table_[0].first_stamp =
        audio_stamp >= 0 && video.found() ? video.display_start() : audio_stamp;
    return time_table_[0].first_stamp >= 0;
}

std::optional<std::int64_t> AudioReader::last_audio_end(int file) {
    const std::int64_t begin = file_start(file);
    const std::int64_t end = blocks_->file_set().file_end(file);
    const std::uint32_t wanted = 0x100u | static_cast<std::uint32_t>(stream_id_);
    blocks_->seek(end, SeekOrigin::begin);
    int frameless = 0;
    PesPacket packet;
    for (;;) {
        if (!blocks_->prev_start_code()) return std::nullopt;
        // The search finds a start code at the file's end too: that packet is the next file's.
        if (blocks_->peek_bits(32) != wanted || blocks_->tell() >= end) {
            blocks_->step_back();
            continue;
        }
        const std::int64_t at = blocks_->tell();
        // Audio of an earlier file does not tell where this one ends.
        if (at < begin) return std::nullopt;
        if (read_packet(packet)) {
            const std::int64_t stamp = get_pes_timestamps(packet).pts;
            if (stamp >= 0) {
                const int frames = count_frames_in_payload(payload_of(packet));
                if (frames > 0) {
                    return stamp_difference(
                               stamp, time_table_[static_cast<std::size_t>(file)].first_stamp) +
                           samples_to_ticks(frames * samples_per_frame, sampling_rate_);
                }
                if (++frameless == frameless_packet_limit) return std::nullopt;
            }
        }
        if (at < 4) return std::nullopt;
        // Resume so that only start codes beginning before this packet are found.
        blocks_->seek(at - 4, SeekOrigin::begin);
    }
}

std::int64_t AudioReader::first_stamp_in(int file) {
    if (file >= file_count_) return -1;
    blocks_->seek(file_start(file), SeekOrigin::begin);
    PesPacket packet;
    const std::int64_t stamp = read_stamped_packet(packet);
    const std::int64_t packet_start = blocks_->tell() - 6 - packet.length();
    return packet_start < blocks_->file_set().file_end(file) ? stamp : -1;
}

bool AudioReader::measure_file_end(int file) {
    const FileTimeEntry& entry = time_table_[static_cast<std::size_t>(file)];
    FileTimeEntry& next = time_table_[static_cast<std::size_t>(file) + 1];
    if (entry.first_stamp < 0) {
        // No stamped audio begins in this file: it adds nothing to the timeline.
        next.start_time = entry.start_time;
    } else {
        const std::optional<std::int64_t> end = last_audio_end(file);
        if (!end) return false;
        next.start_time = entry.start_time + *end;
    }
    next.first_stamp = first_stamp_in(file + 1);
    if (entry.first_stamp < 0 || next.first_stamp < 0) return true;
    // The next file's own stamps are exact when they continue this file's audio.
    const std::int64_t stamped = stamp_difference(next.first_stamp, entry.first_stamp);
    if (std::llabs((next.start_time - entry.start_time) - stamped) < continuity_ticks) {
        next.start_time = entry.start_time + stamped;
    }
    return true;
}

bool AudioReader::measure_length() {
    for (int file = 0; file < file_count_; ++file) {
        if (!measure_file_end(file)) return false;
    }
    // Audio that ends before the first picture shown has nothing left to play.
    total_samples_ =
        std::max<std::int64_t>(0, ticks_to_samples(time_table_.back().start_time, sampling_rate_));
    return true;
}

}  // namespace quarnel
