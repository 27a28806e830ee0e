#pragma once
// What a picture decoder would start from for a stream: the decoder context, the colour
// conversion, the reconstruction routines and the resize tables. A video source sets it up
// when it opens, though nothing here decodes a picture.

#include <cstdint>
#include <memory>

#include "base/settings.h"
#include "recon/resize_tables.h"
#include "recon/routine_selection.h"
#include "video/colour_matrix.h"
#include "video/decoder_context.h"
#include "video/sequence_info.h"

namespace quarnel {

class DecoderSetup {
  public:
    DecoderSetup() = default;
    // Sets up decoding of the stream whose first sequence header is `sequence`, under the
    // settings as the open applied them. Building the resize tables replaces an unusable
    // display size of the display extension of `sequence` by the coded size.
    DecoderSetup(SequenceInfo& sequence, const VideoSettings& settings);

    const DecoderContext& decoder_context() const { return decoder_context_; }
    // Matrix the pictures are coded with (numbered as matrix_coefficients), the conversion
    // set up for it, and the YUY2 remix (identity when none is needed).
    std::int32_t colour_matrix() const { return colour_matrix_; }
    const ColourParameters& colour_parameters() const { return colour_; }
    const Yuy2Record& yuy2_record() const { return yuy2_; }
    bool yuy2_conversion_needed() const { return yuy2_needed_; }
    // The picture reconstruction routines chosen for the stream and the settings.
    const ReconRoutines& routines() const { return routines_; }
    // The tables that resize pictures to the display aspect ratio; nullptr when the
    // aspect_ratio setting is 0 or the stream needs no resizing.
    const ResizeTables* resize_tables() const { return resize_tables_.get(); }

  private:
    void set_up_colour(const SequenceInfo& s, const VideoSettings& settings);
    void prepare_reconstruction(SequenceInfo& sequence, const VideoSettings& settings);

    DecoderContext decoder_context_;
    std::int32_t colour_matrix_ = 0;
    ColourParameters colour_;
    Yuy2Record yuy2_ = yuy2_identity;
    bool yuy2_needed_ = false;
    ReconRoutines routines_;
    std::unique_ptr<ResizeTables> resize_tables_;
};

}  // namespace quarnel
