#include "video/decoder_context.h"

#include <algorithm>

namespace quarnel {

namespace {

// A matrix as coded (zigzag order) into raster order.
void store_raster(const QuantiserMatrix& coded, std::int16_t* raster) {
    for (std::size_t i = 0; i < coded.size(); ++i)
        raster[zigzag_scan[i]] = static_cast<std::int16_t>(coded[i]);
}

}  // namespace

DecoderContext make_decoder_context(const SequenceInfo& sequence) {
    DecoderContext context;
    const bool mpeg2 = sequence.sequence_extension_present != 0;
    context.coded_height = sequence.coded_height;
    context.scalable_mode =
        sequence.sequence_scalable_extension_present != 0 ? sequence.scalable_mode : -1;
    context.mpeg1 = mpeg2 ? 0 : 1;
    context.chroma_format = mpeg2 ? sequence.chroma_format : 1;

    QuantiserMatrices& matrices = context.quantiser_matrices;
    std::int16_t* intra = quantiser_matrix(matrices, QuantiserMatrixKind::intra);
    std::int16_t* non_intra = quantiser_matrix(matrices, QuantiserMatrixKind::non_intra);
    if (sequence.load_intra_quantiser_matrix != 0)
        store_raster(sequence.intra_quantiser_matrix, intra);
    else
        std::copy(default_intra_quantiser_matrix.begin(), default_intra_quantiser_matrix.end(),
                  intra);
    if (sequence.load_non_intra_quantiser_matrix != 0)
        store_raster(sequence.non_intra_quantiser_matrix, non_intra);
    else
        std::fill_n(non_intra, 64, default_non_intra_quantiser_value);

    std::copy_n(intra, 64, quantiser_matrix(matrices, QuantiserMatrixKind::chroma_intra));
    std::copy_n(non_intra, 64, quantiser_matrix(matrices, QuantiserMatrixKind::chroma_non_intra));
    return context;
}

}  // namespace quarnel
