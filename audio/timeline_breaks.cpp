// Where the audio's time stamps break inside one file, as where two recordings were joined
// into one file and the second restarts its clock or jumps away. A break is a stamped packet
// whose stamp lies 5 ms or more before the end of the audio of the packets before it, or more
// than 10 s after that end; smaller gaps are audio missing from one recording and stay on its
// timeline.
//
// Reading every packet of a large file would cost a full scan. Instead the stamps are sampled
// at points spread over the set. Where two neighbouring samples advance out of step with the
// bytes between them, as the rest of the set advances, that stretch is halved towards the
// half further out of step until it is short, and the short stretch is read packet by packet.

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/audio_reader.h"
#include "audio/frame_header.h"
#include "input/pes_header.h"

namespace quarnel {
namespace {

// Stamps are sampled at this many points spread over the files of the set.
constexpr int sample_points = 16;
// How far a sample looks for a stamped packet, in bytes.
constexpr std::int64_t sample_reach_bytes = 2 << 20;
// A stretch this short is read packet by packet.
constexpr std::int64_t walk_bytes = 1 << 20;
// Halvings of the stretches of one file, at most: damaged stamps cannot make the search long.
constexpr int halving_limit = 64;
// A stamp this far before the end of the audio before it, or further, breaks the timeline;
// one more than this after it does too.
constexpr std::int64_t back_break_ticks = 450;            // 5 ms
constexpr std::int64_t forward_break_ticks = 10 * 90000;  // 10 s

}  // namespace

class StampBreakSearch {
  public:
    explicit StampBreakSearch(AudioReader& reader) : reader_(reader) {}

    std::vector<StampBreak> run(const StampedPacket& first, const StampedPacket& last) {
        std::vector<StampedPacket> samples{first};
        const std::int64_t total = reader_.packets_->file_set().file_end(reader_.file_count_ - 1);
        for (int i = 1; i < sample_points; ++i) {
            const std::int64_t at = total / sample_points * i;
            if (at <= first.position || at >= last.position) continue;
            const auto sample =
                reader_.first_stamped_packet(at, std::min(last.position, at + sample_reach_bytes));
            if (sample && sample->position > samples.back().position) samples.push_back(*sample);
        }
        if (last.position > samples.back().position) samples.push_back(last);
        ticks_per_byte_ = typical_ticks_per_byte(samples);
        for (std::size_t i = 0; i + 1 < samples.size(); ++i) {
            if (out_of_step(samples[i], samples[i + 1])) narrow(samples[i], samples[i + 1]);
        }
        std::sort(breaks_.begin(), breaks_.end(),
                  [](const StampBreak& a, const StampBreak& b) { return a.position < b.position; });
        return breaks_;
    }

  private:
    static std::int64_t ticks_between(const StampedPacket& a, const StampedPacket& b) {
        return stamp_difference(b.stamp, a.stamp);
    }

    // The median of the rates at which the stamps advance with the bytes between samples.
    static double typical_ticks_per_byte(const std::vector<StampedPacket>& samples) {
        std::vector<double> rates;
        for (std::size_t i = 0; i + 1 < samples.size(); ++i) {
            const std::int64_t ticks = ticks_between(samples[i], samples[i + 1]);
            const std::int64_t bytes = samples[i + 1].position - samples[i].position;
            if (ticks > 0 && bytes > 0)
                rates.push_back(static_cast<double>(ticks) / static_cast<double>(bytes));
        }
        if (rates.empty()) return 0;
        const auto middle = rates.begin() + static_cast<std::ptrdiff_t>(rates.size() / 2);
        std::nth_element(rates.begin(), middle, rates.end());
        return *middle;
    }

    double expected_ticks(const StampedPacket& a, const StampedPacket& b) const {
        return ticks_per_byte_ * static_cast<double>(b.position - a.position);
    }

    // The stamps from `a` to `b` advance less than half or more than twice (and 10 s) as much
    // as the bytes between them make one expect.
    bool out_of_step(const StampedPacket& a, const StampedPacket& b) const {
        const auto ticks = static_cast<double>(ticks_between(a, b));
        const double expected = expected_ticks(a, b);
        return ticks < expected / 2 || ticks > 2 * expected + forward_break_ticks;
    }

    double deviation(const StampedPacket& a, const StampedPacket& b) const {
        return std::abs(static_cast<double>(ticks_between(a, b)) - expected_ticks(a, b));
    }

    void narrow(const StampedPacket& a, const StampedPacket& b) {
        if (b.position - a.position <= walk_bytes) {
            walk(a, b);
            return;
        }
        if (halvings_ == halving_limit) return;
        ++halvings_;
        const std::int64_t middle = a.position + (b.position - a.position) / 2;
        const auto m =
            reader_.first_stamped_packet(middle, std::min(b.position, middle + sample_reach_bytes));
        if (!m) return;  // no stamp to tell the halves apart
        // The half further out of step first; the other only when it is out of step itself.
        const bool left_first = deviation(a, *m) >= deviation(*m, b);
        const StampedPacket& first_from = left_first ? a : *m;
        const StampedPacket& first_to = left_first ? *m : b;
        const StampedPacket& other_from = left_first ? *m : a;
        const StampedPacket& other_to = left_first ? b : *m;
        narrow(first_from, first_to);
        if (out_of_step(other_from, other_to)) narrow(other_from, other_to);
    }

    // Reads the packets from `a` to `b` and notes every break between them.
    void walk(const StampedPacket& a, const StampedPacket& b) {
        reader_.packets_->seek(a.position, b.position + 1);
        std::int64_t previous = -1;  // the last stamp met
        std::int64_t frames = 0;     // frames from the packet with that stamp on
        PesPacket packet;
        while (reader_.read_packet(packet)) {
            const std::int64_t start = reader_.place_.start;
            if (start > b.position) break;
            if (!reader_.is_stream_packet()) continue;
            const std::int64_t stamp = get_pes_timestamps(packet).pts;
            const int packet_frames = count_frames_in_payload(payload_of(packet));
            if (stamp < 0) {
                frames += packet_frames;
                continue;
            }
            if (previous >= 0) {
                const std::int64_t audio_end =
                    previous + samples_to_ticks(frames * samples_per_frame, reader_.sampling_rate_);
                const std::int64_t step = stamp_difference(stamp, audio_end);
                if (step <= -back_break_ticks || step > forward_break_ticks)
                    breaks_.push_back({start, stamp, audio_end});
            }
            previous = stamp;
            frames = packet_frames;
        }
    }

    AudioReader& reader_;
    double ticks_per_byte_ = 0;
    int halvings_ = 0;
    std::vector<StampBreak> breaks_;
};

std::vector<StampBreak> AudioReader::find_breaks(const StampedPacket& first,
                                                 const StampedPacket& last) {
    return StampBreakSearch(*this).run(first, last);
}

}  // namespace quarnel
