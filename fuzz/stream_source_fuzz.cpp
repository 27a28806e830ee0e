// The stream source interface over arbitrary bytes: every container layer, the video and the
// audio open together, then the file and stream information that the header filling asks for.

#include <cstdlib>
#include <memory>
#include <utility>

#include "base/settings.h"
#include "fuzz/input_file.h"
#include "source/stream_source.h"
#include "source/stream_source_records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    MemorySettings settings;
    settings.set("gl", 1);  // no GOP list file beside the input
    std::unique_ptr<StreamSource> handle;
    const std::string path = fuzz::input_file({data, size}, ".mpg");
    if (OpenFile(path, OpenContext{settings}, handle) != S_OK) return 0;
    if (!handle) std::abort();

    VF_FileInfo file;
    if (GetFileInfo(*handle, &file) != S_OK || file.stream_flags == 0 || file.stream_flags > 3)
        std::abort();
    VF_StreamInfo_Video video;
    if ((GetStreamInfo(*handle, 1, &video) == S_OK) != ((file.stream_flags & 1) != 0)) std::abort();
    VF_StreamInfo_Audio audio;
    if ((GetStreamInfo(*handle, 2, &audio) == S_OK) != ((file.stream_flags & 2) != 0)) std::abort();
    CloseFile(std::move(handle));
    return 0;
}
