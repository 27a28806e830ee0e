#pragma once
// One sequence header with its extensions (ISO/IEC 11172-2 and 13818-2, 6.2.2). The field
// order is fixed: the GOP list file stores these records as 103 little-endian words.

#include <array>
#include <cstdint>

namespace quarnel {

using QuantiserMatrix = std::array<std::uint16_t, 64>;  // stream (zigzag) order

struct SequenceInfo {
    std::int32_t horizontal_size = 0;
    std::int32_t vertical_size = 0;
    std::int32_t coded_width = 0;
    std::int32_t coded_height = 0;
    std::int32_t aspect_ratio_information = 0;
    std::int32_t frame_rate_code = 0;
    std::int32_t bit_rate = 0;  // units of 400 bit/s
    std::int32_t vbv_buffer_size = 0;
    std::int32_t constrained_parameters_flag = 0;
    std::int32_t load_intra_quantiser_matrix = 0;
    QuantiserMatrix intra_quantiser_matrix{};
    std::int32_t load_non_intra_quantiser_matrix = 0;
    QuantiserMatrix non_intra_quantiser_matrix{};

    // sequence_extension
    std::int32_t sequence_extension_present = 0;
    std::int32_t profile_and_level_indication = 0;
    std::int32_t progressive_sequence = 0;
    std::int32_t chroma_format = 0;
    std::int32_t low_delay = 0;
    std::int32_t frame_rate_extension_n = 0;
    std::int32_t frame_rate_extension_d = 0;

    // sequence_display_extension
    std::int32_t sequence_display_extension_present = 0;
    std::int32_t video_format = 0;
    std::int32_t colour_description = 0;
    std::int32_t colour_primaries = 0;
    std::int32_t transfer_characteristics = 0;
    std::int32_t matrix_coefficients = 0;
    std::int32_t display_horizontal_size = 0;
    std::int32_t display_vertical_size = 0;

    // sequence_scalable_extension
    std::int32_t sequence_scalable_extension_present = 0;
    std::int32_t scalable_mode = 0;
    std::int32_t layer_id = 0;
    std::int32_t lower_layer_prediction_horizontal_size = 0;
    std::int32_t lower_layer_prediction_vertical_size = 0;
    std::int32_t horizontal_subsampling_factor_m = 0;
    std::int32_t horizontal_subsampling_factor_n = 0;
    std::int32_t vertical_subsampling_factor_m = 0;
    std::int32_t vertical_subsampling_factor_n = 0;
    std::int32_t picture_mux_enable = 0;
    std::int32_t mux_to_progressive_sequence = 0;
    std::int32_t picture_mux_order = 0;
    std::int32_t picture_mux_factor = 0;

    bool operator==(const SequenceInfo&) const = default;
};

inline constexpr std::size_t sequence_info_words = 103;
static_assert(sizeof(SequenceInfo) == sequence_info_words * 4, "SequenceInfo is 103 words");

}  // namespace quarnel
