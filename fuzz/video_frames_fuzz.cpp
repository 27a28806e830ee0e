// Frame counting over a video elementary stream in memory, delivered in reads of any size:
// the GOP list scan, the time code index with its check and lookups, and the GOP list file
// written for an accepted list.

#include "fuzz/count_frames.h"
#include "fuzz/memory_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto reader = quarnel::fuzz::memory_reader({data, size}))
        quarnel::fuzz::count_frames(*reader);
    return 0;
}
