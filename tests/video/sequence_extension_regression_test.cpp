// A sequence header followed by its extension more than once.

#include <gtest/gtest.h>

#include "support/video_es_writer.h"
#include "video/header_codes.h"
#include "video/sequence_header.h"

namespace quarnel {
namespace {

TEST(SequenceExtensionRegression, ARepeatedExtensionSetsTheHighBitsOnceInsteadOfAddingThem) {
    SequenceInfo coded = test::mpeg2_sequence(720, 576);
    coded.bit_rate = (4095 << 18) | 15000;  // the largest bit_rate_extension
    test::VideoEsWriter es;
    es.sequence_header(coded);
    for (int k = 0; k < 3; ++k) es.sequence_extension(coded);
    es.sequence_end();

    const auto reader = es.open_reader_past(sequence_header_code);
    ASSERT_NE(reader, nullptr);
    SequenceInfo parsed;
    parse_sequence_header(*reader, parsed);
    EXPECT_EQ(parsed.bit_rate, coded.bit_rate);
    EXPECT_EQ(parsed.horizontal_size, 720);
    EXPECT_EQ(parsed.vbv_buffer_size, coded.vbv_buffer_size);
}

}  // namespace
}  // namespace quarnel
