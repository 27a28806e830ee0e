// Writes the seed corpus of every fuzz target, built by the test stream writers:
//     quarnel_fuzz_seeds DIR   ->   DIR/<target>/<seed>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mtv/mtv_header.h"
#include "tests/support/mp2_writer.h"
#include "tests/support/ps_writer.h"
#include "tests/support/ts_writer.h"
#include "tests/support/video_es_writer.h"
#include "video/gop_list.h"
#include "video/gop_list_file.h"

namespace quarnel::fuzz {
namespace {

using test::Bytes;
using Corpus = std::map<std::string, Bytes>;

// Small streams of every kind the video parsers meet.
std::map<std::string, test::VideoEsWriter> video_streams() {
    std::map<std::string, test::VideoEsWriter> streams;
    auto& mpeg2 = streams["mpeg2_closed_gops"];
    mpeg2.sequence(test::mpeg2_sequence(720, 576));
    for (int k = 0; k < 3; ++k) mpeg2.gop({.seconds = k, .closed_gop = true}).pictures("IBBPBBPBB");
    mpeg2.sequence_end();

    auto& matrices = streams["mpeg2_matrices_extensions"];
    SequenceInfo s = test::mpeg2_sequence(720, 480);
    s.load_intra_quantiser_matrix = 1;
    s.intra_quantiser_matrix.fill(16);
    s.load_non_intra_quantiser_matrix = 1;
    s.non_intra_quantiser_matrix.fill(20);
    s.sequence_display_extension_present = 1;
    s.colour_description = 1;
    matrices.sequence(s).user_data("recorder").gop({.drop_frame = true}).pictures("IPBB");

    auto& fields = streams["mpeg2_fields_pulldown"];
    fields.sequence(test::mpeg2_sequence(720, 480)).gop();
    fields.picture({.picture_structure = structure_top_field});
    fields.picture({.picture_structure = structure_bottom_field});
    fields.picture({.type = picture_type_p, .repeat_first_field = true});
    fields.sequence_end();

    auto& mpeg1 = streams["mpeg1"];
    mpeg1.sequence(test::mpeg1_sequence(352, 288));
    mpeg1.gop({.closed_gop = true}).pictures("IBBPBB");
    mpeg1.gop({.seconds = 1}).pictures("IBBP");
    mpeg1.sequence_end();
    return streams;
}

// `stream` after a leading byte of options (for a memory reader, the read size; 0 delivers
// everything in one read).
Bytes with_options(const Bytes& stream, std::uint8_t options = 0) {
    Bytes input{options};
    input.insert(input.end(), stream.begin(), stream.end());
    return input;
}

// Every input of `corpus` after each options byte of `variants`, named with its suffix.
Corpus with_options(const Corpus& corpus,
                    std::initializer_list<std::pair<std::string_view, std::uint8_t>> variants) {
    Corpus result;
    for (const auto& [name, bytes] : corpus)
        for (const auto& [suffix, options] : variants)
            result[name + std::string(suffix)] = with_options(bytes, options);
    return result;
}

Corpus video_es_streams() {
    Corpus corpus;
    for (const auto& [name, es] : video_streams()) corpus[name] = es.data();
    return corpus;
}

Corpus video_corpus() {
    return with_options(video_es_streams(), {{"", 0}, {"_in_pieces", 7}});
}

Corpus gop_list_file_corpus() {
    Corpus corpus;
    const FrameCounting counting{.progressive_sequence = false, .first_top_field_first = 1};
    for (const auto& [name, es] : video_streams()) {
        const auto list = build_gop_list(*es.open_reader(), counting, nullptr);
        if (const auto bytes = list ? encode_gop_list(*list) : std::nullopt) corpus[name] = *bytes;
    }
    return corpus;
}

Corpus mtv_header_corpus() {
    MtvHeader named;
    named.SetFileName("capture.mpg");
    named.SetFileSize(4'700'000'000);
    named.SetVideoSystem(1);
    named.SetAudioCoding(0);
    const auto bytes = [](const MtvHeader& h) { return Bytes(h.bytes().begin(), h.bytes().end()); };
    return {{"default", bytes(MtvHeader())}, {"named_pal_ac3", bytes(named)}};
}

// Program streams with video, Layer II audio and AC-3, in both system syntaxes.
Corpus program_streams() {
    const Bytes video = video_streams()["mpeg2_closed_gops"].data();
    const Bytes audio = test::mp2_frames({}, 3);
    Corpus streams;
    for (const auto syntax : {test::MuxSyntax::mpeg1, test::MuxSyntax::mpeg2}) {
        test::PsWriter ps(syntax);
        ps.pack_header().system_header({0xE0, 0xC0, 0xBD});
        ps.packets(0xE0, video, 512, {.pts = 3600, .dts = 0});
        ps.pes(0xC0, audio, {.pts = 3600, .stuffing = 2, .std_buffer = true});
        ps.private_stream_1(0x80, test::pattern_bytes(64)).padding(32).end_code();
        streams[syntax == test::MuxSyntax::mpeg1 ? "mpeg1_system" : "mpeg2_program"] = ps.bytes();
    }
    return streams;
}

Corpus pes_corpus() {
    Corpus corpus;
    for (const auto& [name, ps] : program_streams()) corpus[name] = with_options(ps, 255);
    const Bytes video = video_streams()["mpeg1"].data();
    corpus["unbounded_video"] =
        with_options(test::pes_packet(test::MuxSyntax::mpeg2, 0xE0, video, {}, false), 183);
    return corpus;
}

Corpus block_reader_corpus() {
    return with_options(program_streams(), {{"", 0}, {"_across_blocks", 1}});
}

// Two recordings joined: the second's association drops the first's program map for one on
// another PID, whose video and Layer II audio run in stamped packets.
Bytes joined_transport_stream() {
    const Bytes video = video_streams()["mpeg2_closed_gops"].data();
    const test::Mp2Format format{.bit_rate = 128000, .sampling_rate = 44100};
    const std::int64_t ticks_per_packet = 2 * 1152 * 90000 / 44100;
    test::TsWriter ts;
    for (const int base : {0x100, 0x200}) {
        ts.section(0, test::pat_section({{1, base}}));
        ts.section(base, test::pmt_section(1, {{0x02, base + 0x11, {}}, {0x03, base + 0x12, {}}}));
        ts.video(base + 0x11, video, 400);
        for (int k = 0; k < 4; ++k) {
            ts.pes(base + 0x12, test::pes_packet(test::MuxSyntax::mpeg2, 0xC0,
                                                 test::mp2_frames(format, 2),
                                                 {.pts = 3600 + k * ticks_per_packet}));
        }
    }
    return ts.bytes();
}

Corpus transport_streams() {
    const Bytes video = video_streams()["mpeg2_closed_gops"].data();
    test::TsWriter ts;
    ts.section(0, test::pat_section({{0, 0x10}, {1, 0x100}}));
    ts.section(0x100, test::pmt_section(1, {{0x02, 0x111, {}}, {0x04, 0x112, {}}}));
    ts.video(0x111, video, 400);
    ts.pes(0x112,
           test::pes_packet(test::MuxSyntax::mpeg2, 0xC0, test::mp2_frames({}, 2), {.pts = 3600}));
    test::TsWriter no_tables;
    no_tables.video(0x44, video, 1000);
    return {{"tables_video_audio", ts.bytes()},
            {"m2ts_192", test::repack(ts.bytes(), 4, 0)},
            {"parity_204", test::repack(ts.bytes(), 0, 16)},
            {"no_tables", no_tables.bytes()},
            {"joined_programs", joined_transport_stream()}};
}

// Program and transport streams whose Layer II audio runs in stamped packets beside the video.
Corpus audio_corpus() {
    Corpus corpus = program_streams();
    const test::Mp2Format format{.bit_rate = 128000, .sampling_rate = 44100};
    const std::int64_t ticks_per_packet = 2 * 1152 * 90000 / 44100;
    test::PsWriter ps;
    ps.pack_header().system_header({0xE0, 0xC0});
    ps.pes(0xE0, video_streams()["mpeg2_closed_gops"].data(), {.pts = 3600});
    for (int k = 0; k < 6; ++k)
        ps.pack_header().pes(0xC0, test::mp2_frames(format, 2),
                             {.pts = 3600 + k * ticks_per_packet});
    corpus["audio_packets"] = ps.bytes();
    corpus["transport_joined"] = joined_transport_stream();
    corpus["transport_joined_204"] = test::repack(joined_transport_stream(), 0, 16);
    return corpus;
}

// Files of every container the video open tells apart.
Corpus any_container_corpus() {
    Corpus corpus = program_streams();
    corpus.merge(transport_streams());
    corpus.merge(video_es_streams());
    return corpus;
}

// Files of every container after a byte of settings: defaults, and a forced GOP list scan
// with resize tables.
Corpus video_source_corpus() {
    return with_options(any_container_corpus(), {{"", 0}, {"_scan_resize", 3}});
}

// Files of every container, and program streams with Layer II audio.
Corpus stream_source_corpus() {
    Corpus corpus = any_container_corpus();
    corpus.merge(audio_corpus());
    return corpus;
}

const std::map<std::string, std::function<Corpus()>> corpora{
    {"mtv_header", mtv_header_corpus},      {"gop_list_file", gop_list_file_corpus},
    {"video_headers", video_corpus},        {"video_frames", video_corpus},
    {"video_stream", any_container_corpus}, {"pes_packet", pes_corpus},
    {"block_reader", block_reader_corpus},  {"ps_layer", program_streams},
    {"ts_layer", transport_streams},        {"audio_source", audio_corpus},
    {"video_source", video_source_corpus},  {"stream_source", stream_source_corpus},
};

}  // namespace
}  // namespace quarnel::fuzz

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const auto& [target, make] : quarnel::fuzz::corpora) {
        std::filesystem::create_directories(root / target);
        for (const auto& [name, bytes] : make())
            std::ofstream(root / target / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
