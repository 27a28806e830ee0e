#include "video/gop_list.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(GopListLookup, FindsTheEntryHoldingTheFrameAndNothingOutsideTheStream) {
    GopList list;
    list.total_frames = 40;
    list.entries = {{100, 0, 12, 0}, {200, 12, 15, 0}, {300, 27, 13, 1}};
    EXPECT_EQ(lookup_gop_list(list, 0).position, 100);
    EXPECT_EQ(lookup_gop_list(list, 11).position, 100);
    EXPECT_EQ(lookup_gop_list(list, 12).position, 200);
    EXPECT_EQ(lookup_gop_list(list, 26).position, 200);
    EXPECT_EQ(lookup_gop_list(list, 27).position, 300);
    EXPECT_EQ(lookup_gop_list(list, 39).position, 300);
    EXPECT_EQ(lookup_gop_list(list, 40), GopEntry{});
    EXPECT_EQ(lookup_gop_list(list, -1), GopEntry{});
    EXPECT_EQ(lookup_gop_list(GopList{}, 0), GopEntry{});
}

}  // namespace
}  // namespace quarnel
