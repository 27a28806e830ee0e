#include "support/video_es_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "video/header_codes.h"
#include "video/picture_header.h"

namespace quarnel::test {
namespace {

TEST(VideoEsWriter, PicturesCarryDisplayOrderTemporalReferences) {
    VideoEsWriter es;
    es.sequence(mpeg2_sequence(720, 576)).gop().pictures("IBBPBBP").sequence_end();
    auto reader = es.open_reader();
    std::vector<int> references;
    PictureInfo picture;
    while (reader->next_start_code()) {
        if (reader->get_bits(32) != picture_start_code) continue;
        parse_picture_header(*reader, picture, false);
        EXPECT_EQ(picture.picture_coding_extension_present, 1);
        references.push_back(picture.temporal_reference);
    }
    EXPECT_EQ(references, (std::vector<int>{2, 0, 1, 5, 3, 4, 6}));
    EXPECT_EQ(reader->start_code_position() + 4, static_cast<std::int64_t>(es.data().size()))
        << "ends with the sequence end code";
}

TEST(VideoEsWriter, SlicePayloadNeverFormsAStartCode) {
    VideoEsWriter es;
    es.slice(1, 4000);
    auto reader = es.open_reader();
    ASSERT_TRUE(reader->next_start_code());
    reader->skip_bits(32);
    EXPECT_FALSE(reader->next_start_code());
}

}  // namespace
}  // namespace quarnel::test
