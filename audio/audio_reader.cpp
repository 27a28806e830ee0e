#include "audio/audio_reader.h"

#include <fstream>
#include <new>

#include "audio/frame_header.h"
#include "input/pes_header.h"
#include "input/pes_payload.h"
#include "input/pes_reader.h"
#include "input/start_code.h"

namespace quarnel {
namespace {

// How much of the file's start the probe reads.
constexpr std::size_t probe_bytes = 616448;
// How far into the set the stream is looked for, in bytes.
constexpr std::int64_t stream_search_limit = 8388608;
// Payload collected for the format check, in bytes (one packet more may arrive).
constexpr std::size_t format_check_bytes = 65536;

bool is_mpeg_audio_id(std::uint8_t id) {
    return (id & 0xE0) == 0xC0;
}

std::vector<std::uint8_t> read_file_start(const std::string& path) {
    std::vector<std::uint8_t> data;
    std::ifstream file(path, std::ios::binary);
    if (!file) return data;
    data.resize(probe_bytes);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(file.gcount()));
    return data;
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

std::unique_ptr<AudioReaderOps> audio_reader_open(const std::string& path,
                                                  const SettingsStore& settings) {
    if (!probe_audio_packets(read_file_start(path))) return nullptr;
    auto blocks = block_reader_open(path, settings);
    if (!blocks) return nullptr;
    return AudioReader::create(std::move(blocks));
}

AudioReader::AudioReader(std::unique_ptr<BlockReader> blocks) : blocks_(std::move(blocks)) {}

std::unique_ptr<AudioReader> AudioReader::create(std::unique_ptr<BlockReader> blocks) {
    std::unique_ptr<AudioReader> reader(new (std::nothrow) AudioReader(std::move(blocks)));
    if (!reader) return nullptr;
    reader->file_count_ = reader->blocks_->file_set().file_count();
    reader->time_table_.assign(static_cast<std::size_t>(reader->file_count_) + 1, {});
    if (!reader->find_audio_stream() || !reader->find_start_time() || !reader->measure_length()) {
        return nullptr;
    }
    reader->frames_.clear();
    reader->seek_samples(0);
    return reader;
}

AudioInfo AudioReader::get_info() const {
    return {total_samples_, sampling_rate_, channels_, bit_rate_};
}

bool AudioReader::read_packet(PesPacket& packet) {
    return read_pes_packet(packet, *blocks_) > 0;
}

bool AudioReader::is_stream_packet(const PesPacket& packet) const {
    return packet.stream_id() == stream_id_;
}

std::int64_t AudioReader::read_stamped_packet(PesPacket& packet) {
    while (read_packet(packet)) {
        if (!is_stream_packet(packet)) continue;
        const std::int64_t stamp = get_pes_timestamps(packet).pts;
        if (stamp >= 0) return stamp;
    }
    return -1;
}

std::int64_t AudioReader::file_start(int file) const {
    return file == 0 ? 0 : blocks_->file_set().file_end(file - 1);
}

std::span<const std::uint8_t> payload_of(const PesPacket& packet) {
    const std::span<const std::uint8_t> stored = packet.stored();
    return stored.last(std::min(pes_payload_size(packet), stored.size()));
}

bool AudioReader::append_payload(const PesPacket& packet) {
    const std::span<const std::uint8_t> payload = payload_of(packet);
    return frames_.append(payload.data(), payload.size());
}

bool AudioReader::find_audio_stream() {
    blocks_->seek(0, SeekOrigin::begin);
    stream_id_ = 0;
    PesPacket packet;
    while (stream_id_ == 0) {
        if (!read_packet(packet)) return false;
        if (classify_pes_packet(packet).kind == StreamKind::mpeg_audio) {
            stream_id_ = packet.stream_id();
        } else if (blocks_->tell() > stream_search_limit) {
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
        if (collected.size() > format_check_bytes || blocks_->tell() > stream_search_limit) break;
        if (is_stream_packet(packet)) collect();
    }

    // Two chained frames confirm the format.
    const FrameChain chain = walk_frame_chain(collected);
    if (chain.run == 0) return false;
    sampling_rate_ = chain.confirmed.sampling_rate;
    channels_ = chain.confirmed.channels;
    bit_rate_ = chain.confirmed.bit_rate;
    return true;
}

}  // namespace quarnel
