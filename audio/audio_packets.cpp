#include "audio/audio_packets.h"

#include "audio/audio_reader_ops.h"
#include "base/settings.h"
#include "input/block_reader.h"
#include "input/pes_reader.h"
#include "input/ts_packet_format.h"
#include "input/ts_program_packets.h"

namespace quarnel {
namespace {

constexpr std::int64_t packet_start_bytes = 6;  // 00 00 01, stream id, 16-bit length

class ProgramStreamPackets final : public AudioPackets {
  public:
    explicit ProgramStreamPackets(std::unique_ptr<BlockReader> blocks)
        : blocks_(std::move(blocks)) {}

    const FileSetOps& file_set() const override { return blocks_->file_set(); }
    void seek(std::int64_t position, std::int64_t end) override {
        blocks_->seek(position, SeekOrigin::begin);
        end_ = end;
    }
    std::int64_t tell() const override { return blocks_->tell(); }

    bool read(PesPacket& packet, PacketPlace& place) override {
        if (read_pes_packet(packet, *blocks_) <= 0) return false;
        const std::int64_t start = blocks_->tell() - packet_start_bytes - packet.length();
        if (start >= end_) return false;
        const StreamClass type = classify_pes_packet(packet);
        place = {.start = start,
                 .stream = packet.stream_id(),
                 .kind = type.kind,
                 .number = type.number};
        return true;
    }

    std::optional<PreviousPacket> read_previous(int stream, std::int64_t begin,
                                                std::int64_t before, PesPacket& packet) override {
        const std::uint32_t wanted = 0x100u | static_cast<std::uint32_t>(stream);
        blocks_->seek(before, SeekOrigin::begin);
        for (;;) {
            if (!blocks_->prev_start_code()) return std::nullopt;
            // The search finds the start code at `before` too.
            if (blocks_->peek_bits(32) != wanted || blocks_->tell() >= before) {
                blocks_->step_back();
                continue;
            }
            const std::int64_t at = blocks_->tell();
            if (at < begin) return std::nullopt;
            return PreviousPacket{at, read_pes_packet(packet, *blocks_) > 0};
        }
    }

  private:
    std::unique_ptr<BlockReader> blocks_;
    std::int64_t end_ = std::numeric_limits<std::int64_t>::max();
};

class TransportStreamPackets final : public AudioPackets {
  public:
    explicit TransportStreamPackets(std::unique_ptr<TsProgramPackets> packets)
        : packets_(std::move(packets)) {}

    const FileSetOps& file_set() const override { return packets_->file_set(); }
    void seek(std::int64_t position, std::int64_t end) override { packets_->seek(position, end); }
    std::int64_t tell() const override { return packets_->tell(); }

    bool read(PesPacket& packet, PacketPlace& place) override {
        TsProgramPackets::Found found;
        if (!packets_->next(packet, found)) return false;
        const bool video = found.stream == TsProgramPackets::video_stream;
        // Private data streams carry MPEG audio only in packets with its stream ids.
        const bool audio =
            !video && classify_pes_packet(packet).kind == StreamKind::mpeg_audio;
        place = {.start = found.start,
                 .stream = found.stream,
                 .kind = video ? StreamKind::video : audio ? StreamKind::mpeg_audio
                                                           : StreamKind::none,
                 .number = video ? 0 : found.stream - TsProgramPackets::first_audio_stream};
        return true;
    }

    void keep_only(int stream) override { packets_->keep_only(stream); }

    std::optional<PreviousPacket> read_previous(int stream, std::int64_t begin,
                                                std::int64_t before, PesPacket& packet) override {
        const auto at = packets_->previous(stream, begin, before, packet);
        if (!at) return std::nullopt;
        return PreviousPacket{*at, true};
    }

  private:
    std::unique_ptr<TsProgramPackets> packets_;
};

}  // namespace

std::unique_ptr<AudioPackets> open_audio_packets(const std::string& path,
                                                 std::span<const std::uint8_t> head,
                                                 const SettingsStore& settings) {
    if (detect_packet_format(head)) {
        auto packets = TsProgramPackets::open(path, settings);
        if (!packets) return nullptr;
        return std::make_unique<TransportStreamPackets>(std::move(packets));
    }
    if (!probe_audio_packets(head)) return nullptr;
    auto blocks = block_reader_open(path, settings);
    if (!blocks) return nullptr;
    return std::make_unique<ProgramStreamPackets>(std::move(blocks));
}

}  // namespace quarnel
