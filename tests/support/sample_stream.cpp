#include "support/sample_stream.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "support/mp2_writer.h"
#include "support/video_es_writer.h"
#include "video/header_codes.h"

namespace quarnel::test {
namespace {

constexpr int video_id = 0xE0;
constexpr int audio_id = 0xC0;
constexpr std::int64_t first_stamp = 18000;       // 0.2 s, room for the decoder delay
constexpr std::int64_t frame_ticks = 3600;        // 90 kHz ticks of a picture at 25 frames/s
constexpr std::int64_t audio_frame_ticks = 2160;  // 1152 samples at 48 kHz
constexpr int audio_frames_per_packet = 4;
constexpr int frames_per_second = 25;

struct CodedPicture {
    int type;
    int temporal_reference;
};

// IBBPBBPBBPBB in coded order; each B is shown before the anchor that precedes it.
constexpr std::array<CodedPicture, 12> gop_pictures{{{picture_type_i, 2},
                                                     {picture_type_b, 0},
                                                     {picture_type_b, 1},
                                                     {picture_type_p, 5},
                                                     {picture_type_b, 3},
                                                     {picture_type_b, 4},
                                                     {picture_type_p, 8},
                                                     {picture_type_b, 6},
                                                     {picture_type_b, 7},
                                                     {picture_type_p, 11},
                                                     {picture_type_b, 9},
                                                     {picture_type_b, 10}}};

// One packet to be multiplexed: its decoding time orders it among the others.
struct Packet {
    std::int64_t time;
    int stream_id;
    Bytes payload;
    std::int64_t pts;
};

std::vector<Packet> video_packets() {
    SequenceInfo sequence = mpeg2_sequence(720, 576);
    sequence.aspect_ratio_information = 3;  // 16:9 display
    VideoEsWriter es;
    std::vector<std::pair<std::size_t, std::int64_t>> starts;  // packet start, its PTS
    const int gops = sample_frames / static_cast<int>(gop_pictures.size());
    for (int g = 0; g < gops; ++g) {
        const int first_frame = g * static_cast<int>(gop_pictures.size());
        const std::size_t gop_start = es.data().size();
        es.sequence(sequence).gop({.seconds = first_frame / frames_per_second,
                                   .pictures = first_frame % frames_per_second,
                                   .closed_gop = true});
        for (std::size_t i = 0; i < gop_pictures.size(); ++i) {
            const std::size_t start = i == 0 ? gop_start : es.data().size();
            const int shown = first_frame + gop_pictures[i].temporal_reference;
            starts.emplace_back(start, first_stamp + shown * frame_ticks);
            es.picture({.type = gop_pictures[i].type,
                        .temporal_reference = gop_pictures[i].temporal_reference});
        }
    }
    es.sequence_end();

    std::vector<Packet> packets;
    const Bytes& bytes = es.data();
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t from = starts[i].first;
        const std::size_t to = i + 1 < starts.size() ? starts[i + 1].first : bytes.size();
        // Pictures are decoded one frame before the earliest is shown, in coded order.
        const std::int64_t decoded = first_stamp + (static_cast<std::int64_t>(i) - 1) * frame_ticks;
        packets.push_back({decoded, video_id,
                           Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                 bytes.begin() + static_cast<std::ptrdiff_t>(to)),
                           starts[i].second});
    }
    return packets;
}

std::vector<Packet> audio_packets() {
    const Mp2Format format{224000, 48000, Mp2Mode::stereo};
    const Bytes payload = mp2_frames(format, audio_frames_per_packet);
    std::vector<Packet> packets;
    for (int i = 0; i < sample_audio_frames / audio_frames_per_packet; ++i) {
        const std::int64_t pts = first_stamp + i * audio_frames_per_packet * audio_frame_ticks;
        packets.push_back({pts, audio_id, payload, pts});
    }
    return packets;
}

}  // namespace

Bytes sample_program_stream() {
    std::vector<Packet> packets = video_packets();
    std::vector<Packet> audio = audio_packets();
    packets.insert(packets.end(), audio.begin(), audio.end());
    std::stable_sort(packets.begin(), packets.end(),
                     [](const Packet& a, const Packet& b) { return a.time < b.time; });

    PsWriter ps(MuxSyntax::mpeg2);
    ps.pack_header(0).system_header({video_id, audio_id});
    for (const Packet& p : packets)
        ps.pack_header(std::max<std::int64_t>(p.time - first_stamp, 0))
            .pes(p.stream_id, p.payload, {.pts = p.pts});
    ps.end_code();
    return ps.bytes();
}

}  // namespace quarnel::test
