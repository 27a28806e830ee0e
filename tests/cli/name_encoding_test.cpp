// The file name encodings of the command line.

#include <gtest/gtest.h>

#include "cli/name_encoding.h"

namespace quarnel::cli {
namespace {

TEST(NameEncodings, PickTheCodePage) {
    EXPECT_EQ(encode_file_name("clip 01.mpg", NameEncoding::as_is), "clip 01.mpg");
    EXPECT_EQ(encode_file_name("\xE6\x98\xA0", NameEncoding::cp932), "\x89\x66");
    // An emoji has no form in code page 932.
    EXPECT_EQ(encode_file_name("\xF0\x9F\x8E\xA5", NameEncoding::cp932), std::nullopt);
}

}  // namespace
}  // namespace quarnel::cli
