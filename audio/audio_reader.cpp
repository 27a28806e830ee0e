#include "audio/audio_reader.h"

#include <cstdio>
#include <new>

#include "base/regular_file.h"
#include "input/pes_header.h"
#include "input/pes_payload.h"

namespace quarnel {
namespace {

// How much of the file's start the probe reads.
constexpr std::size_t probe_bytes = 616448;

std::vector<std::uint8_t> read_file_start(const std::string& path) {
    std::vector<std::uint8_t> data;
    const StdioFile file = open_regular_file_for_reading(path);
    if (!file) return data;
    data.resize(probe_bytes);
    data.resize(std::fread(data.data(), 1, data.size(), file.get()));
    return data;
}

}  // namespace

std::unique_ptr<AudioReaderOps> audio_reader_open(const std::string& path,
                                                  const SettingsStore& settings) {
    auto packets = open_audio_packets(path, read_file_start(path), settings);
    if (!packets) return nullptr;
    return AudioReader::create(std::move(packets));
}

AudioReader::AudioReader(std::unique_ptr<AudioPackets> packets)
    : packets_(std::move(packets)) {}

std::unique_ptr<AudioReader> AudioReader::create(std::unique_ptr<AudioPackets> packets) {
    std::unique_ptr<AudioReader> reader(new (std::nothrow) AudioReader(std::move(packets)));
    if (!reader) return nullptr;
    reader->file_count_ = reader->packets_->file_set().file_count();
    if (!reader->find_audio_stream() || !reader->find_start_time()) return nullptr;
    // The video has told where display starts: from here on only the audio is read.
    reader->packets_->keep_only(reader->stream_);
    if (!reader->measure_length()) return nullptr;
    reader->frames_.clear();
    reader->seek_samples(0);
    return reader;
}

AudioInfo AudioReader::get_info() const {
    return {total_samples_, sampling_rate_, channels_, bit_rate_};
}

bool AudioReader::read_packet(PesPacket& packet) {
    return packets_->read(packet, place_);
}

std::int64_t AudioReader::read_stamped_packet(PesPacket& packet) {
    while (read_packet(packet)) {
        if (!is_stream_packet()) continue;
        const std::int64_t stamp = get_pes_timestamps(packet).pts;
        if (stamp >= 0) return stamp;
    }
    return -1;
}

std::int64_t AudioReader::file_start(int file) const {
    return file == 0 ? 0 : packets_->file_set().file_end(file - 1);
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
