#pragma once
// Parses a picture header and the picture extensions that follow it
// (ISO/IEC 11172-2 2.4.2.5, ISO/IEC 13818-2 6.2.3 to 6.2.3.6).

#include "video/picture_info.h"
#include "video/video_bit_reader.h"

namespace quarnel {

// Call with the reader just past the picture start code. `progressive_sequence` is the
// sequence's flag in an MPEG-2 stream and true in an MPEG-1 stream; it decides how many
// frame centre offsets a picture display extension carries. Fields of absent extensions
// keep their values; the six presence flags are cleared first. User data is passed over; the
// reader is left at the first other start code that is not an extension, normally a slice.
void parse_picture_header(VideoBitReader& reader, PictureInfo& picture, bool progressive_sequence);

}  // namespace quarnel
