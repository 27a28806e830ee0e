// Sequence and picture headers with their extensions, parsed at every start code of a video
// elementary stream.

#include <cstdlib>

#include "fuzz/memory_reader.h"
#include "video/header_codes.h"
#include "video/picture_header.h"
#include "video/sequence_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const auto reader = fuzz::memory_reader({data, size});
    if (!reader) return 0;
    SequenceInfo sequence;
    PictureInfo picture;
    while (reader->next_start_code()) {
        const std::int64_t at = reader->stream_position();
        const std::uint32_t code = reader->get_bits(32);
        if (code == sequence_header_code) parse_sequence_header(*reader, sequence);
        if (code == picture_start_code)
            parse_picture_header(*reader, picture, fuzz::progressive(sequence));
        if (reader->stream_position() <= at) std::abort();  // every header moves the reader on
    }
    return 0;
}
