#pragma once
// Small reading steps shared by the sequence and picture header parsers.

#include <cstdint>

#include "video/header_codes.h"
#include "video/sequence_info.h"
#include "video/video_bit_reader.h"

namespace quarnel {

// A field of at most 31 bits, as the records store it.
inline std::int32_t read_field(VideoBitReader& reader, int bits) {
    return static_cast<std::int32_t>(reader.get_bits(bits));
}

inline void skip_marker_bit(VideoBitReader& reader) {
    reader.skip_bits(1);
}

// 64 eight-bit values in the order they are coded (zigzag scan).
inline void read_quantiser_matrix(VideoBitReader& reader, QuantiserMatrix& matrix) {
    for (auto& value : matrix) value = static_cast<std::uint16_t>(reader.get_bits(8));
}

// Calls parse_extension(extension_start_code_identifier) for each extension that follows,
// with the reader just past the identifier. User data ends the run unless passed over; any
// other start code ends it and stays unconsumed.
template <typename ParseExtension>
void for_each_extension(VideoBitReader& reader, bool pass_over_user_data,
                        ParseExtension&& parse_extension) {
    while (reader.next_start_code()) {
        const std::uint32_t code = reader.peek_bits(32);
        if (code == user_data_start_code && pass_over_user_data) {
            reader.skip_bits(32);
            continue;
        }
        if (code != extension_start_code) return;
        reader.skip_bits(32);
        parse_extension(read_field(reader, 4));
    }
}

}  // namespace quarnel
