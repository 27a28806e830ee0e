#include "video/gop_list.h"

#include <algorithm>

namespace quarnel {

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
