#include "audio/frame_buffer.h"

#include <gtest/gtest.h>

#include <vector>

#include "audio/frame_header.h"
#include "support/mp2_writer.h"

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FrameBuffer, CapacitiesAreMultiplesOf4096AboveTheSizeHeld) {
    FrameBuffer small;
    ASSERT_TRUE(small.append(Bytes(100, 1).data(), 100));
    EXPECT_EQ(small.capacity(), 4096u);
    FrameBuffer large;
    ASSERT_TRUE(large.append(Bytes(4097, 1).data(), 4097));
    EXPECT_EQ(large.capacity(), 8192u);
}

TEST(FrameBuffer, AnAppendThatWouldFillTheBlockExactlyMovesToALargerOne) {
    FrameBuffer buffer;
    const Bytes first(4000, 1), second(96, 2);
    ASSERT_TRUE(buffer.append(first.data(), first.size()));
    ASSERT_EQ(buffer.capacity(), 4096u);
    ASSERT_TRUE(buffer.append(second.data(), second.size()));
    EXPECT_EQ(buffer.capacity(), 8192u);
    EXPECT_EQ(buffer.length(), 4096u);
    EXPECT_EQ(buffer.read_pointer()[3999], 1);
    EXPECT_EQ(buffer.read_pointer()[4000], 2);
}

TEST(FrameBuffer, BytesHandedOutMakeRoomForNewOnes) {
    FrameBuffer buffer;
    Bytes data(4000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(buffer.append(data.data(), data.size()));
    Bytes out(3000);
    ASSERT_TRUE(buffer.take(out.data(), out.size()));
    EXPECT_EQ(out[2999], data[2999]);

    ASSERT_TRUE(buffer.append(data.data(), 1000));
    EXPECT_EQ(buffer.capacity(), 4096u);
    EXPECT_EQ(buffer.length(), 2000u);
    EXPECT_EQ(buffer.read_pointer()[0], data[3000]);
    EXPECT_EQ(buffer.read_pointer()[1000], data[0]);
    EXPECT_FALSE(buffer.take(out.data(), 2001));
    EXPECT_EQ(buffer.available(), 2000u);
}

TEST(FrameBuffer, FindsAFrameOnlyOnceItsEndIsConfirmed) {
    const test::Mp2Format format{};  // 576-byte frames
    const Bytes frames = test::mp2_frames(format, 2);
    Bytes stream(10, 0x33);
    stream.insert(stream.end(), frames.begin(), frames.end());

    // The first frame is held whole, but its successor's sync is not yet visible.
    FrameBuffer buffer;
    ASSERT_TRUE(buffer.append(stream.data(), 10 + 577));
    EXPECT_EQ(buffer.find_next_frame(), nullptr);

    ASSERT_TRUE(buffer.append(stream.data() + 587, 1));
    const std::uint8_t* frame = buffer.find_next_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame, buffer.read_pointer());
    EXPECT_EQ(read_header_word(frame), test::mp2_header_word(format, false));
    EXPECT_EQ(buffer.available(), 578u);

    // The second frame ends exactly at the end of the data.
    ASSERT_TRUE(buffer.append(stream.data() + 588, stream.size() - 588));
    Bytes out(576);
    ASSERT_TRUE(buffer.take(out.data(), out.size()));
    frame = buffer.find_next_frame();
    EXPECT_EQ(frame, buffer.read_pointer());
    EXPECT_EQ(buffer.available(), 576u);
}

TEST(FrameBuffer, SkipsSyncsWhoseHeaderIsRejectedOrWhoseSuccessorIsMissing) {
    const Bytes frame = test::mp2_frames({}, 1);
    Bytes stream = {0xFF, 0xF0, 0, 0, 0xFF, 0xFD, 0x00, 0x00};  // ID 0, then free format
    stream.insert(stream.end(), frame.begin(), frame.end());
    stream.insert(stream.end(), {0xFF, 0xFD, 0x40});  // a successor sync
    FrameBuffer buffer;
    ASSERT_TRUE(buffer.append(stream.data(), stream.size()));
    const std::uint8_t* found = buffer.find_next_frame();
    EXPECT_EQ(found, buffer.read_pointer());
    EXPECT_EQ(buffer.available(), frame.size() + 3);
}

TEST(FrameBuffer, SyncSearchStopsOnTheLastByteHeld) {
    FrameBuffer buffer;
    EXPECT_EQ(buffer.find_sync(), nullptr);
    const Bytes data = {1, 2, 3, 0xFF};
    ASSERT_TRUE(buffer.append(data.data(), data.size()));
    EXPECT_EQ(buffer.find_sync(), nullptr);
    EXPECT_EQ(buffer.available(), 1u);
}

}  // namespace
}  // namespace quarnel
