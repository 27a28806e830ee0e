#pragma once
// Parses a sequence header and the sequence extensions that follow it
// (ISO/IEC 11172-2 2.4.2.3, ISO/IEC 13818-2 6.2.2.1 to 6.2.2.5).

#include "video/sequence_info.h"
#include "video/video_bit_reader.h"

namespace quarnel {

// Call with the reader just past the sequence header code. Fields of extensions that are
// absent keep their values; the three presence flags are cleared first. The reader is left
// at the first start code that is not an extension (user data included).
void parse_sequence_header(VideoBitReader& reader, SequenceInfo& sequence);

}  // namespace quarnel
