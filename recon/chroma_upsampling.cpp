#include "recon/chroma_upsampling.h"

#include "recon/chroma_upsampling_rows.h"

namespace quarnel {
namespace {

void blend_whole_lines(const ChromaFrame& frame, bool interlaced) {
    upsample_both_planes(frame, interlaced,
                         [&](const UpsampleLines& l) { blend_lines(l, 0, frame.line_step); });
}

}  // namespace

void upsample_chroma_progressive(const ChromaFrame& frame) {
    blend_whole_lines(frame, false);
}
void upsample_chroma_interlaced(const ChromaFrame& frame) {
    blend_whole_lines(frame, true);
}
void upsample_chroma_none(const ChromaFrame&) {}

}  // namespace quarnel
