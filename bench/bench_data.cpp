#include "bench_data.h"

#include <random>

#include "support/video_es_writer.h"
#include "video/header_codes.h"

namespace quarnel::bench {

Bytes coded_bytes(std::size_t count, std::uint32_t seed) {
    // Coded MPEG-2 pictures hold about ten times as many 0x00 and five times as many 0x01
    // bytes as uniform noise would: the searches stop on them.
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> kind(0, 255);
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int k = kind(random);
        out[i] = static_cast<std::uint8_t>(k < 10 ? 0x00 : k < 15 ? 0x01 : byte(random));
        if (out[i] == 0x01 && i >= 2 && out[i - 1] == 0 && out[i - 2] == 0) out[i] = 0x02;
    }
    return out;
}

Bytes bytes_with_start_codes(std::size_t count, std::size_t spacing) {
    Bytes out = coded_bytes(count);
    for (std::size_t at = spacing; at + 4 <= count; at += spacing) {
        out[at] = 0x00;
        out[at + 1] = 0x00;
        out[at + 2] = 0x01;
        out[at + 3] = 0xB5;
    }
    return out;
}

Bytes video_stream(std::size_t size, std::size_t slice_bytes) {
    constexpr int slices = 36;  // one per macroblock row of 576 lines
    const Bytes slice_data = coded_bytes(slice_bytes);
    test::VideoEsWriter es;
    int gop = 0;
    while (es.data().size() < size) {
        es.sequence(test::mpeg2_sequence(720, 576));
        es.gop({.minutes = gop / 60 % 60, .seconds = gop % 60, .closed_gop = true});
        for (const char type : std::string_view("IBBPBBPBBPBB")) {
            const int coding_type = type == 'I'   ? picture_type_i
                                    : type == 'P' ? picture_type_p
                                                  : picture_type_b;
            es.picture({.type = coding_type});  // its own first slice
            for (int row = 2; row <= slices; ++row) es.slice(row, 0).raw(slice_data);
        }
        ++gop;
    }
    es.sequence_end();
    return es.data();
}

}  // namespace quarnel::bench
