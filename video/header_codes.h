#pragma once
// Start code values as peek_bits(32) shows them, and extension identifiers
// (ISO/IEC 13818-2, Tables 6-1 and 6-2).

#include <cstdint>

namespace quarnel {

inline constexpr std::uint32_t picture_start_code = 0x00000100;
inline constexpr std::uint32_t slice_start_code_first = 0x00000101;
inline constexpr std::uint32_t user_data_start_code = 0x000001B2;
inline constexpr std::uint32_t sequence_header_code = 0x000001B3;
inline constexpr std::uint32_t extension_start_code = 0x000001B5;
inline constexpr std::uint32_t sequence_end_code = 0x000001B7;
inline constexpr std::uint32_t group_start_code = 0x000001B8;

inline constexpr int sequence_extension_id = 1;
inline constexpr int sequence_display_extension_id = 2;
inline constexpr int quant_matrix_extension_id = 3;
inline constexpr int copyright_extension_id = 4;
inline constexpr int sequence_scalable_extension_id = 5;
inline constexpr int picture_display_extension_id = 7;
inline constexpr int picture_coding_extension_id = 8;
inline constexpr int picture_spatial_scalable_extension_id = 9;
inline constexpr int picture_temporal_scalable_extension_id = 10;

}  // namespace quarnel
