#include "image/Pixel.h"

#include "image/DisplayBuffer.h"
#include "image/Hsv.h"
#include "image/SmallDivision.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

TEST(Pixel, ToPixel555TruncatesAndNeverSetsBit15) {
    EXPECT_EQ(ToPixel555(255, 255, 255), 0x7FFF);
    EXPECT_EQ(ToPixel555(8, 8, 8), 0x0421);
    EXPECT_EQ(ToPixel555(7, 7, 7), 0);
    EXPECT_EQ(ToPixel555(MakeTgaColor(255, 0, 0)), 0x7C00);
    EXPECT_EQ(ToPixel555(MakeTgaColor(0, 0, 255, 0)), 0x001F);
}

TEST(Pixel, ToPixel565AndItsInverseOverEveryValue) {
    EXPECT_EQ(ToPixel565(0x7FFF), 0xFFDF);
    for (int p = 0; p <= 0x7FFF; ++p) {
        const Pixel565 wide = ToPixel565(static_cast<Pixel555>(p));
        ASSERT_EQ(wide & 0x0020, 0) << p;
        ASSERT_EQ(FromPixel565(wide), p) << p;
    }
    // Any 565 value comes back less its lowest green bit.
    for (int q = 0; q <= 0xFFFF; ++q) {
        ASSERT_EQ(ToPixel565(FromPixel565(static_cast<Pixel565>(q))), q & ~0x0020) << q;
    }
}

TEST(Pixel, AlphaKeepsItsTopFiveBits) {
    EXPECT_EQ(QuantiseAlpha(7), 0);
    EXPECT_EQ(QuantiseAlpha(255), 248);
    EXPECT_EQ(QuantiseAlpha(128), 128);
}

TEST(Pixel, MaskThresholdsDifferForUnitsAndBuildings) {
    EXPECT_TRUE(IsBuildingMaskSelected(MakeTgaColor(128, 128, 128)));
    EXPECT_FALSE(IsUnitMaskSelected(MakeTgaColor(128, 128, 128)));
    EXPECT_EQ(MaskMean(MakeTgaColor(127, 130, 127)), 122);
    EXPECT_FALSE(IsBuildingMaskSelected(MakeTgaColor(127, 130, 127)));
    EXPECT_FALSE(IsUnitMaskSelected(MakeTgaColor(127, 130, 127)));
    // Channels are cut to 565 precision first: (136 + 132 + 128) / 3 = 132.
    EXPECT_EQ(MaskMean(MakeTgaColor(139, 135, 131)), 132);
}

TEST(Pixel, BlendColoursTruncatesEachQuotient) {
    const PackedColour a = 0x10FF80;
    const PackedColour b = 0xF00140;
    EXPECT_EQ(BlendColours(a, b, 255), a);
    EXPECT_EQ(BlendColours(a, b, 0), b);
    // 255 * 100 / 255 + 0 = 100; 0 * 100 / 255 + 255 * 155 / 255 = 155.
    EXPECT_EQ(BlendColours(0x0000FF, 0x00FF00, 100), 0x009B64u);
    // 1 * 128 / 255 + 1 * 127 / 255 truncates both halves to 0.
    EXPECT_EQ(BlendColours(0x000001, 0x000001, 128), 0u);
}

TEST(Pixel, BlendPixel555) {
    EXPECT_EQ(BlendPixel555(0x7FFF, 0x1234, 0), 0x1234);
    EXPECT_EQ(BlendPixel555(0xFFFF, 0x1234, 255), 0xFFFF); // stored as given
    // Bit 15 of the source is cleared before blending.
    EXPECT_EQ(BlendPixel555(0x8000 | 0x7C00, 0x0000, 128), (31 * 128 / 255) << 10);
    // Each channel: 31 * 8 / 255 + 0 * 247 / 255 = 0, so a faint blend over black vanishes.
    EXPECT_EQ(BlendPixel555(0x7FFF, 0, 8), 0);
    EXPECT_EQ(BlendPixel555(0, 0x7FFF, 8), (30 << 10) | (30 << 5) | 30);
}

// Greys and primaries, a colour in each sector of hues with the rounding of hue and
// saturation, and ties of two largest channels (blue wins over green, green over red).
TEST(Hsv, EverySectorAndTieConvertsBothWays) {
    const std::pair<PackedColour, HsvColor> colours[] = {{0, {0, 0, 0}},
                                                         {0x808080, {0, 0, 128}},
                                                         {0xFF0000, {16, 100, 255}},
                                                         {0x00FF00, {48, 100, 255}},
                                                         {0x0000FF, {80, 100, 255}},
                                                         {0xC83214, {19, 90, 200}},
                                                         {0xC8B414, {30, 90, 200}},
                                                         {0x32C814, {46, 90, 200}},
                                                         {0x14C8B4, {62, 90, 200}},
                                                         {0x1432C8, {78, 90, 200}},
                                                         {0xB414C8, {94, 90, 200}},
                                                         {0x00FFFF, {65, 100, 255}},
                                                         {0xFFFF00, {33, 100, 255}},
                                                         {0xFF00FF, {96, 100, 255}},
                                                         {0x010203, {73, 67, 3}}};
    for (const auto& [rgb, hsv] : colours) {
        EXPECT_EQ(RgbToHsv(rgb), hsv) << std::hex << rgb;
    }
    EXPECT_EQ(HsvToRgb({16, 100, 255}), 0xFF0000u);
    const std::pair<std::uint8_t, PackedColour> hues[] = {
        {5, 0xC850A2},  {20, 0xC86E50}, {40, 0x8CC850}, {56, 0x50C88C},
        {70, 0x509BC8}, {90, 0x9B50C8}, {200, 0x8C50C8}};
    for (const auto& [hue, rgb] : hues) {
        EXPECT_EQ(HsvToRgb({hue, 60, 200}), rgb) << int{hue};
    }
    EXPECT_EQ(PackHsv({16, 100, 255}), 0xFF6410u);
}

TEST(Hsv, RestoreTranslucentColours) {
    std::vector<TgaColor> pixels{MakeTgaColor(64, 32, 0, 128), MakeTgaColor(10, 20, 30, 7),
                                 MakeTgaColor(10, 20, 30, 255), MakeTgaColor(200, 200, 200, 8)};
    const std::vector<std::uint8_t> alpha{128, 7, 255, 8};
    const HsvColor before = RgbToHsv(pixels[0] & 0xFFFFFF);
    RestoreTranslucentColours(pixels, alpha);
    const HsvColor after = RgbToHsv(pixels[0]);
    EXPECT_EQ(after.value, 127);
    EXPECT_EQ(after.hue, before.hue);
    EXPECT_EQ(AlphaOf(pixels[0]), 0);
    EXPECT_EQ(pixels[1], MakeTgaColor(10, 20, 30, 7));
    EXPECT_EQ(pixels[2], MakeTgaColor(10, 20, 30, 255));
    EXPECT_EQ(pixels[3], 0xFFFFFFu); // grey, value clamped to 255
}

TEST(DisplayBuffer, RowsAreRoundedToFourBytes) {
    EXPECT_EQ(DisplayBufferStride(400), 400);
    EXPECT_EQ(DisplayBufferStride(31), 32);
    EXPECT_EQ(AllocateDisplayBuffer(3, 2).size(), (3u + 2u) * 2u);
    auto buffer = AllocateDisplayBuffer(3, 2);
    FillDisplayBuffer(3, 2, buffer, 0xFF);
    // (3 * 2 + 2) * 2 = 16 bytes: 8 pixels filled, the rest of the reservation left.
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xFFFF), 8);
    EXPECT_EQ(buffer[8], 0);
}

// The colour arithmetic divides by bytes as multiplications, exact over their whole domain.
TEST(SmallDivision, EqualsTheDivisionOperatorOverItsDomain) {
    for (int d = 1; d <= 255; ++d) {
        for (int n = -65535; n <= 65535; ++n) {
            if (DivideSignedByByte(n, d) != n / d ||
                (n >= 0 && DivideByByte(static_cast<unsigned>(n), static_cast<unsigned>(d)) !=
                               static_cast<unsigned>(n / d))) {
                FAIL() << n << " / " << d;
            }
        }
    }
}

TEST(Hsv, RestoredColourEqualsTheDivisionForEveryValueAndAlpha) {
    // Greys isolate the brightening: hue and saturation stay 0, the value is every byte.
    for (unsigned value = 0; value <= 255; ++value) {
        for (unsigned alpha = 8; alpha <= 254; ++alpha) {
            const unsigned restored = std::min(value * 255 / alpha, 255u);
            ASSERT_EQ(RestoredColour(value * 0x010101u, static_cast<std::uint8_t>(alpha)),
                      restored * 0x010101u)
                << value << " at alpha " << alpha;
        }
    }
}

} // namespace
} // namespace fenwold
