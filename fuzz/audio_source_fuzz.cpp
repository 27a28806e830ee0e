// The audio open: the choice of the Layer II stream, its timeline, then frame delivery and
// seeking over the whole of it.

#include <cstdlib>
#include <vector>

#include "audio/audio_source.h"
#include "audio/frame_header.h"
#include "base/settings.h"
#include "fuzz/input_file.h"

namespace quarnel {
namespace {

// Frames are delivered one at a time as a player asks for them, each the length its header
// gives, each moving the position on by one frame; never more bytes than the file holds.
void read_frames(AudioReaderOps& reader, std::int64_t file_size) {
    std::vector<std::uint8_t> frame(4096);
    std::int64_t delivered = 0;
    while (const std::uint32_t word = reader.peek_header()) {
        AudioFrameHeader header;
        const std::size_t count =
            parse_audio_header(word, header) ? static_cast<std::size_t>(header.frame_length) : 1;
        const std::int64_t position = reader.get_position();
        if (count > frame.size()) std::abort();
        if (reader.read_frame(frame.data(), count) == 0) return;
        delivered += static_cast<std::int64_t>(count);
        if (delivered > file_size || reader.get_position() != position + samples_per_frame)
            std::abort();
    }
}

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    probe_audio_packets({data, size});
    const MemorySettings settings;
    const auto source = audio_source_open(fuzz::input_file({data, size}, ".mpg"), settings);
    if (!source) return 0;
    AudioReaderOps& reader = source->reader();
    const std::int64_t length = source->length_samples();
    // Damaged time stamps may place the start before sample 0, but never a length below 0.
    if (length < 0) std::abort();
    read_frames(reader, static_cast<std::int64_t>(size));
    for (const std::int64_t target : {length / 2, std::int64_t{0}, length + 1, std::int64_t{-1}}) {
        reader.seek_samples(target);
        reader.peek_header();
    }
    reader.seek_samples(length / 3);
    read_frames(reader, static_cast<std::int64_t>(size));
    return 0;
}
