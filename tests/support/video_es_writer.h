#pragma once
// Builds MPEG-1 and MPEG-2 video elementary streams for tests, a header at a time:
//
//     VideoEsWriter es;
//     es.sequence(mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("IBBPBB");
//     es.sequence_end();
//     auto reader = es.open_reader();
//
// Headers are written from the same records the parsers fill, so a test can state a header
// once and compare what comes back. Slices carry a few filler bytes that never form 00 00 01.

#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "video/picture_info.h"
#include "video/sequence_info.h"
#include "video/video_bit_reader.h"

namespace quarnel::test {

struct GopParams {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int pictures = 0;
    bool drop_frame = false;
    bool closed_gop = false;
    bool broken_link = false;
};

// The fields a frame counter looks at; everything else gets a plausible value.
struct PictureParams {
    int type = picture_type_i;
    int temporal_reference = 0;
    int picture_structure = structure_frame;
    bool top_field_first = true;
    bool repeat_first_field = false;
    bool progressive_frame = false;
    int vbv_delay = 0xFFFF;
};

// Main profile at main level, 4:2:0, 25 frames/s (29.97 for 480 lines), 6 Mbit/s.
SequenceInfo mpeg2_sequence(int width, int height, bool progressive_sequence = false);
// 25 frames/s, 1.15 Mbit/s, no MPEG-2 extensions.
SequenceInfo mpeg1_sequence(int width, int height);

class VideoEsWriter {
  public:
    // Sequence header, then each extension whose presence flag is set. Pictures written by
    // picture() get a picture coding extension while the last sequence had an extension.
    VideoEsWriter& sequence(const SequenceInfo& s);
    VideoEsWriter& sequence_header(const SequenceInfo& s);
    VideoEsWriter& sequence_extension(const SequenceInfo& s);
    VideoEsWriter& sequence_display_extension(const SequenceInfo& s);
    VideoEsWriter& sequence_scalable_extension(const SequenceInfo& s);

    VideoEsWriter& gop(const GopParams& g = {});

    // Picture header, picture coding extension (MPEG-2) and one slice.
    VideoEsWriter& picture(const PictureParams& p = {});
    // One frame picture per letter I, P or B in coded order; temporal references follow the
    // display order that the coded order implies.
    VideoEsWriter& pictures(std::string_view coded_order);
    // The picture header alone, and each picture extension whose presence flag is set.
    VideoEsWriter& picture_header(const PictureInfo& p);
    VideoEsWriter& picture_extensions(const PictureInfo& p);
    VideoEsWriter& picture_coding_extension(const PictureInfo& p);

    VideoEsWriter& slice(int vertical_position = 1, std::size_t payload_bytes = 32);
    VideoEsWriter& user_data(std::string_view text);
    VideoEsWriter& sequence_end();

    // Building blocks for streams the helpers above do not cover.
    VideoEsWriter& start_code(std::uint32_t code);  // 0x000001xx
    VideoEsWriter& bits(std::uint32_t value, int n);
    VideoEsWriter& raw(const std::vector<std::uint8_t>& bytes);

    const std::vector<std::uint8_t>& data() const { return bytes_; }
    std::unique_ptr<VideoBitReader> open_reader(
        std::size_t max_read = std::numeric_limits<std::size_t>::max()) const;
    // A reader just past the first start code equal to `code` (0x000001xx), as the header
    // parsers expect it; nullptr when the stream has none.
    std::unique_ptr<VideoBitReader> open_reader_past(std::uint32_t code) const;

  private:
    void extension_start(int id);
    void quantiser_matrix(const QuantiserMatrix& m);
    void quant_matrix_extension(const QuantMatrixExtension& q);
    void picture_display_extension(const PictureDisplayExtension& d);
    void picture_spatial_scalable_extension(const PictureSpatialScalableExtension& s);
    void picture_temporal_scalable_extension(const PictureTemporalScalableExtension& t);
    void copyright_extension(const CopyrightExtension& c);

    std::vector<std::uint8_t> bytes_;
    int used_bits_ = 0;  // bits written into the last byte; 0 when byte-aligned
    bool mpeg2_ = true;
};

}  // namespace quarnel::test
