#include "input/ps_layer.h"

#include "input/pes_reader.h"

namespace quarnel {

namespace {

constexpr std::uint32_t last_video_code = 0x000001B8;  // group of pictures start code

class PsLayer final : public StreamOps {
  public:
    PsLayer(std::unique_ptr<BlockReader> reader, StreamClass stream, std::uint32_t start_code)
        : reader_(std::move(reader)), stream_(stream), start_code_(start_code) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        if (size == 0 || (payload_.remaining() == 0 && !load_next_payload())) return 0;
        return payload_.take(destination, size);
    }

    std::int64_t tell() override {
        return reader_->tell() - static_cast<std::int64_t>(payload_.remaining());
    }

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;

  private:
    bool is_own(const PesPacket& packet) const { return classify_pes_packet(packet) == stream_; }

    // Reads packets up to the next one of the stream that has payload and makes its payload
    // the one delivered; false at the end of reading.
    bool load_next_payload() {
        while (read_pes_packet(packet_, *reader_) > 0) {
            if (is_own(packet_) && pes_payload_size(packet_) > 0) {
                payload_.load(packet_);
                return true;
            }
        }
        payload_.clear();
        return false;
    }

    // After a backward search found the stream's start code, reads that packet; true when it
    // holds the target and its payload is now delivered from the target on.
    bool resume_inside_packet(std::int64_t target) {
        if (read_pes_packet(packet_, *reader_) == 0 || !is_own(packet_)) return false;
        const std::int64_t behind = reader_->tell() - target;  // packet bytes from the target on
        if (behind <= 0) return false;
        payload_.load(packet_);
        // A target inside the packet's header resumes at its first payload byte.
        const auto size = static_cast<std::int64_t>(payload_.size());
        payload_.move_to(static_cast<std::size_t>(behind < size ? size - behind : 0));
        return true;
    }

    std::unique_ptr<BlockReader> reader_;
    StreamClass stream_;
    std::uint32_t start_code_;
    PesPayloadBuffer payload_;
    PesPacket packet_;  // the packet being read, in storage handed back by payload_
};

std::int64_t PsLayer::seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t target = reader_->seek(offset, origin);
    payload_.clear();
    // Look back for the start of the stream's packet that may hold the target.
    bool found = false;
    while (reader_->prev_start_code()) {
        if (reader_->peek_bits(32) == start_code_) {
            found = true;
            break;
        }
        reader_->step_back();
    }
    if (found && resume_inside_packet(target)) return tell();
    if (!found) reader_->seek(0, SeekOrigin::begin);
    // Otherwise resume at the payload of the stream's next packet.
    load_next_payload();
    return tell();
}

}  // namespace

bool ps_probe(BlockReader& reader, std::int32_t limit) {
    while (reader.next_start_code(limit)) {
        if (reader.get_bits(32) > last_video_code) {
            reader.seek(0, SeekOrigin::begin);
            return true;
        }
        if (reader.tell() > limit) return false;
    }
    return false;
}

std::unique_ptr<StreamOps> ps_layer_open(const std::string& path, StreamKind wanted,
                                         const SettingsStore& settings) {
    auto reader = block_reader_open(path, settings);
    if (!reader || !ps_probe(*reader, read_search_limit(settings))) return nullptr;
    PesPacket packet;
    while (read_pes_packet(packet, *reader) > 0) {
        const StreamClass stream = classify_pes_packet(packet);
        if (stream.carries_stream() && stream.kind == wanted) {
            reader->seek(0, SeekOrigin::begin);
            const std::uint32_t start_code =
                0x100u + static_cast<std::uint32_t>(packet.stream_id());
            return std::make_unique<PsLayer>(std::move(reader), stream, start_code);
        }
    }
    return nullptr;
}

}  // namespace quarnel
