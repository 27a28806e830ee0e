#pragma once
// Builds transport streams byte by byte for tests (ISO/IEC 13818-1, 2.4.3 and 2.4.4): PES
// packets cut into transport packets, program association and program map sections with
// their CRC, adaptation fields and stuffing, in 188-, 192- and 204-byte packets.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "tests/support/ps_writer.h"

namespace quarnel::test {

// CRC-32/MPEG-2 (ISO/IEC 13818-1, annex A): the last word of every table section.
std::uint32_t crc32_mpeg2(std::span<const std::uint8_t> bytes);

struct PatEntry {
    int program_number = 1;
    int pid = 0x100;  // of the program map section, or of the network table for program 0
};

struct PmtEntry {
    int stream_type = 0x02;
    int pid = 0x100;
    Bytes es_info;  // descriptors
};

// Whole sections, from table_id to the CRC.
Bytes pat_section(std::initializer_list<PatEntry> programs);
Bytes pmt_section(int program_number, std::initializer_list<PmtEntry> streams,
                  const Bytes& program_info = {});

class TsWriter {
  public:
    // 188, 192 (with a 4-byte prefix) or 204 (with 16 trailing bytes).
    explicit TsWriter(int packet_size = 188) : packet_size_(packet_size) {}

    // One transport packet. `adaptation_length` -1 writes no adaptation field; otherwise a
    // field of that length (0 ... 183) whose stuffing is 0xFF. The payload (at most what the
    // rest holds) is padded with 0xFF.
    TsWriter& packet(int pid, bool unit_start, std::span<const std::uint8_t> payload,
                     int adaptation_length = -1);
    // A packet with an adaptation field of `length` and no payload at all.
    TsWriter& adaptation_only(int pid, int length = 183);
    // `pes` cut into packets, the first with payload_unit_start_indicator; the last packet is
    // filled up with adaptation field stuffing.
    TsWriter& pes(int pid, std::span<const std::uint8_t> pes);
    // A section after a pointer_field of 0, followed by `after` and then 0xFF stuffing.
    TsWriter& section(int pid, std::span<const std::uint8_t> section, const Bytes& after = {});
    // `payload` in video PES packets (stream id 0xE0, unbounded) of at most `chunk` bytes.
    TsWriter& video(int pid, std::span<const std::uint8_t> payload, std::size_t chunk,
                    int stream_id = 0xE0);

    const Bytes& bytes() const { return bytes_; }
    std::size_t packet_count() const {
        return bytes_.size() / static_cast<std::size_t>(packet_size_);
    }

  private:
    int packet_size_;
    int continuity_[8192] = {};
    Bytes bytes_;
};

// `ts` (188-byte packets) with `prefix_size` bytes before and `suffix_size` bytes after
// each packet: 4 and 0 give recorders' 192-byte units, 0 and 16 broadcast 204-byte ones.
Bytes repack(std::span<const std::uint8_t> ts, std::size_t prefix_size, std::size_t suffix_size);

}  // namespace quarnel::test
