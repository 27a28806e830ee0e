// Transport streams written by a real multiplexer, read back through the transport layer.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "base/settings.h"
#include "input/ts_layer.h"
#include "tests/support/temp_dir.h"
#include "tests/support/ts_writer.h"
#include "video/bit_reader_open.h"
#include "video/header_codes.h"

namespace quarnel {
namespace {

using test::Bytes;

constexpr int frames = 50;

bool have_ffmpeg() {
    return std::system("command -v ffmpeg >/dev/null 2>&1") == 0;
}

bool run(const std::string& command) {
    return std::system(("ffmpeg -loglevel error -y " + command).c_str()) == 0;
}

Bytes file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Two seconds of a test pattern as a transport stream muxed with `options`, and the video
// elementary stream taken out of it by the encoder's own demultiplexer.
struct Encoded {
    std::string ts;
    Bytes video;
};

std::optional<Encoded> encode(const test::TempDir& dir, const std::string& name,
                              const std::string& options) {
    const std::string ts = dir.file(name);
    const std::string es = dir.file(name + ".m2v");
    if (!run("-f lavfi -i testsrc=size=352x288:rate=25 -f lavfi -i sine=sample_rate=48000 "
             "-frames:v " +
             std::to_string(frames) + " -g 12 -bf 2 " + options + " -f mpegts " + ts) ||
        !run("-i " + ts + " -map 0:v -c copy -f mpeg2video " + es))
        return std::nullopt;
    return Encoded{ts, file_bytes(es)};
}

Bytes read_all(StreamOps& layer) {
    Bytes out;
    Bytes buffer(65536);
    while (const std::size_t got = layer.read(buffer.data(), buffer.size()))
        out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
    return out;
}

Bytes layer_payload(const std::string& path) {
    const auto layer = ts_layer_open(path, StreamKind::video, MemorySettings{});
    return layer ? read_all(*layer) : Bytes{};
}

TEST(TsFromEncoder, DeliversTheVideoElementaryStreamInEveryPacketSize) {
    if (!have_ffmpeg()) GTEST_SKIP() << "ffmpeg is not available";
    const test::TempDir dir;
    const std::pair<const char*, const char*> variants[] = {
        {"mpeg2_audio.ts", "-c:v mpeg2video -c:a mp2"},
        {"mpeg1_video_only.ts", "-c:v mpeg1video -an"},
        {"mpeg2_m2ts.m2ts", "-c:v mpeg2video -c:a mp2 -mpegts_m2ts_mode 1"},
    };
    for (const auto& [name, options] : variants) {
        const auto encoded = encode(dir, name, options);
        ASSERT_TRUE(encoded) << name;
        ASSERT_GT(encoded->video.size(), 10000u);
        EXPECT_EQ(layer_payload(encoded->ts), encoded->video) << name;
    }

    // The plain stream with a 4-byte prefix or 16 trailing bytes added to every packet.
    const auto encoded = encode(dir, "plain.ts", "-c:v mpeg2video -c:a mp2");
    ASSERT_TRUE(encoded);
    const Bytes plain = file_bytes(encoded->ts);
    EXPECT_EQ(layer_payload(dir.write("prefixed.m2ts", test::repack(plain, 4, 0))), encoded->video);
    EXPECT_EQ(layer_payload(dir.write("parity.ts", test::repack(plain, 0, 16))), encoded->video);
}

TEST(TsFromEncoder, TheBitReaderFindsEveryPictureThroughTheTransportLayer) {
    if (!have_ffmpeg()) GTEST_SKIP() << "ffmpeg is not available";
    const test::TempDir dir;
    const auto encoded = encode(dir, "clip.ts", "-c:v mpeg2video -c:a mp2");
    ASSERT_TRUE(encoded);
    auto reader = bit_reader_open(encoded->ts, MemorySettings{});
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->container_layer(), ContainerLayer::transport_stream);
    for (int pass = 0; pass < 2; ++pass) {
        int pictures = 0;
        ASSERT_TRUE(reader->next_start_code());
        EXPECT_EQ(reader->peek_bits(32), sequence_header_code);
        do {
            if (reader->get_bits(32) == picture_start_code) ++pictures;
        } while (reader->next_start_code());
        EXPECT_EQ(pictures, frames);
        EXPECT_LE(reader->stream_position(), reader->stream_size());
        reader->bit_reader_seek(0, SeekOrigin::begin);
    }
}

}  // namespace
}  // namespace quarnel
