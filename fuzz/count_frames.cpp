#include "fuzz/count_frames.h"

#include <cstdlib>

#include "fuzz/memory_reader.h"
#include "video/frame_rate.h"
#include "video/gop_list_file.h"
#include "video/header_codes.h"
#include "video/sequence_header.h"
#include "video/time_code_index.h"

namespace quarnel::fuzz {
namespace {

// Every list a scan builds can be stored and read back. Words a header did not reach keep
// earlier values in memory and are not stored, so the records read back may differ from those
// built; their file may not.
void check_gop_list(const GopList& list) {
    const auto encoded = encode_gop_list(list);
    if (!encoded) std::abort();
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

void count_frames(VideoBitReader& reader) {
    SequenceInfo sequence;
    do {
        if (!reader.next_start_code()) return;
    } while (reader.get_bits(32) != sequence_header_code);
    parse_sequence_header(reader, sequence);
    const FrameCounting counting{.progressive_sequence = progressive(sequence),
                                 .first_top_field_first = 1};

    reader.bit_reader_seek(0, SeekOrigin::begin);
    if (const auto list = build_gop_list(reader, counting, nullptr)) check_gop_list(*list);
    check_time_code_index(reader, sequence, counting);
}

}  // namespace quarnel::fuzz
