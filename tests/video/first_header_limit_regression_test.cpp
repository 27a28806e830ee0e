// The video open looks for its first sequence header only within the search limit, also
// where no start code at all comes before it.

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"
#include "support/video_es_writer.h"
#include "video/video_source.h"

namespace quarnel {
namespace {

TEST(FirstHeaderLimitRegression, ASequenceHeaderAfterMegabytesOfZerosLiesBeyondTheLimit) {
    test::VideoEsWriter es;
    es.raw(std::vector<std::uint8_t>(3 << 20, 0));
    es.sequence(test::mpeg2_sequence(720, 576)).gop({.closed_gop = true}).pictures("IPP");
    es.sequence_end();
    const test::TempDir dir;
    const std::string path = dir.write("late.m2v", es.data());

    MemorySettings settings;
    settings.set("gl", gl_no_list_file);
    settings.set("limit", 1 << 20);
    EXPECT_EQ(video_source_open(path, settings), nullptr);
    settings.set("limit", 4 << 20);
    EXPECT_NE(video_source_open(path, settings), nullptr);
}

}  // namespace
}  // namespace quarnel
