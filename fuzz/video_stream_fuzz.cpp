// A video stream read from a file through whichever layer accepts it (transport stream,
// program stream or the plain file), then counted as a video open counts it.

#include "base/settings.h"
#include "fuzz/count_frames.h"
#include "fuzz/input_file.h"
#include "video/bit_reader_open.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const MemorySettings settings;
    if (const auto reader = bit_reader_open(fuzz::input_file({data, size}, ".mpg"), settings))
        fuzz::count_frames(*reader);
    return 0;
}
