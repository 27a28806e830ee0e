#include "video/gop_list.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <type_traits>

#include "video/header_codes.h"
#include "video/picture_header.h"
#include "video/video_bit_reader.h"

namespace quarnel {

SecondField find_second_field(VideoBitReader& reader, bool progressive_sequence) {
    while (reader.next_start_code()) {
        if (reader.get_bits(32) != picture_start_code) continue;
        PictureInfo field;
        parse_picture_header(reader, field, progressive_sequence);
        if (field.picture_coding_extension_present != 0)
            return field.picture_coding_extension.picture_structure != structure_frame
                       ? SecondField::found
                       : SecondField::missing;
        // A header without its coding extension is cut off when nothing follows it.
        return reader.next_start_code() ? SecondField::missing : SecondField::cut_off;
    }
    return SecondField::cut_off;
}

std::optional<int> picture_frames(VideoBitReader& reader, const PictureInfo& picture,
                                  const FrameCounting& counting) {
    if (picture.picture_coding_extension_present == 0) return 1;  // MPEG-1: no field pictures
    const PictureCodingExtension& coding = picture.picture_coding_extension;
    // Two field pictures make one frame (ISO/IEC 13818-2, picture_structure); the first
    // field's flags stand for the pair.
    if (coding.picture_structure != structure_frame) {
        switch (find_second_field(reader, counting.progressive_sequence)) {
            case SecondField::found:
                break;
            case SecondField::missing:
                return std::nullopt;
            case SecondField::cut_off:
                return 0;
        }
    }
    const bool repeats =
        coding.repeat_first_field == 1 && coding.top_field_first == counting.first_top_field_first;
    return repeats ? 2 : 1;
}

namespace {

static_assert(std::has_unique_object_representations_v<SequenceInfo>,
              "equal headers have equal bytes");

std::size_t header_hash(const SequenceInfo& header) {
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(&header), sizeof header));
}

}  // namespace

void SequenceHeaders::push_back(const SequenceInfo& header) {
    const std::size_t hash = header_hash(header);
    const auto [first, last] = by_hash_.equal_range(hash);
    const auto same = std::find_if(first, last, [&](const auto& entry) {
        return distinct_[entry.second] == header;
    });
    if (same != last) {
        order_.push_back(same->second);
        return;
    }
    const auto index = static_cast<std::uint32_t>(distinct_.size());
    distinct_.push_back(header);
    by_hash_.emplace(hash, index);
    order_.push_back(index);
}

void SequenceHeaders::clear() {
    distinct_.clear();
    order_.clear();
    by_hash_.clear();
}

bool SequenceHeaders::operator==(const SequenceHeaders& other) const {
    if (size() != other.size()) return false;
    for (std::size_t i = 0; i < size(); ++i)
        if ((*this)[i] != other[i]) return false;
    return true;
}

GopEntry lookup_gop_list(const GopList& list, std::int64_t frame) {
    if (list.entries.empty() || frame < list.entries.front().first_frame ||
        frame > list.total_frames - 1)
        return {};
    // The last entry whose first frame is at or below `frame`.
    const auto after = std::upper_bound(
        list.entries.begin(), list.entries.end(), frame,
        [](std::int64_t f, const GopEntry& entry) { return f < entry.first_frame; });
    return *std::prev(after);
}

}  // namespace quarnel
