// Audio timelines measured from damaged or oddly multiplexed files.

#include <gtest/gtest.h>

#include "audio/audio_source.h"
#include "base/settings.h"
#include "support/mp2_writer.h"
#include "support/ps_writer.h"
#include "support/temp_dir.h"

namespace quarnel {
namespace {

// Damaged stamps can put the last packet before the first: each span still counts its own.
TEST(AudioLengthRegression, AudioWhoseLastStampPrecedesItsFirstCountsBothSpans) {
    test::PsWriter ps;
    const auto frames = test::mp2_frames({}, 2);
    ps.pack_header().pes(0xC0, frames, {.pts = 900000});
    ps.pack_header().pes(0xC0, frames, {.pts = 3600});

    const test::TempDir dir;
    const MemorySettings settings;
    const auto source = audio_source_open(dir.write("clip.mpg", ps.bytes()), settings);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->length_samples(), 4 * 1152);
}

}  // namespace
}  // namespace quarnel
