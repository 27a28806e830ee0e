#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "audio/audio_source.h"
#include "base/settings.h"
#include "support/mp2_writer.h"
#include "support/ps_writer.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

// Program streams of audio and video packets with damaged frames, random stamps, flipped
// bytes and cut ends: opening and reading them must neither fail unsafely nor hang.
TEST(AudioSource, DamagedStreamsAreReadSafely) {
    const test::TempDir dir;
    std::mt19937 rng(7);
    const auto below = [&](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
    for (int round = 0; round < 200; ++round) {
        test::PsWriter ps;
        for (std::uint32_t i = 0, packets = 1 + below(30); i < packets; ++i) {
            test::Bytes payload = below(2) ? test::mp2_frames({}, 1 + static_cast<int>(below(3)))
                                           : test::Bytes(below(2000));
            for (auto& b : payload) {
                if (below(50) == 0) b = static_cast<std::uint8_t>(rng());
            }
            test::PesFields fields;
            if (below(3) != 0) fields.pts = below(1000000);
            ps.pack_header().pes(below(3) == 0 ? 0xE0 : 0xC0, payload, fields);
        }
        test::Bytes bytes = ps.bytes();
        if (below(2) != 0) bytes.resize(below(static_cast<std::uint32_t>(bytes.size()) + 1));
        for (auto& b : bytes) {
            if (below(500) == 0) b = static_cast<std::uint8_t>(rng());
        }
        const auto source = audio_source_open(dir.write("damaged.mpg", bytes), MemorySettings{});
        if (!source) continue;
        EXPECT_GT(source->sampling_rate(), 0);
        AudioReaderOps& reader = source->reader();
        std::vector<std::uint8_t> frame(2000);
        for (int k = 0; k < 20; ++k) {
            reader.peek_header();
            reader.read_frame(frame.data(), below(2000));
        }
        reader.seek_samples(static_cast<std::int64_t>(below(100000)) - 5000);
        reader.peek_header();
    }
}

}  // namespace
}  // namespace quarnel
