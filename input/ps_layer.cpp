#include "input/ps_layer.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "input/pes_reader.h"

namespace quarnel {

namespace {

constexpr std::uint32_t last_video_code = 0x000001B8;  // group of pictures start code

class PsLayer final : public StreamOps {
  public:
    PsLayer(PesPacketWalker packets, StreamClass stream, std::uint32_t start_code)
        : packets_(std::move(packets)), stream_(stream), start_code_(start_code) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        if (size == 0 || (remaining() == 0 && !load_next_payload())) return 0;
        const std::size_t count = std::min(size, remaining());
        std::memcpy(destination, payload_.data() + cursor_, count);
        cursor_ += count;
        return count;
    }

    std::int64_t tell() override {
        return packets_.tell() - static_cast<std::int64_t>(remaining());
    }

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override;

  private:
    std::size_t remaining() const { return payload_.size() - cursor_; }
    bool is_own(const PesData& packet) const { return classify_pes_packet(packet) == stream_; }
    // Delivers the payload of `packet`, where the walker shows it, from its first byte on.
    void deliver(const PesData& packet) {
        payload_ = packet.bytes.last(pes_payload_size(packet));
        cursor_ = 0;
    }
    void clear_payload() {
        payload_ = {};
        cursor_ = 0;
    }

    // Walks packets up to the next one of the stream that has payload and makes its payload
    // the one delivered; false at the end of reading.
    bool load_next_payload() {
        while (const auto packet = packets_.next()) {
            if (!is_own(*packet)) continue;
            deliver(*packet);
            if (remaining() > 0) return true;
        }
        clear_payload();
        return false;
    }

    // After a backward search found the stream's start code, reads that packet; true when it
    // holds the target and its payload is now delivered from the target on.
    bool resume_inside_packet(std::int64_t target) {
        const auto packet = packets_.next();
        if (!packet || !is_own(*packet)) return false;
        const std::int64_t behind = packets_.tell() - target;  // packet bytes from the target on
        if (behind <= 0) return false;
        deliver(*packet);
        // A target inside the packet's header resumes at its first payload byte.
        if (behind < static_cast<std::int64_t>(payload_.size())) {
            cursor_ = payload_.size() - static_cast<std::size_t>(behind);
        }
        return true;
    }

    PesPacketWalker packets_;
    StreamClass stream_;
    std::uint32_t start_code_;
    // The payload being delivered, where the walker shows it, and the next byte's index.
    std::span<const std::uint8_t> payload_;
    std::size_t cursor_ = 0;
};

std::int64_t PsLayer::seek(std::int64_t offset, SeekOrigin origin) {
    clear_payload();
    BlockReader& reader = packets_.reader();
    const std::int64_t target = reader.seek(offset, origin);
    // Look back for the start of the stream's packet that may hold the target.
    bool found = false;
    while (reader.prev_start_code()) {
        if (reader.peek_bits(32) == start_code_) {
            found = true;
            break;
        }
        reader.step_back();
    }
    if (found && resume_inside_packet(target)) return tell();
    if (!found) reader.seek(0, SeekOrigin::begin);
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
    PesPacketWalker packets(std::move(reader));
    while (const auto packet = packets.next()) {
        const StreamClass stream = classify_pes_packet(*packet);
        if (stream.carries_stream() && stream.kind == wanted) {
            const std::uint32_t start_code = 0x100u + static_cast<std::uint32_t>(packet->stream_id);
            packets.reader().seek(0, SeekOrigin::begin);
            return std::make_unique<PsLayer>(std::move(packets), stream, start_code);
        }
    }
    return nullptr;
}

}  // namespace quarnel
