// The program stream layer shows packets in place and falls back to copying them only where
// its block does not hold them whole. Whatever the stream, it must read and seek exactly as
// the plain layer of tests/support/ps_layer_reference.h does, which copies every packet.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "input/block_reader.h"
#include "input/ps_layer.h"
#include "tests/support/ps_layer_reference.h"
#include "tests/support/ps_writer.h"
#include "tests/support/temp_dir.h"

namespace quarnel {
namespace {

using test::Bytes;
using test::MuxSyntax;
using test::PsWriter;

using Random = std::mt19937;

std::int64_t pick(Random& random, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
}

// Bytes of any value, zeros and ones often enough that start codes form among them.
Bytes random_bytes(Random& random, std::size_t count) {
    Bytes bytes(count);
    for (auto& byte : bytes) {
        const auto roll = pick(random, 0, 9);
        byte = static_cast<std::uint8_t>(roll < 3 ? 0 : roll == 3 ? 1 : pick(random, 0, 255));
    }
    return bytes;
}

Bytes random_payload(Random& random) {
    switch (pick(random, 0, 9)) {
        case 0:
            return {};
        case 1:
            return random_bytes(random, static_cast<std::size_t>(pick(random, 1, 16)));
        case 2:
            return random_bytes(random, static_cast<std::size_t>(pick(random, 2048, 8000)));
        default:
            return random_bytes(random, static_cast<std::size_t>(pick(random, 17, 2048)));
    }
}

test::PesFields random_fields(Random& random) {
    return {.pts = pick(random, 0, 1) ? pick(random, 0, 1 << 30) : -1,
            .dts = pick(random, 0, 1) ? pick(random, 0, 1 << 30) : -1,
            .stuffing = static_cast<int>(pick(random, 0, 3)),
            .std_buffer = pick(random, 0, 1) == 1};
}

// Packets of several streams after pack headers, and now and then what damaged files hold:
// bytes between packs, packets of random bytes whose headers claim more than the packet
// holds, packets of length 0.
void append_random_part(PsWriter& ps, MuxSyntax syntax, Random& random) {
    switch (pick(random, 0, 13)) {
        case 0:
            ps.pack_header(pick(random, 0, 1 << 20));
            break;
        case 1:
            ps.system_header({0xE0, 0xC0, 0xBD});
            break;
        case 2:
            ps.pes(0xC0, random_payload(random), random_fields(random));
            break;
        case 3:
            ps.private_stream_1(
                pick(random, 0, 2) == 0 ? 0xA0 : 0x80 + static_cast<int>(pick(random, 0, 1)),
                random_payload(random), random_fields(random));
            break;
        case 4:
            ps.padding(static_cast<int>(pick(random, 0, 300)));
            break;
        case 5: {
            constexpr int ids[] = {0xBC, 0xBD, 0xBF, 0xC0, 0xE0, 0xF0};
            ps.raw(test::system_packet(ids[pick(random, 0, 5)], random_payload(random)));
            break;
        }
        case 6:
            ps.raw(random_bytes(random, static_cast<std::size_t>(pick(random, 1, 40))));
            break;
        case 7:
            if (pick(random, 0, 3) == 0) {
                ps.raw(test::pes_packet(syntax, 0xE0, random_payload(random), {}, false));
            } else {
                ps.end_code();
            }
            break;
        default: {
            const int id = pick(random, 0, 3) == 0 ? 0xE1 : 0xE0;
            ps.pes(id, random_payload(random), random_fields(random));
        }
    }
}

Bytes random_stream(Random& random, std::size_t size) {
    const MuxSyntax syntax = pick(random, 0, 1) ? MuxSyntax::mpeg2 : MuxSyntax::mpeg1;
    PsWriter ps(syntax);
    ps.pack_header();
    while (ps.size() < size) append_random_part(ps, syntax, random);
    Bytes bytes = ps.bytes();
    if (pick(random, 0, 1)) {  // cut the last packet short
        const auto cut = pick(random, 1, std::min<std::int64_t>(200, std::ssize(bytes) - 1));
        bytes.resize(bytes.size() - static_cast<std::size_t>(cut));
    }
    return bytes;
}

class LayerPair {
  public:
    LayerPair(const std::string& path, StreamKind kind, const SettingsStore& settings)
        : layer_(ps_layer_open(path, kind, settings)),
          reference_(test::reference_ps_layer_open(path, kind, settings)) {}

    bool opened() const { return layer_ != nullptr; }
    bool both_or_neither() const { return (layer_ == nullptr) == (reference_ == nullptr); }

    void expect_same_read(std::size_t size) {
        got_.resize(std::max(got_.size(), size));
        expected_.resize(std::max(expected_.size(), size));
        const std::size_t count = layer_->read(got_.data(), size);
        ASSERT_EQ(count, reference_->read(expected_.data(), size)) << "read of " << size;
        ASSERT_TRUE(std::equal(got_.begin(), got_.begin() + static_cast<std::ptrdiff_t>(count),
                               expected_.begin()))
            << "read of " << size;
        ASSERT_EQ(layer_->tell(), reference_->tell()) << "after a read of " << size;
    }

    void expect_same_seek(std::int64_t offset, SeekOrigin origin) {
        ASSERT_EQ(layer_->seek(offset, origin), reference_->seek(offset, origin))
            << "seek to " << offset << " from " << static_cast<int>(origin);
        ASSERT_EQ(layer_->tell(), reference_->tell()) << "after a seek to " << offset;
    }

    // Reads in pieces of random size until both deliver nothing twice in a row: a packet of
    // length 0 stops only the read that meets it.
    void expect_same_reads_to_end(Random& random, std::int64_t largest) {
        ASSERT_EQ(layer_->tell(), reference_->tell());
        for (int empty = 0; empty < 2;) {
            const auto told = layer_->tell();
            ASSERT_NO_FATAL_FAILURE(
                expect_same_read(static_cast<std::size_t>(pick(random, 1, largest))));
            empty = layer_->tell() == told ? empty + 1 : 0;
        }
    }

    // Reads of every size and seeks from every origin, `targets` choosing the offsets.
    template <typename Targets>
    void expect_same_operations(Random& random, int count, Targets targets) {
        ASSERT_EQ(layer_->tell(), reference_->tell());
        for (int i = 0; i < count; ++i) {
            SCOPED_TRACE(i);
            constexpr std::size_t read_sizes[] = {1, 7, 100, 2048, 0x80000};
            if (pick(random, 0, 2) > 0) {
                const std::size_t largest = read_sizes[pick(random, 0, 4)];
                ASSERT_NO_FATAL_FAILURE(expect_same_read(
                    static_cast<std::size_t>(pick(random, 1, static_cast<std::int64_t>(largest)))));
            } else {
                const auto origin = static_cast<SeekOrigin>(pick(random, 0, 2));
                ASSERT_NO_FATAL_FAILURE(expect_same_seek(targets(origin), origin));
            }
        }
    }

  private:
    std::unique_ptr<StreamOps> layer_;
    std::unique_ptr<StreamOps> reference_;
    Bytes got_;
    Bytes expected_;
};

// Seek offsets around the stream for each origin, a few of them outside it.
auto offsets_within(Random& random, std::int64_t size) {
    return [&random, size](SeekOrigin origin) {
        switch (origin) {
            case SeekOrigin::begin:
                return pick(random, -2, size + 2);
            case SeekOrigin::current:
                return pick(random, -5000, 5000);
            case SeekOrigin::end:
                break;
        }
        return pick(random, -size - 2, 2);
    };
}

TEST(PsLayerIdentity, RandomStreamsReadAndSeekAsTheReference) {
    const test::TempDir dir;
    const MemorySettings settings;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        SCOPED_TRACE(seed);
        Random random(seed);
        const Bytes stream =
            random_stream(random, static_cast<std::size_t>(pick(random, 1, 40000)));
        const std::string path = dir.write("random.mpg", stream);
        const auto size = static_cast<std::int64_t>(stream.size());
        for (const StreamKind kind : {StreamKind::video, StreamKind::mpeg_audio, StreamKind::ac3}) {
            LayerPair layers(path, kind, settings);
            ASSERT_TRUE(layers.both_or_neither());
            if (!layers.opened()) continue;
            ASSERT_NO_FATAL_FAILURE(
                layers.expect_same_operations(random, 200, offsets_within(random, size)));
            ASSERT_NO_FATAL_FAILURE(layers.expect_same_seek(0, SeekOrigin::begin));
            ASSERT_NO_FATAL_FAILURE(layers.expect_same_reads_to_end(random, 3000));
        }
    }
}

// DVD-style packs of 2048 bytes behind a padding packet that puts the block boundary at
// `offset` in a pack: on its start code, its length field, its header, its last bytes.
Bytes packs_with_boundary_at(int offset, Random& random) {
    constexpr int pack = 2048;
    const int padding = (2 * pack - 6 - offset) % pack;  // of length 0 it would end reading
    PsWriter ps;
    ps.padding(padding > 0 ? padding : pack);
    ps.packets(0xE0, random_bytes(random, 2025 * 300), 2025);
    return ps.bytes();
}

TEST(PsLayerIdentity, PacketsAroundTheBlockBoundaryReadAndSeekAsTheReference) {
    const test::TempDir dir;
    const MemorySettings settings;
    constexpr std::int64_t boundary = BlockReader::block_size;
    for (int offset = -10; offset <= 30; ++offset) {
        SCOPED_TRACE(offset);
        Random random(static_cast<std::uint32_t>(offset + 100));
        const Bytes packs = packs_with_boundary_at(offset, random);
        const std::string path = dir.write("packs.vob", packs);
        LayerPair layers(path, StreamKind::video, settings);
        ASSERT_TRUE(layers.opened());
        ASSERT_NO_FATAL_FAILURE(layers.expect_same_reads_to_end(random, 3000));
        ASSERT_NO_FATAL_FAILURE(layers.expect_same_operations(random, 60, [&](SeekOrigin origin) {
            const std::int64_t near = pick(random, boundary - 3000, boundary + 3000);
            return origin == SeekOrigin::begin     ? near
                   : origin == SeekOrigin::current ? pick(random, -50, 50)
                                                   : near - std::ssize(packs);
        }));
    }
}

TEST(PsLayerIdentity, SplitFileSetsReadAndSeekAsTheReference) {
    const test::TempDir dir;
    MemorySettings settings;
    settings.set("file", 1);
    Random random(7);
    const Bytes stream = random_stream(random, 1300000);
    const auto size = static_cast<std::int64_t>(stream.size());
    const auto first_end = static_cast<std::ptrdiff_t>(pick(random, 1000, size / 2));
    const auto second_end = static_cast<std::ptrdiff_t>(pick(random, size / 2, size - 1000));
    const std::string path =
        dir.write("split_001.mpg", Bytes(stream.begin(), stream.begin() + first_end));
    dir.write("split_002.mpg", Bytes(stream.begin() + first_end, stream.begin() + second_end));
    dir.write("split_003.mpg", Bytes(stream.begin() + second_end, stream.end()));
    for (const StreamKind kind : {StreamKind::video, StreamKind::mpeg_audio}) {
        LayerPair layers(path, kind, settings);
        ASSERT_TRUE(layers.opened());
        ASSERT_NO_FATAL_FAILURE(layers.expect_same_reads_to_end(random, 5000));
        ASSERT_NO_FATAL_FAILURE(
            layers.expect_same_operations(random, 400, offsets_within(random, size)));
    }
}

}  // namespace
}  // namespace quarnel
