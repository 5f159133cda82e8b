#include "image/SampleArt.h"

#include "image/TgaReader.h"
#include "image/TgaWriter.h"
#include "platform/FileError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

TEST(TgaWriter, ReadsBackThroughTheReader) {
    std::vector<TgaColor> pixels(5 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = MakeTgaColor(static_cast<std::uint8_t>(i < 7 ? 9 : i * 10), 20, 30,
                                 static_cast<std::uint8_t>(i * 17));
    }
    const auto bytes = EncodeTga32(pixels, 5, 3);
    EXPECT_EQ(bytes[2], 10);
    EXPECT_EQ(bytes[16], 32);
    EXPECT_EQ(bytes[17], 8);
    CTgaReader reader{std::span<const std::uint8_t>(bytes)};
    ASSERT_TRUE(reader.HasAlpha());
    ASSERT_EQ(reader.width(), 5);
    // The file holds the bottom row first.
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(reader.pixels()[(2 - y) * 5 + x], pixels[y * 5 + x]) << x << "," << y;
        }
    }
}

TEST(SampleArt, IsDeterministicAndSpriteLike) {
    const SampleOptions options{.animations = 2, .frames = 4, .width = 64, .height = 48, .seed = 9};
    const SamplePicture a = DrawSampleFrame(options, 1, 2);
    const SamplePicture b = DrawSampleFrame(options, 1, 2);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.mask, b.mask);
    EXPECT_NE(DrawSampleFrame(options, 1, 3).pixels, a.pixels); // it moves
    EXPECT_NE(DrawSampleFrame(options, 0, 2).pixels, a.pixels); // animations differ

    int transparent = 0, translucent = 0, opaque = 0, team = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const int alpha = AlphaOf(a.pixels[i]);
        transparent += alpha == 0;
        translucent += alpha > 0 && alpha < 255;
        opaque += alpha == 255;
        if (a.mask[i] != MakeTgaColor(0, 0, 0)) {
            ++team;
            EXPECT_GT(alpha, 0) << "team colour only on visible pixels";
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_GT(translucent, 20);
    EXPECT_GT(opaque, 200);
    EXPECT_GT(team, 50);
}

// 1 to 200 animations and frames, 2 to 1024 pixels a side: each limit is taken, one past it is
// refused before anything is written.
TEST(SampleArt, SizesAtTheLimitsAndOnePast) {
    const SampleOptions smallest{.animations = 1, .frames = 1, .width = 2, .height = 2, .seed = 1};
    const std::pair<int SampleOptions::*, std::pair<int, int>> limits[] = {
        {&SampleOptions::animations, {200, 201}}, {&SampleOptions::frames, {200, 201}},
        {&SampleOptions::width, {1024, 1025}},    {&SampleOptions::height, {1024, 1025}},
        {&SampleOptions::animations, {1, 0}},     {&SampleOptions::frames, {1, 0}},
        {&SampleOptions::width, {2, 1}},          {&SampleOptions::height, {2, 1}}};
    for (const auto& [field, sizes] : limits) {
        test::TempFolder folder;
        SampleOptions options = smallest;
        options.*field = sizes.first;
        EXPECT_NO_THROW(WriteSampleSet(folder / "at", options)) << sizes.first;
        options.*field = sizes.second;
        EXPECT_THROW(WriteSampleSet(folder / "past", options), FileError) << sizes.second;
        EXPECT_FALSE(std::filesystem::exists(folder / "past"));
    }
}

TEST(SampleArt, WritesNumberedSeriesAndABuilding) {
    test::TempFolder folder;
    const SampleOptions options{.animations = 2, .frames = 3, .width = 32, .height = 32, .seed = 1};
    const SampleSet set = WriteSampleSet(folder.path(), options);
    ASSERT_EQ(set.firstPictures.size(), 2u);
    EXPECT_EQ(set.firstPictures[1], folder / "unit/anim01/anim01_0001.tga");
    EXPECT_TRUE(std::filesystem::exists(folder / "unit/anim01/anim01_0003.tga"));
    EXPECT_TRUE(std::filesystem::exists(folder / "mask/anim00/anim00_mask_0003.tga"));
    CTgaReader house(set.building);
    ASSERT_TRUE(house.HasAlpha());
    EXPECT_EQ(house.width(), 170);
    EXPECT_EQ(house.alpha()[0], 0); // transparent margin
}

} // namespace
} // namespace fenwold
