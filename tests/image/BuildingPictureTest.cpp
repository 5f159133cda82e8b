#include "image/BuildingPicture.h"

#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace fenwold {
namespace {

using test::TgaBuilder;

const TgaColor kWhite = MakeTgaColor(255, 255, 255);
const TgaColor kGrey = MakeTgaColor(128, 128, 128);

class BuildingPictureTest : public ::testing::Test {
protected:
    // A width x height picture whose box of visible pixels starts at (left, top); every visible
    // pixel has its own colour from its place, and the box's second pixel is transparent.
    void Write(const std::string& name, int width, int height, int left, int top, int boxWidth,
               int boxHeight) {
        std::vector<TgaColor> pixels(static_cast<std::size_t>(width) * height, 0);
        for (int y = top; y < top + boxHeight; ++y) {
            for (int x = left; x < left + boxWidth; ++x) {
                pixels[static_cast<std::size_t>(y) * width + x] = MakeTgaColor(
                    static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 2), 8);
            }
        }
        pixels[static_cast<std::size_t>(top) * width + left + 1] = MakeTgaColor(80, 80, 80, 0);
        folder.Write(name, TgaBuilder::Picture(width, height, pixels, 32, true));
    }

    test::TempFolder folder;
    ScriptedPlatform platform{folder.path()};
};

TEST_F(BuildingPictureTest, VisibleBoxIsCentredInWholeTiles) {
    Write("house.tga", 120, 90, 7, 5, 100, 70);
    const auto picture = LoadBuildingPicture("house.tga", platform.Get());
    ASSERT_TRUE(picture);
    // Crop, box, padded size, tiles and the box's offset in the padded picture.
    EXPECT_EQ(std::tuple(picture->cropX, picture->cropY, picture->boxWidth, picture->boxHeight,
                         picture->width, picture->height, picture->tileColumns, picture->tileRows,
                         picture->offsetX, picture->offsetY),
              std::tuple(7, 5, 100, 70, 128, 96, 4, 3, 14, 13));
    const auto at = [&](int x, int y) { return static_cast<std::size_t>(y) * 128 + x; };
    // The box's first pixel lands at (14, 13); the margin is padding.
    EXPECT_EQ(picture->pixels[at(14, 13)], ToPixel555(MakeTgaColor(14, 10, 8)));
    EXPECT_EQ(picture->alpha[at(14, 13)], 248);
    EXPECT_EQ(picture->pixels[at(13, 13)], kPaddingPixel);
    EXPECT_EQ(picture->alpha[at(13, 13)], 0);
    EXPECT_EQ(picture->pixels[at(113, 82)], ToPixel555(MakeTgaColor(212, 148, 8)));
    EXPECT_EQ(picture->pixels[at(114, 82)], kPaddingPixel);
    // A transparent pixel inside the box keeps the padding colour.
    EXPECT_EQ(picture->pixels[at(15, 13)], kPaddingPixel);
    EXPECT_TRUE(picture->maskSelection.empty());
    EXPECT_TRUE(platform.prompts.messages.empty());
}

// Whole tiles keep their size, up to 50 x 50 tiles; nothing visible is refused silently.
TEST_F(BuildingPictureTest, WholeTilesKeepTheirSizeUpToTheLimit) {
    folder.Write("block.tga", TgaBuilder::Picture(64, 64, std::vector<TgaColor>(64 * 64, kWhite)));
    const auto picture = LoadBuildingPicture(folder / "block.tga", platform.Get());
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::tuple(picture->width, picture->tileColumns, picture->offsetX),
              std::tuple(64, 2, 0));
    EXPECT_FALSE(LoadBuildingPicture("none.tga", platform.Get()));
    folder.Write("clear.tga", TgaBuilder::Picture(4, 4, std::vector<TgaColor>(16, 0)));
    EXPECT_FALSE(LoadBuildingPicture("clear.tga", platform.Get())); // silently
    // 1601 pixels need 51 tile columns.
    folder.Write("wide.tga", TgaBuilder::Picture(1601, 1, std::vector<TgaColor>(1601, kWhite)));
    EXPECT_FALSE(LoadBuildingPicture("wide.tga", platform.Get()));
    folder.Write("fits.tga", TgaBuilder::Picture(1600, 1, std::vector<TgaColor>(1600, kWhite)));
    EXPECT_EQ(LoadBuildingPicture("fits.tga", platform.Get())->tileColumns, 50);
    folder.Write("tall.tga", TgaBuilder::Picture(1, 1601, std::vector<TgaColor>(1601, kWhite)));
    EXPECT_FALSE(LoadBuildingPicture("tall.tga", platform.Get()));
    folder.Write("high.tga", TgaBuilder::Picture(1, 1600, std::vector<TgaColor>(1600, kWhite)));
    EXPECT_EQ(LoadBuildingPicture("high.tga", platform.Get())->tileRows, 50);
    ASSERT_EQ(platform.prompts.messages.size(), 3u);
    EXPECT_EQ(platform.prompts.messages[0].text, "\"none.tga\" 파일은 알파가 없다.");
    EXPECT_EQ(platform.prompts.messages[1].text,
              "\"wide.tga\": the building is larger than 50 x 50 tiles (1600 x 1600 pixels).");
}

TEST_F(BuildingPictureTest, MaskLinesUpWithThePaddedPicture) {
    Write("house.tga", 40, 20, 3, 2, 30, 10); // padded to 32 x 32 at (1, 11)
    auto picture = LoadBuildingPicture("house.tga", platform.Get());
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->offsetX, 1);
    ASSERT_EQ(picture->offsetY, 11);
    // Grey 128 at the box's top left, white at the mask picture's (0, 0), which lies outside
    // the padded picture.
    std::vector<TgaColor> mask(40 * 20, 0);
    mask[2 * 40 + 3] = kGrey;
    mask[11 * 40 + 32] = kWhite;
    mask[0] = kWhite;
    folder.Write("mask.tga", TgaBuilder::Picture(40, 20, mask, 24));
    ASSERT_TRUE(LoadBuildingMask(*picture, folder / "mask.tga", platform.prompts));
    const auto at = [](int x, int y) { return static_cast<std::size_t>(y) * 32 + x; };
    ASSERT_EQ(picture->maskSelection.size(), 32u * 32u);
    EXPECT_EQ(picture->maskSelection[at(1, 11)], 1); // mean 128 > 127 for a building
    EXPECT_EQ(picture->maskCoverage[at(1, 11)], 255);
    EXPECT_EQ(picture->maskSelection[at(30, 20)], 1);
    EXPECT_EQ(std::count(picture->maskSelection.begin(), picture->maskSelection.end(), 1), 2);
    EXPECT_EQ(std::count(picture->maskCoverage.begin(), picture->maskCoverage.end(), 255), 2);
}

// A building picture or mask picture that ends early is used as read and reported.
TEST_F(BuildingPictureTest, PicturesThatEndEarlyAreKeptAndReported) {
    auto cut = TgaBuilder::Picture(40, 2, std::vector<TgaColor>(80, kWhite));
    cut.resize(cut.size() - 40 * 4); // the whole top row
    folder.Write("cut.tga", cut);
    std::string failure;
    const auto picture = LoadBuildingPicture("cut.tga", platform.Get(), &failure);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(failure.empty());
    ASSERT_EQ(platform.prompts.fileProblems.size(), 1u);
    EXPECT_EQ(platform.prompts.fileProblems[0].file, folder / "cut.tga");
    EXPECT_EQ(platform.prompts.messages.back().text,
              "\"cut.tga\" ends early: its last 40 pixels are missing and are left transparent.");
    EXPECT_EQ(picture->boxHeight, 1);

    auto copy = *picture;
    folder.Write("mask.tga", TgaBuilder(40, 2, 24).Pixel(kWhite).bytes());
    ASSERT_TRUE(LoadBuildingMask(copy, folder / "mask.tga", platform.prompts));
    ASSERT_EQ(platform.prompts.fileProblems.size(), 2u);
    EXPECT_EQ(platform.prompts.fileProblems[1].reason,
              "the picture ends early: 79 of its 80 pixels are missing");
}

} // namespace
} // namespace fenwold
