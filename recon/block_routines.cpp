#include "recon/block_routines.h"

#include "recon/clamp_tables.h"

namespace quarnel {

BlockPlace block_place(const PictureView& picture, const MacroblockContext& macroblock, int x,
                       int y, int block_number) {
    int column = 0, row = 0;  // which 8x8 of the plane's share of the macroblock
    std::uint8_t* plane = picture.plane[0];
    std::ptrdiff_t step = picture.luma_step;
    bool field = macroblock.field_dct;
    if (block_number < 4) {
        column = block_number & 1;
        row = block_number >> 1;
    } else {
        const int k = (block_number - 4) >> 1;
        plane = picture.plane[(block_number & 1) ? 2 : 1];
        step = picture.chroma_step;
        row = k & 1;
        column = k >> 1;
        if (macroblock.chroma_format != 3) x /= 2;
        if (macroblock.chroma_format == 1) {
            y /= 2;
            field = false;  // 4:2:0 chroma blocks are always frame blocks
        }
    }
    if (field) return {plane + (y + row) * step + x + 8 * column, 2 * step};
    return {plane + (y + 8 * row) * step + x + 8 * column, step};
}

bool block_in_macroblock(const MacroblockContext& macroblock, int block_number) {
    const int count = macroblock.chroma_format == 3 ? 12 : macroblock.chroma_format == 2 ? 8 : 6;
    return block_number >= 0 && block_number < count;
}

void store_block(const std::int16_t* block, const PictureView& picture,
                 const MacroblockContext& macroblock, int x, int y, int block_number) {
    if (!block_in_macroblock(macroblock, block_number)) return;
    const BlockPlace place = block_place(picture, macroblock, x, y, block_number);
    for (int r = 0; r < 8; ++r) {
        std::uint8_t* line = place.origin + r * place.step;
        for (int c = 0; c < 8; ++c) {
            const int sample = block[8 * r + c];
            line[c] = clamp_pixel(macroblock.intra ? sample : line[c] + sample);
        }
    }
}

void scale_quantiser_matrices(std::int16_t* destination, const std::int16_t* source, int factor) {
    for (int k = 0; k < scaled_matrix_weights; ++k)
        // unsigned arithmetic: only the low 16 bits are kept, and no factor can overflow
        destination[k] = static_cast<std::int16_t>(static_cast<std::uint32_t>(source[k]) *
                                                   static_cast<std::uint32_t>(factor));
}

}  // namespace quarnel
