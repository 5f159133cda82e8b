#include "building/CFenwoldDoc.h"
#include "image/TgaWriter.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

class BuildingImport : public ::testing::Test {
protected:
    BuildingImport() : platform(folder.path()), doc(platform.Get()) {}

    // A width x height picture, opaque inside the box (x0, y0, w, h), transparent elsewhere.
    void WritePicture(const std::string& name, int width, int height, int x0, int y0, int w, int h,
                      TgaColor inside) {
        std::vector<TgaColor> pixels(static_cast<std::size_t>(width) * height, 0);
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                pixels[static_cast<std::size_t>(y) * width + x] = inside;
            }
        }
        WriteTga32(folder / name, pixels, width, height);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CFenwoldDoc doc;
};

TEST_F(BuildingImport, CropAndMaskLineUp) {
    WritePicture("house.tga", 100, 60, 10, 20, 64, 32, MakeTgaColor(255, 255, 255));
    WritePicture("mask.tga", 100, 60, 10, 20, 1, 1, MakeTgaColor(128, 128, 128));
    ASSERT_TRUE(doc.ImportPicture("HOUSE.TGA")); // found whatever its case
    EXPECT_TRUE(doc.PictureImported());
    EXPECT_EQ(doc.Record()->cropX, 10);
    EXPECT_EQ(doc.Record()->cropY, 20);
    EXPECT_EQ(doc.Record()->tileCount, 2); // 64 x 32 needs no padding
    ASSERT_TRUE(doc.ImportMask("mask.tga"));
    const BuildingRecord& record = *doc.Record();
    EXPECT_EQ(record.teamMask[0], 255); // grey 128 is selected for a building
    EXPECT_EQ(record.teamIndex[0], 1);
    EXPECT_EQ(record.teamMask[1], 0);
}

TEST_F(BuildingImport, FailuresLeaveWhatTheyShould) {
    WritePicture("house.tga", 40, 40, 0, 0, 40, 40, MakeTgaColor(1, 2, 3));
    WritePicture("mask.tga", 40, 40, 0, 0, 40, 40, MakeTgaColor(255, 255, 255));
    ASSERT_TRUE(doc.ImportPicture("house.tga"));
    ASSERT_TRUE(doc.ImportMask("mask.tga"));
    const auto mask = doc.Record()->teamMask;
    folder.Write("broken.tga", {1, 2, 3});
    EXPECT_FALSE(doc.ImportMask("broken.tga"));
    EXPECT_EQ(doc.Record()->teamMask, mask);
    EXPECT_NE(platform.prompts.messages.back().text.find("broken.tga"), std::string::npos);
}

} // namespace
} // namespace fenwold
