#include "input/ps_layer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/encoder_tools.h"
#include "tests/support/ps_writer.h"
#include "tests/support/temp_dir.h"
#include "video/bit_reader_open.h"

namespace quarnel {
namespace {

using test::Bytes;
using test::concat;
using test::MuxSyntax;
using test::PesFields;
using test::PsWriter;

// A video elementary stream of `size` bytes: a sequence header, then a slice start code
// every 4096 bytes and no system start code.
Bytes video_elementary_stream(std::size_t size) {
    Bytes es = test::pattern_bytes(size);
    for (std::size_t at = 0; at + 4 <= size; at += 4096) {
        es[at] = 0x00;
        es[at + 1] = 0x00;
        es[at + 2] = 0x01;
        es[at + 3] = at == 0 ? 0xB3 : 0x01;
    }
    return es;
}

class PsLayerTest : public ::testing::Test {
  protected:
    std::string write(const Bytes& bytes) { return dir.write("stream.mpg", bytes); }
    std::unique_ptr<StreamOps> open(const Bytes& bytes, StreamKind kind = StreamKind::video) {
        return ps_layer_open(write(bytes), kind, settings);
    }

    test::TempDir dir;
    MemorySettings settings;
};

TEST_F(PsLayerTest, ProbeAcceptsAPackHeaderAtOnceAndRefusesAVideoStreamAfterTheLimit) {
    PsWriter ps;
    ps.pack_header().end_code();
    auto reader = block_reader_open(write(ps.bytes()), settings);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(ps_probe(*reader, 0));
    EXPECT_EQ(reader->tell(), 0);
    EXPECT_EQ(reader->peek_bits(32), 0x000001BAu);

    const Bytes es = video_elementary_stream(20 << 20);
    reader = block_reader_open(write(es), settings);
    ASSERT_TRUE(reader);
    EXPECT_FALSE(ps_probe(*reader, default_search_limit));
    EXPECT_GT(reader->tell(), default_search_limit);
    EXPECT_LT(reader->tell(), default_search_limit + 8192);
    EXPECT_FALSE(ps_layer_open(write(es), StreamKind::video, settings));
}

TEST_F(PsLayerTest, SystemCodesAfterJunkAreFoundWithinTheLimitSetting) {
    PsWriter ps;
    ps.raw(video_elementary_stream(3 << 20)).pack_header().pes(0xE0, test::pattern_bytes(10));
    EXPECT_TRUE(open(ps.bytes()));
    settings.set("limit", 1 << 20);
    EXPECT_FALSE(open(ps.bytes()));
}

TEST_F(PsLayerTest, TheFirstVideoPacketChoosesTheStream) {
    const Bytes audio = test::pattern_bytes(500, 1);
    const Bytes first = test::pattern_bytes(700, 2);
    const Bytes other = test::pattern_bytes(300, 3);
    const Bytes second = test::pattern_bytes(900, 4);
    PsWriter ps;
    ps.pack_header().system_header({0xC0, 0xE0, 0xE1}).pes(0xC0, audio, {.pts = 3000});
    ps.pes(0xE1, first, {.pts = 3600, .dts = 0}).pes(0xE0, other).pack_header().pes(0xE1, second);
    ps.end_code();

    auto video = open(ps.bytes());
    ASSERT_TRUE(video);
    EXPECT_EQ(video->tell(), 0);
    EXPECT_EQ(test::read_to_end(*video), concat({first, second}));
    EXPECT_EQ(video->tell(), static_cast<std::int64_t>(ps.size()));

    auto sound = open(ps.bytes(), StreamKind::mpeg_audio);
    ASSERT_TRUE(sound);
    EXPECT_EQ(test::read_to_end(*sound), audio);
    EXPECT_FALSE(open(ps.bytes(), StreamKind::ac3));
}

TEST_F(PsLayerTest, Ac3SubStreamIsDeliveredWithoutItsLeadingBytes) {
    const Bytes lpcm = test::pattern_bytes(100, 1);
    const Bytes ac3_0 = test::pattern_bytes(200, 2);
    const Bytes ac3_1 = test::pattern_bytes(300, 3);
    const Bytes ac3_1b = test::pattern_bytes(50, 4);
    PsWriter ps(MuxSyntax::mpeg1);
    ps.pack_header().private_stream_1(0xA0, lpcm).private_stream_1(0x81, ac3_1);
    ps.private_stream_1(0x80, ac3_0).private_stream_1(0x81, ac3_1b);
    auto layer = open(ps.bytes(), StreamKind::ac3);
    ASSERT_TRUE(layer);
    EXPECT_EQ(test::read_to_end(*layer), concat({ac3_1, ac3_1b}));
    // A seek into the other sub-stream's packet resumes at the chosen one's next payload.
    const auto last = static_cast<std::int64_t>(ps.size() - ac3_1b.size());
    EXPECT_EQ(layer->seek(last - 20, SeekOrigin::begin), last);
}

TEST_F(PsLayerTest, ReadDeliversAtMostTheRestOfOnePayload) {
    PsWriter ps;
    ps.pack_header().pes(0xE0, test::pattern_bytes(2048)).pes(0xE0, test::pattern_bytes(500));
    auto layer = open(ps.bytes());
    ASSERT_TRUE(layer);
    std::uint8_t buffer[100];
    for (int i = 0; i < 20; ++i) ASSERT_EQ(layer->read(buffer, 100), 100u) << i;
    EXPECT_EQ(layer->read(buffer, 100), 48u);
    EXPECT_EQ(layer->read(buffer, 100), 100u);
}

TEST_F(PsLayerTest, ReadingStopsAtATruncatedOrUnboundedPacket) {
    const Bytes payload = test::pattern_bytes(1000);
    PsWriter ps;
    ps.pack_header().pes(0xE0, payload);
    const Bytes whole = ps.bytes();
    ps.pes(0xE0, test::pattern_bytes(1000));
    const Bytes truncated(ps.bytes().begin(), ps.bytes().end() - 10);
    auto layer = open(truncated);
    ASSERT_TRUE(layer);
    EXPECT_EQ(test::read_to_end(*layer), payload);

    layer = open(concat({whole, test::pes_packet(MuxSyntax::mpeg2, 0xE0, payload, {}, false)}));
    ASSERT_TRUE(layer);
    EXPECT_EQ(test::read_to_end(*layer), payload);
}

// Builds a stream of video packets among audio, padding and pack headers and remembers
// where each video payload lies in the file.
struct MixedStream {
    Bytes bytes;
    std::vector<std::pair<std::int64_t, std::int64_t>> payloads;  // [begin, end) in the file

    explicit MixedStream(MuxSyntax syntax) {
        PsWriter ps(syntax);
        for (int i = 0; i < 6; ++i) {
            const PesFields fields{.pts = 3600 * i, .stuffing = i % 3};
            ps.pack_header(i * 1000);
            if (i % 2 == 1) ps.pes(0xC0, test::pattern_bytes(150 + 40 * i, 9));
            const auto header =
                static_cast<std::int64_t>(test::pes_header_bytes(syntax, fields).size());
            const auto begin = static_cast<std::int64_t>(ps.size()) + 6 + header;
            ps.pes(0xE0, test::pattern_bytes(200 + 100 * i, static_cast<std::uint8_t>(i)), fields);
            payloads.emplace_back(begin, static_cast<std::int64_t>(ps.size()));
            if (i == 3) ps.padding(30);
        }
        ps.pes(0xC0, test::pattern_bytes(77));
        bytes = ps.bytes();
    }

    // Where reading resumes after a seek to `target`: there when it holds video payload,
    // else at the next video payload, else at the end.
    std::int64_t resume_position(std::int64_t target) const {
        for (const auto& [begin, end] : payloads) {
            if (target < end) return std::max(target, begin);
        }
        return static_cast<std::int64_t>(bytes.size());
    }
};

TEST_F(PsLayerTest, SeekResumesAtTheTargetInsideAPayloadElseAtTheNextPayload) {
    for (const MuxSyntax syntax : {MuxSyntax::mpeg1, MuxSyntax::mpeg2}) {
        const MixedStream stream(syntax);
        auto layer = open(stream.bytes);
        ASSERT_TRUE(layer);
        const auto size = static_cast<std::int64_t>(stream.bytes.size());
        for (std::int64_t target = 0; target <= size; ++target) {
            const std::int64_t expected = stream.resume_position(target);
            ASSERT_EQ(layer->seek(target, SeekOrigin::begin), expected) << target;
            ASSERT_EQ(layer->tell(), expected) << target;
            std::uint8_t byte = 0;
            if (expected < size) {
                ASSERT_EQ(layer->read(&byte, 1), 1u) << target;
                ASSERT_EQ(byte, stream.bytes[static_cast<std::size_t>(expected)]) << target;
                ASSERT_EQ(layer->tell(), expected + 1) << target;
            } else {
                ASSERT_EQ(layer->read(&byte, 1), 0u) << target;
            }
        }
        EXPECT_EQ(layer->seek(0, SeekOrigin::end), size);
        EXPECT_EQ(layer->seek(0, SeekOrigin::begin), stream.payloads[0].first);
    }
}

// The start codes a video bit reader finds, with their positions.
std::vector<std::pair<std::uint32_t, std::int64_t>> start_codes(VideoBitReader& bits) {
    std::vector<std::pair<std::uint32_t, std::int64_t>> found;
    while (bits.next_start_code())
        found.emplace_back(bits.get_bits(32), bits.start_code_position());
    return found;
}

TEST_F(PsLayerTest, VideoBitReaderReadsProgramStreamsThroughTheLayer) {
    const Bytes es = video_elementary_stream(3 * 4096);
    PsWriter ps;
    ps.pack_header().pes(0xC0, test::pattern_bytes(100)).packets(0xE0, es, 2000);

    auto plain = bit_reader_open(write(es), settings);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->container_layer(), ContainerLayer::elementary_stream);
    const auto expected = start_codes(*plain);
    ASSERT_EQ(expected.size(), 3u);

    // Program stream positions are file positions: the payload sits behind the headers.
    auto from_ps = bit_reader_open(write(ps.bytes()), settings);
    ASSERT_TRUE(from_ps);
    EXPECT_EQ(from_ps->container_layer(), ContainerLayer::program_stream);
    const auto in_ps = start_codes(*from_ps);
    ASSERT_EQ(in_ps.size(), expected.size());
    for (std::size_t i = 0; i < in_ps.size(); ++i) {
        EXPECT_EQ(in_ps[i].first, expected[i].first);
        const auto at = static_cast<std::size_t>(in_ps[i].second);
        EXPECT_EQ(Bytes(ps.bytes().begin() + static_cast<std::ptrdiff_t>(at),
                        ps.bytes().begin() + static_cast<std::ptrdiff_t>(at + 4)),
                  Bytes(es.begin() + expected[i].second, es.begin() + expected[i].second + 4));
    }
}

// Start-code searches stop at the search limit even where no start code breaks up the bytes,
// so that a large file without one is not probed to its end.
constexpr std::int64_t mib = 1 << 20;

// `gap` zero bytes, then a pack header.
std::string late_pack(const test::TempDir& dir, std::int64_t gap) {
    PsWriter ps;
    ps.raw(Bytes(static_cast<std::size_t>(gap), 0)).pack_header();
    return dir.write("late.mpg", ps.bytes());
}

TEST(SearchLimitRegression, AProgramStreamIsProbedOnlyWithinTheLimit) {
    const test::TempDir dir;
    const std::string path = late_pack(dir, 3 * mib);
    for (const std::int32_t limit : {std::int32_t{1 << 20}, std::int32_t{4 << 20}}) {
        const auto reader = block_reader_open(path, MemorySettings{});
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(ps_probe(*reader, limit), limit > 3 * mib) << limit;
    }
}

}  // namespace
}  // namespace quarnel
