#include "unit/RegistrationLayout.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

RegisteredAnimation Sized(int width, int height, int frames) {
    RegisteredAnimation animation;
    animation.width = static_cast<std::uint16_t>(width);
    animation.height = static_cast<std::uint16_t>(height);
    animation.frames.resize(static_cast<std::size_t>(frames));
    return animation;
}

std::pair<int, int> Place(const RegisteredFrame& frame) {
    return {frame.displayX, frame.displayY};
}

TEST(RegistrationLayout, FramesFlowAcrossAnimationsAndWrap) {
    RegisteredAnimations list{Sized(20, 10, 3), Sized(30, 40, 2)};
    // Client width 80: 2, 27 and then 52 + 20 + 5 + 20 >= 80 wraps after the third frame.
    const ScrollSize size = LayOutFrames(list, 0, 80);
    const auto& a = list.front().frames;
    const auto& b = list.back().frames;
    EXPECT_EQ(Place(a[0]), std::make_pair(2, 2));
    EXPECT_EQ(Place(a[1]), std::make_pair(27, 2));
    EXPECT_EQ(Place(a[2]), std::make_pair(52, 2));
    EXPECT_EQ(Place(b[0]), std::make_pair(2, 17)); // the row was as high as 10
    EXPECT_EQ(Place(b[1]), std::make_pair(37, 17));
    // After b[1]: x = 72, 72 + 30 >= 80 wraps again: y = 17 + 40 + 5 = 62, height 0.
    EXPECT_EQ(size, (ScrollSize{100, 67}));
}

TEST(RegistrationLayout, SkippedAnimationsKeepTheirPlaces) {
    RegisteredAnimations list{Sized(10, 10, 1), Sized(10, 10, 1)};
    list.front().frames[0].displayX = 77;
    LayOutFrames(list, 1, 1000);
    EXPECT_EQ(list.front().frames[0].displayX, 77);
    EXPECT_EQ(Place(list.back().frames[0]), std::make_pair(2, 2));
    EXPECT_EQ(LayOutFrames(list, 5, 1000), (ScrollSize{100, 7})); // nothing drawn
}

TEST(RegistrationLayout, ScrollHeightStopsAt32767) {
    RegisteredAnimations list{Sized(10, 200, 200)};
    EXPECT_EQ(LayOutFrames(list, 0, 10).height, 32767);
}

TEST(RegistrationLayout, HitTestIncludesBothEndsAndScrolls) {
    RegisteredAnimations list{Sized(20, 10, 2)};
    LayOutFrames(list, 0, 1000);
    ASSERT_TRUE(HitTestFrames(list, 0, 2, 2, 0));
    EXPECT_EQ(HitTestFrames(list, 0, 22, 12, 0)->frame, 0); // x + width, y + height
    EXPECT_FALSE(HitTestFrames(list, 0, 24, 5, 0));         // the gap
    EXPECT_EQ(HitTestFrames(list, 0, 27, 5, 0)->frame, 1);
    EXPECT_FALSE(HitTestFrames(list, 0, 5, 5, 10)); // scrolled down by 10
    EXPECT_EQ(HitTestFrames(list, 0, 5, -5, 10)->frame, 0);
}

} // namespace
} // namespace fenwold
