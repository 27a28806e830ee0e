// Which audio stream of the file is read: of the MPEG audio streams, in the order of their
// first packets, the first whose frame headers confirm MPEG-1 Layer II.

#include <algorithm>

#include "audio/audio_reader.h"
#include "audio/frame_header.h"
#include "base/start_code.h"
#include "input/pes_payload.h"

namespace quarnel {
namespace {

// Payload collected for the format check, in bytes (one packet more may arrive).
constexpr std::size_t format_check_bytes = 65536;

bool is_mpeg_audio_id(std::uint8_t id) {
    return (id & 0xE0) == 0xC0;
}

// An MPEG audio stream met while choosing, with the payload collected for its format check.
struct Candidate {
    explicit Candidate(int id) : stream_id(id) {}

    int stream_id;
    std::vector<std::uint8_t> collected;
    bool checked = false;
    std::optional<AudioFrameHeader> format;  // the confirmed format, once checked

    void check() {
        format = find_confirming_run(collected);
        checked = true;
        collected = {};
    }
    // Collects one more payload; the check runs once the collection is complete.
    void add(std::span<const std::uint8_t> payload) {
        if (checked) return;
        collected.insert(collected.end(), payload.begin(), payload.end());
        if (collected.size() > format_check_bytes) check();
    }
};

// The stream chosen once every stream met before it has been refused; null while the first
// stream not yet refused is still collecting.
const Candidate* first_confirmed(const std::vector<Candidate>& candidates) {
    for (const Candidate& candidate : candidates) {
        if (!candidate.checked) return nullptr;
        if (candidate.format) return &candidate;
    }
    return nullptr;
}

}  // namespace

bool probe_audio_packets(std::span<const std::uint8_t> data) {
    const std::uint8_t* const begin = data.data();
    const std::uint8_t* const end = begin + data.size();
    for (const std::uint8_t* p = find_start_code(begin, end); p;
         p = end - p >= 4 ? find_start_code(p + 4, end) : nullptr) {
        const std::size_t at = static_cast<std::size_t>(p - begin);
        if (data.size() - at < 6 || !is_mpeg_audio_id(p[3])) continue;
        // The packet must be followed directly by a start code or by zero bytes.
        const std::size_t after = at + ((std::size_t{p[4]} << 8) | p[5]) + 6;
        if (after + 4 < data.size() && data[after] == 0 && data[after + 1] == 0 &&
            data[after + 2] <= 1) {
            return true;
        }
    }
    return false;
}

bool AudioReader::find_audio_stream() {
    packets_->seek(0);
    std::vector<Candidate> candidates;
    const Candidate* chosen = nullptr;
    PesPacket packet;
    while (!chosen && read_packet(packet)) {
        const bool audio = place_.kind == StreamKind::mpeg_audio;
        // The first audio packet counts even when it ends beyond the scan.
        if (packets_->tell() > scan_limit_bytes && !(audio && candidates.empty())) break;
        if (!audio) continue;
        auto candidate =
            std::find_if(candidates.begin(), candidates.end(),
                         [&](const Candidate& c) { return c.stream_id == place_.stream; });
        if (candidate == candidates.end()) {
            candidate = candidates.emplace(candidates.end(), place_.stream);
        }
        candidate->add(payload_of(packet));
        chosen = first_confirmed(candidates);
    }
    if (!chosen) {
        // The scan ended: the streams still collecting are checked on what they hold.
        for (Candidate& candidate : candidates) {
            if (!candidate.checked) candidate.check();
        }
        chosen = first_confirmed(candidates);
        if (!chosen) return false;
    }
    stream_ = chosen->stream_id;
    sampling_rate_ = chosen->format->sampling_rate;
    channels_ = chosen->format->channels;
    bit_rate_ = chosen->format->bit_rate;
    return true;
}

}  // namespace quarnel
