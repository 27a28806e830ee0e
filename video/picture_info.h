#pragma once
// One picture header with the extensions that follow it (ISO/IEC 11172-2 2.4.2.5 and
// ISO/IEC 13818-2 6.2.3). Each extension's fields keep their value when the extension is
// absent; only the presence flags are cleared by every parse.

#include <array>
#include <cstdint>

#include "video/sequence_info.h"

namespace quarnel {

// picture_coding_type values (ISO/IEC 13818-2, Table 6-12)
inline constexpr std::int32_t picture_type_i = 1;
inline constexpr std::int32_t picture_type_p = 2;
inline constexpr std::int32_t picture_type_b = 3;

// picture_structure values (ISO/IEC 13818-2, Table 6-14)
inline constexpr std::int32_t structure_top_field = 1;
inline constexpr std::int32_t structure_bottom_field = 2;
inline constexpr std::int32_t structure_frame = 3;

struct PictureCodingExtension {
    std::array<std::array<std::int32_t, 2>, 2>
        f_code{};  // [forward, backward][horizontal, vertical]
    std::int32_t intra_dc_precision = 0;
    std::int32_t picture_structure = 0;
    std::int32_t top_field_first = 0;
    std::int32_t frame_pred_frame_dct = 0;
    std::int32_t concealment_motion_vectors = 0;
    std::int32_t q_scale_type = 0;
    std::int32_t intra_vlc_format = 0;
    std::int32_t alternate_scan = 0;
    std::int32_t repeat_first_field = 0;
    std::int32_t chroma_420_type = 0;
    std::int32_t progressive_frame = 0;
    std::int32_t composite_display_flag = 0;
    // Read only when composite_display_flag is 1.
    std::int32_t v_axis = 0;
    std::int32_t field_sequence = 0;
    std::int32_t sub_carrier = 0;
    std::int32_t burst_amplitude = 0;
    std::int32_t sub_carrier_phase = 0;

    bool operator==(const PictureCodingExtension&) const = default;
};

struct QuantMatrixExtension {
    std::int32_t load_intra_quantiser_matrix = 0;
    std::int32_t load_non_intra_quantiser_matrix = 0;
    std::int32_t load_chroma_intra_quantiser_matrix = 0;
    std::int32_t load_chroma_non_intra_quantiser_matrix = 0;
    QuantiserMatrix intra_quantiser_matrix{};
    QuantiserMatrix non_intra_quantiser_matrix{};
    QuantiserMatrix chroma_intra_quantiser_matrix{};
    QuantiserMatrix chroma_non_intra_quantiser_matrix{};

    bool operator==(const QuantMatrixExtension&) const = default;
};

struct PictureDisplayExtension {
    std::int32_t number_of_frame_centre_offsets = 0;  // derived, not coded
    std::array<std::int32_t, 3> frame_centre_horizontal_offset{};
    std::array<std::int32_t, 3> frame_centre_vertical_offset{};

    bool operator==(const PictureDisplayExtension&) const = default;
};

struct PictureSpatialScalableExtension {
    std::int32_t lower_layer_temporal_reference = 0;
    std::int32_t lower_layer_horizontal_offset = 0;
    std::int32_t lower_layer_vertical_offset = 0;
    std::int32_t spatial_temporal_weight_code_table_index = 0;
    std::int32_t lower_layer_progressive_frame = 0;
    std::int32_t lower_layer_deinterlaced_field_select = 0;

    bool operator==(const PictureSpatialScalableExtension&) const = default;
};

struct PictureTemporalScalableExtension {
    std::int32_t reference_select_code = 0;
    std::int32_t forward_temporal_reference = 0;
    std::int32_t backward_temporal_reference = 0;

    bool operator==(const PictureTemporalScalableExtension&) const = default;
};

struct CopyrightExtension {
    std::int32_t copyright_flag = 0;
    std::int32_t copyright_identifier = 0;
    std::int32_t original_or_copy = 0;
    std::int32_t reserved = 0;
    std::int32_t copyright_number_1 = 0;
    std::int32_t copyright_number_2 = 0;
    std::int32_t copyright_number_3 = 0;

    bool operator==(const CopyrightExtension&) const = default;
};

struct PictureInfo {
    std::int32_t temporal_reference = 0;
    std::int32_t picture_coding_type = 0;
    std::int32_t vbv_delay = 0;  // 0xFFFF in a variable-rate stream
    // Coded in P and B pictures (MPEG-1 motion vectors), else 0.
    std::int32_t full_pel_forward_vector = 0;
    std::int32_t forward_f_code = 0;
    // Coded in B pictures, else 0.
    std::int32_t full_pel_backward_vector = 0;
    std::int32_t backward_f_code = 0;

    std::int32_t picture_coding_extension_present = 0;
    PictureCodingExtension picture_coding_extension;
    std::int32_t quant_matrix_extension_present = 0;
    QuantMatrixExtension quant_matrix_extension;
    std::int32_t picture_display_extension_present = 0;
    PictureDisplayExtension picture_display_extension;
    std::int32_t picture_spatial_scalable_extension_present = 0;
    PictureSpatialScalableExtension picture_spatial_scalable_extension;
    std::int32_t picture_temporal_scalable_extension_present = 0;
    PictureTemporalScalableExtension picture_temporal_scalable_extension;
    std::int32_t copyright_extension_present = 0;
    CopyrightExtension copyright_extension;

    bool operator==(const PictureInfo&) const = default;
};

static_assert(sizeof(PictureInfo) == 756, "PictureInfo is 189 words");

}  // namespace quarnel
