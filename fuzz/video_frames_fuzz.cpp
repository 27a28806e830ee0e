// Frame counting over a whole video elementary stream: the GOP list scan, the time code
// index with its check and lookups, and the GOP list file written for an accepted list.

#include <cstdlib>

#include "fuzz/memory_reader.h"
#include "video/frame_rate.h"
#include "video/gop_list_file.h"
#include "video/header_codes.h"
#include "video/sequence_header.h"
#include "video/time_code_index.h"

namespace quarnel {
namespace {

// The list read back from its file writes the same file. (Words a header did not reach keep
// earlier values in memory and are not stored, so the records themselves may differ.)
void check_gop_list(const GopList& list) {
    const auto encoded = encode_gop_list(list);
    if (!encoded) return;  // a list the file cannot describe is not stored
    const auto decoded = decode_gop_list(*encoded);
    if (!decoded || decoded->entries != list.entries || encode_gop_list(*decoded) != encoded)
        std::abort();
    for (const std::int64_t frame : {std::int64_t{0}, list.total_frames / 2, list.total_frames})
        lookup_gop_list(list, frame);
}

void check_time_code_index(VideoBitReader& reader, const SequenceInfo& sequence,
                           const FrameCounting& counting) {
    reader.bit_reader_seek(0, SeekOrigin::begin);
    TimeCodeIndex index(reader, frame_rate(sequence), counting);
    const std::int64_t total = index.time_code_frame_count();
    if (total < 0 || !index.check_time_code_index(total)) return;
    for (const std::int64_t frame : {std::int64_t{0}, total / 2, total - 1})
        index.lookup_by_time_code(frame);
}

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const auto reader = fuzz::memory_reader({data, size});
    if (!reader) return 0;
    // Counting needs the first sequence header, as a video open finds it.
    SequenceInfo sequence;
    do {
        if (!reader->next_start_code()) return 0;
    } while (reader->get_bits(32) != sequence_header_code);
    parse_sequence_header(*reader, sequence);
    const FrameCounting counting{.progressive_sequence = fuzz::progressive(sequence),
                                 .first_top_field_first = 1};

    reader->bit_reader_seek(0, SeekOrigin::begin);
    if (const auto list = build_gop_list(*reader, counting, nullptr)) check_gop_list(*list);
    check_time_code_index(*reader, sequence, counting);
    return 0;
}
