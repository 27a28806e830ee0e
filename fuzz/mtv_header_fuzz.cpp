// A .mtv file as `show` reads it: the size and magic checks, then every field and the
// meaning shown beside it.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "fuzz/input_file.h"
#include "mtv/byte_size_text.h"
#include "mtv/header_lists.h"
#include "mtv/mtv_header.h"

namespace quarnel {
namespace {

// Every field as text, with what the coded ones stand for.
std::string shown_text(const MtvHeader& h) {
    std::string text = h.GetFileName() + byte_size_text(h.GetFileSize());
    for (const int field :
         {h.GetCreateYear(), h.GetCreateMonth(), h.GetCreateDay(), h.GetCreateHour(),
          h.GetCreateMinute(), h.GetCreateSecond(), int{h.GetAudioCoding()}, h.GetVideoBitRate()})
        text += std::to_string(field);
    text += label_at(video_system_labels, h.GetVideoSystem());
    text += label_at(aspect_labels, h.GetAspectIndex());
    text += label_at(rate_control_labels, h.GetRateControl());
    text += label_at(AudioBitRateList, h.GetAudioBitRateIndex());
    text += label_at(SamplingFrequencyList, h.GetSamplingIndex());
    const auto resolutions = ResolutionList(h.GetVideoSystem());
    if (h.GetResolutionIndex() < resolutions.size())
        text += resolution_text(resolutions[h.GetResolutionIndex()]);
    return text;
}

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const HeaderLoad load = load_mtv_header(fuzz::input_file({data, size}, ".mtv"));
    if ((load.status == HeaderLoadStatus::ok) != load.header.has_value()) std::abort();
    if (!load.header) return 0;
    const MtvHeader& h = *load.header;
    // Only an exact record is accepted, and it is kept byte for byte.
    if (size != MtvHeader::size || !std::equal(h.bytes().begin(), h.bytes().end(), data))
        std::abort();
    if (h.GetFileName().size() > MtvHeader::max_file_name_length || shown_text(h).empty())
        std::abort();
    return 0;
}
