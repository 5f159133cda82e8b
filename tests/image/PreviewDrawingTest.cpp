#include "image/PreviewDrawing.h"

#include "image/FrameStreams.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>
#include <numeric>

namespace fenwold {
namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 16;

struct Frame {
    int width;
    int height;
    std::vector<std::uint16_t> pixels;
    std::vector<std::uint8_t> alpha;
};

Frame MakeFrame(int width, int height, Pixel555 colour, std::uint8_t alpha) {
    const std::vector<Pixel555> pixels(static_cast<std::size_t>(width) * height, colour);
    const std::vector<std::uint8_t> alphaPlane(pixels.size(), alpha);
    return {width, height, EncodeFramePixels(pixels, width, height),
            EncodeFrameAlpha(alphaPlane, width, height)};
}

TEST(DrawFrame, ClipsOnEverySide) {
    std::vector<Pixel555> buffer(kWidth * kHeight, 0);
    const Frame frame = MakeFrame(20, 4, 0x7FFF, 255);
    DrawFrame(kWidth, kHeight, -10, 14, frame.width, frame.height, buffer, frame.pixels,
              frame.alpha);
    EXPECT_EQ(buffer[14 * kWidth + 0], 0x7FFF); // column 10 of the frame
    EXPECT_EQ(buffer[14 * kWidth + 9], 0x7FFF);
    EXPECT_EQ(buffer[14 * kWidth + 10], 0);
    EXPECT_EQ(buffer[15 * kWidth + 5], 0x7FFF);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0x7FFF), 20);

    std::vector<Pixel555> untouched(kWidth * kHeight, 0);
    DrawFrame(kWidth, kHeight, 0, kHeight, frame.width, frame.height, untouched, frame.pixels,
              frame.alpha);
    DrawFrame(kWidth, kHeight, 0, -4, frame.width, frame.height, untouched, frame.pixels,
              frame.alpha);
    EXPECT_EQ(std::count(untouched.begin(), untouched.end(), 0), kWidth * kHeight);
}

TEST(DrawFrame, BlendsByAlpha) {
    std::vector<Pixel555> buffer(kWidth * kHeight, 0x001F);
    const Frame transparent = MakeFrame(2, 2, 0x7C00, 0);
    DrawFrame(kWidth, kHeight, 0, 0, 2, 2, buffer, transparent.pixels, transparent.alpha);
    EXPECT_EQ(buffer[0], 0x001F);
    const Frame half = MakeFrame(2, 2, 0x7C00, 128);
    DrawFrame(kWidth, kHeight, 0, 0, 2, 2, buffer, half.pixels, half.alpha);
    EXPECT_EQ(buffer[0], BlendPixel555(0x7C00, 0x001F, 128));
}

TEST(DrawMaskOverlay, PaintsNonZeroValuesGreen) {
    std::vector<Pixel555> buffer(kWidth * kHeight, 0);
    const std::vector<std::uint8_t> mask{0, 1, 1, 0};
    DrawMaskOverlay(kWidth, kHeight, 30, 0, 2, 2, buffer, EncodeFrameAlpha(mask, 2, 2));
    EXPECT_EQ(buffer[30], 0);
    EXPECT_EQ(buffer[31], 0x03E0);
    EXPECT_EQ(buffer[kWidth + 30], 0x03E0);
}

TEST(DrawImage, ClipsAndIndexedImageUsesThePalette) {
    std::vector<Pixel555> buffer(kWidth * kHeight, 0);
    std::vector<Pixel555> image(4 * 4);
    std::iota(image.begin(), image.end(), 1);
    DrawImage(kWidth, kHeight, kWidth - 2, kHeight - 1, 4, 4, image, buffer);
    EXPECT_EQ(buffer[(kHeight - 1) * kWidth + kWidth - 2], 1);
    EXPECT_EQ(buffer[(kHeight - 1) * kWidth + kWidth - 1], 2);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), kWidth * kHeight - 2);

    std::vector<Pixel555> palette(32);
    std::iota(palette.begin(), palette.end(), 100);
    const std::vector<std::uint8_t> indices{3, 31, 200, 0};
    const std::vector<std::uint8_t> selection{1, 0, 1, 0};
    std::vector<Pixel555> target(kWidth * kHeight, 0);
    DrawIndexedImage(kWidth, kHeight, -1, kHeight - 1, 2, 2, target, indices, selection, palette);
    EXPECT_EQ(target[(kHeight - 1) * kWidth + 0], 0); // index 31 but not selected
    DrawIndexedImage(kWidth, kHeight, 0, 0, 2, 2, target, indices, selection, palette);
    EXPECT_EQ(target[0], 103);
    EXPECT_EQ(target[kWidth], 131); // an index past the table takes its last entry
}

TEST(Lines, ClipToTheBuffer) {
    std::vector<Pixel555> buffer(320 * 4, 0);
    DrawHLine(320, 4, -5, 1000, 2, buffer, 0x1234);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0x1234), 320);
    DrawHLine(320, 4, 0, 10, 4, buffer, 0x4321);
    DrawVLine(320, 4, -3, 9, 320, buffer, 0x4321);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0x4321), 0);
    DrawRect(320, 4, 5, 3, 1, 0, buffer, 0x0001); // corners in any order
    EXPECT_EQ(buffer[0 * 320 + 1], 0x0001);
    EXPECT_EQ(buffer[3 * 320 + 5], 0x0001);
    EXPECT_EQ(buffer[1 * 320 + 1], 0x0001);
    EXPECT_EQ(buffer[1 * 320 + 3], 0);
}

TEST(TintRect, MovesPixelsTowardsTheColour) {
    std::vector<Pixel555> buffer(4 * 4, 0);
    TintRect(4, 4, 3, 3, 0, 0, buffer, 0x7C00);
    EXPECT_EQ(Red5(buffer[5]), 12); // (31 * 4 * 100 / 255) / 4
    EXPECT_EQ(Green5(buffer[5]), 0);
    buffer.assign(16, 0x7FFF);
    TintRect(4, 4, 0, 0, 0, 0, buffer, 0);
    EXPECT_EQ(Blue5(buffer[0]), (124 * 155 / 255) / 4);
    EXPECT_EQ(buffer[1], 0x7FFF);
}

TEST(Labels, BorderIsSevenPixelsACharacterPlusTwo) {
    RecordingWindowPainter window;
    DrawNumberLabel(window, 10, 20, 12, 0xFFFFFF, 0x000000);
    ASSERT_EQ(window.calls.size(), 5u);
    EXPECT_EQ(window.calls[0], "text 11,21 \"12\" FFFFFF on 000000");
    EXPECT_EQ(window.calls[1], "line 10,20 10,30 0000FF");
    EXPECT_EQ(window.calls[2], "line 10,30 26,30 0000FF");
    window.calls.clear();
    DrawOutline(window, 0, 0, 9, 9, 0x00FF00);
    EXPECT_EQ(window.calls[1], "rect 1,1 8,8 00FF00");
}

} // namespace
} // namespace fenwold
