// Which audio stream of the file is read: the first MPEG audio stream whose frame headers
// confirm MPEG-1 Layer II.

#include "audio/audio_reader.h"
#include "audio/frame_header.h"
#include "input/pes_payload.h"
#include "input/start_code.h"

namespace quarnel {
namespace {

// Payload collected for the format check, in bytes (one packet more may arrive).
constexpr std::size_t format_check_bytes = 65536;

bool is_mpeg_audio_id(std::uint8_t id) {
    return (id & 0xE0) == 0xC0;
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
    blocks_->seek(0, SeekOrigin::begin);
    stream_id_ = 0;
    PesPacket packet;
    while (stream_id_ == 0) {
        if (!read_packet(packet)) return false;
        if (classify_pes_packet(packet).kind == StreamKind::mpeg_audio) {
            stream_id_ = packet.stream_id();
        } else if (blocks_->tell() > scan_limit_bytes) {
            return false;
        }
    }

    // Collect payload of the stream to check its frame headers.
    std::vector<std::uint8_t> collected;
    const auto collect = [&] {
        const std::span<const std::uint8_t> payload = payload_of(packet);
        collected.insert(collected.end(), payload.begin(), payload.end());
    };
    collect();
    while (read_packet(packet)) {
        if (collected.size() > format_check_bytes || blocks_->tell() > scan_limit_bytes) break;
        if (is_stream_packet(packet)) collect();
    }

    const std::optional<AudioFrameHeader> run = find_confirming_run(collected);
    if (!run) return false;
    sampling_rate_ = run->sampling_rate;
    channels_ = run->channels;
    bit_rate_ = run->bit_rate;
    return true;
}

}  // namespace quarnel
