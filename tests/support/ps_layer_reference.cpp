#include "tests/support/ps_layer_reference.h"

#include <algorithm>
#include <vector>

#include "input/pes_reader.h"
#include "input/ps_layer.h"

namespace quarnel::test {

namespace {

class ReferencePsLayer final : public StreamOps {
  public:
    ReferencePsLayer(std::unique_ptr<BlockReader> reader, StreamClass stream, std::uint32_t code)
        : reader_(std::move(reader)), stream_(stream), start_code_(code) {}

    std::size_t read(std::uint8_t* destination, std::size_t size) override {
        if (size == 0 || (undelivered_.empty() && !load_next_payload())) return 0;
        const auto count = static_cast<std::ptrdiff_t>(std::min(size, undelivered_.size()));
        std::copy_n(undelivered_.begin(), count, destination);
        undelivered_.erase(undelivered_.begin(), undelivered_.begin() + count);
        return static_cast<std::size_t>(count);
    }

    std::int64_t tell() override {
        return reader_->tell() - static_cast<std::int64_t>(undelivered_.size());
    }

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override {
        const std::int64_t target = reader_->seek(offset, origin);
        undelivered_.clear();
        bool found = false;
        while (reader_->prev_start_code()) {
            if (reader_->peek_bits(32) == start_code_) {
                found = true;
                break;
            }
            reader_->step_back();
        }
        if (found && read_pes_packet(packet_, *reader_) > 0 && is_own()) {
            const std::int64_t behind = reader_->tell() - target;
            if (behind > 0) {
                load_payload();
                // The payload from the target on, or whole when the target is in the header.
                const auto size = static_cast<std::int64_t>(undelivered_.size());
                if (behind < size)
                    undelivered_.erase(undelivered_.begin(), undelivered_.end() - behind);
                return tell();
            }
        }
        if (!found) reader_->seek(0, SeekOrigin::begin);
        load_next_payload();
        return tell();
    }

  private:
    bool is_own() const { return classify_pes_packet(packet_) == stream_; }
    void load_payload() {
        undelivered_.resize(pes_payload_size(packet_));
        copy_pes_payload(packet_, undelivered_);
    }
    bool load_next_payload() {
        while (read_pes_packet(packet_, *reader_) > 0) {
            if (is_own() && pes_payload_size(packet_) > 0) {
                load_payload();
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<BlockReader> reader_;
    StreamClass stream_;
    std::uint32_t start_code_;
    PesPacket packet_;
    std::vector<std::uint8_t> undelivered_;  // the rest of the payload being delivered
};

}  // namespace

std::unique_ptr<StreamOps> reference_ps_layer_open(const std::string& path, StreamKind wanted,
                                                   const SettingsStore& settings) {
    auto reader = block_reader_open(path, settings);
    if (!reader || !ps_probe(*reader, read_search_limit(settings))) return nullptr;
    PesPacket packet;
    while (read_pes_packet(packet, *reader) > 0) {
        const StreamClass stream = classify_pes_packet(packet);
        if (stream.carries_stream() && stream.kind == wanted) {
            reader->seek(0, SeekOrigin::begin);
            const auto code = 0x100u + static_cast<std::uint32_t>(packet.stream_id());
            return std::make_unique<ReferencePsLayer>(std::move(reader), stream, code);
        }
    }
    return nullptr;
}

}  // namespace quarnel::test
