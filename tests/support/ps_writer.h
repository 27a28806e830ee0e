#pragma once
// Builds program streams byte by byte for tests: pack headers and PES packets with MPEG-1
// (ISO/IEC 11172-1) or MPEG-2 (ISO/IEC 13818-1) syntax, system headers, private stream 1
// sub-streams, padding and end codes.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace quarnel::test {

using Bytes = std::vector<std::uint8_t>;

enum class MuxSyntax { mpeg1, mpeg2 };

// Optional fields of a PES header.
struct PesFields {
    std::int64_t pts = -1;    // 90 kHz ticks, -1 for none
    std::int64_t dts = -1;    // written only together with a PTS
    int stuffing = 0;         // 0xFF bytes in the header
    bool std_buffer = false;  // STD buffer fields (MPEG-1) or the P-STD buffer extension (MPEG-2)
};

// The bytes of a PES header that follow the length field, before the payload.
Bytes pes_header_bytes(MuxSyntax syntax, const PesFields& fields = {});

// A whole packet: 00 00 01 stream_id, the length of `body` (0 when not `bounded`, as
// transport streams carry video), `body`.
Bytes system_packet(int stream_id, std::span<const std::uint8_t> body, bool bounded = true);

// A PES packet with a header of `syntax` and `payload`.
Bytes pes_packet(MuxSyntax syntax, int stream_id, std::span<const std::uint8_t> payload,
                 const PesFields& fields = {}, bool bounded = true);

class PsWriter {
  public:
    explicit PsWriter(MuxSyntax syntax = MuxSyntax::mpeg2) : syntax_(syntax) {}

    PsWriter& pack_header(std::int64_t scr = 0, int mux_rate = 25200);
    PsWriter& system_header(std::initializer_list<int> stream_ids);
    PsWriter& pes(int stream_id, std::span<const std::uint8_t> payload,
                  const PesFields& fields = {});
    // Private stream 1 (0xBD): the sub-stream id leads the payload; AC-3 sub-streams
    // (0x80-0x8F) also get a frame count of 1 and a first access unit pointer of 1.
    PsWriter& private_stream_1(int sub_stream_id, std::span<const std::uint8_t> payload,
                               const PesFields& fields = {});
    // A padding packet (0xBE) of `length` bytes after its length field.
    PsWriter& padding(int length);
    PsWriter& end_code();
    PsWriter& raw(std::span<const std::uint8_t> bytes);
    // `payload` split into packets of at most `chunk` payload bytes, each after a pack
    // header; `first` gives the header fields of the first packet.
    PsWriter& packets(int stream_id, std::span<const std::uint8_t> payload, std::size_t chunk,
                      const PesFields& first = {});

    const Bytes& bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

  private:
    MuxSyntax syntax_;
    Bytes bytes_;
};

// The parts one after another.
Bytes concat(std::initializer_list<Bytes> parts);

// `count` bytes of 0x02 ... 0xFF varying with the offset and the seed: no 00 00 01 forms.
Bytes pattern_bytes(std::size_t count, std::uint8_t seed = 0);

}  // namespace quarnel::test
