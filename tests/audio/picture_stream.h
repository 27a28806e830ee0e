#pragma once
// A video elementary stream of frame pictures after one GOP header, with the time stamp that
// a multiplexer gives the packet in which each picture begins.

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "support/video_es_writer.h"

namespace quarnel::test {

struct CodedPicture {
    int type;  // picture_type_i, _p or _b
    std::int64_t stamp;
};

struct PictureStream {
    std::vector<std::uint8_t> bytes;
    // Offset of each picture's start code, with the picture's stamp.
    std::vector<std::pair<std::size_t, std::int64_t>> picture_starts;

    PictureStream(bool closed_gop, std::initializer_list<CodedPicture> pictures) {
        VideoEsWriter es;
        es.sequence(mpeg2_sequence(352, 288)).gop({.closed_gop = closed_gop});
        for (const CodedPicture& picture : pictures) {
            picture_starts.emplace_back(es.data().size(), picture.stamp);
            es.picture({.type = picture.type});
        }
        bytes = es.data();
    }

    // Stamp of the first picture beginning in [at, at + count), or -1.
    std::int64_t stamp_for(std::size_t at, std::size_t count) const {
        for (const auto& [start, stamp] : picture_starts) {
            if (start >= at && start < at + count) return stamp;
        }
        return -1;
    }
};

inline constexpr int I = picture_type_i;
inline constexpr int P = picture_type_p;
inline constexpr int B = picture_type_b;

}  // namespace quarnel::test
