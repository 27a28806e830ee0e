// The whole video open over a file of any container: first headers, frame counting by time
// codes or a GOP list, colour set-up, routines and resize tables; then frame lookups.

#include <cstdlib>

#include "fuzz/input_file.h"
#include "video/video_source.h"

// The first byte chooses settings: bit 0 scans for a GOP list even when time codes would do,
// bit 1 builds the resize tables, bits 2-3 give field_order. The GOP list file is never used,
// so that one input cannot leave a list behind for the next. The rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    if (size < 1) return 0;
    MemorySettings settings;
    settings.set("gl", gl_no_list_file | ((data[0] & 1) != 0 ? gl_no_time_codes : 0));
    settings.set("aspect_ratio", (data[0] >> 1) & 1);
    settings.set("field_order", (data[0] >> 2) & 3);
    const auto source = video_source_open(fuzz::input_file({data + 1, size - 1}, ".mpg"), settings);
    if (!source) return 0;
    const VideoStreamInfo& info = source->stream_info();
    if (info.frame_count < 0 || info.width < 0 || info.height < 0) std::abort();
    for (const std::int64_t frame :
         {std::int64_t{0}, info.frame_count / 2, info.frame_count - 1, info.frame_count})
        source->lookup(frame);
    return 0;
}
