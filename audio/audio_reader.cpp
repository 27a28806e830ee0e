#include "audio/audio_reader.h"

#include <cstdio>
#include <new>

#include "base/stdio_file.h"
#include "input/pes_header.h"
#include "input/pes_payload.h"
#include "input/pes_reader.h"

namespace quarnel {
namespace {

// How much of the file's start the probe reads.
constexpr std::size_t probe_bytes = 616448;

std::vector<std::uint8_t> read_file_start(const std::string& path) {
    std::vector<std::uint8_t> data;
    const StdioFile file = open_stdio_file(path, "rb");
    if (!file) return data;
    data.resize(probe_bytes);
    data.resize(std::fread(data.data(), 1, data.size(), file.get()));
    return data;
}

}  // namespace

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

}  // namespace quarnel
