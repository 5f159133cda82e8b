#include "building/BuildingDisplay.h"
#include "building/CBuildTeamColourDlg.h"
#include "building/CFenwoldDoc.h"
#include "image/TgaWriter.h"
#include "platform/ScriptedPlatform.h"
#include "support/DocumentEvents.h"
#include "support/TempFolder.h"
#include "teamcolour/TeamColourGradient.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

// A 64 x 32 building of one colour whose mask selects the pixel at (maskX, 0); table k holds
// entry i = red k + 1, blue i.
class BuildingImport : public ::testing::Test {
protected:
    BuildingImport() : platform(folder.path()), doc(platform.Get()) {
        WritePicture("house.tga", 64, 32, 0, 0, 64, 32, MakeTgaColor(200, 100, 50));
        for (int k = 0; k < kTeamColourTableCount; ++k) {
            for (int i = 0; i < kTeamColourEntries; ++i) {
                doc.Colours().tables[k][i] = static_cast<Pixel555>(((k + 1) << 10) | i);
            }
        }
    }
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
    void ImportMask(int maskX) {
        WritePicture("mask.tga", 64, 32, maskX, 0, 1, 1, MakeTgaColor(128, 128, 128));
        ASSERT_TRUE(doc.ImportMask("mask.tga"));
        doc.SetModifiedFlag(false); // as if saved
    }
    void Run(const std::function<bool(CBuildTeamColourDlg&)>& run) {
        RunTeamColourSetting(doc, platform.Get(), 100, 50, run);
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CFenwoldDoc doc;
};

TEST_F(BuildingImport, CropAndMaskLineUp) {
    WritePicture("house.tga", 100, 60, 10, 20, 64, 32, MakeTgaColor(255, 255, 255));
    WritePicture("mask.tga", 100, 60, 10, 20, 1, 1, MakeTgaColor(128, 128, 128));
    ASSERT_TRUE(doc.ImportPicture("HOUSE.TGA")); // found whatever its case
    EXPECT_EQ(doc.Record()->cropX, 10);
    EXPECT_EQ(doc.Record()->cropY, 20);
    ASSERT_TRUE(doc.ImportMask("mask.tga"));
    const BuildingRecord& record = *doc.Record();
    EXPECT_EQ(record.teamMask[0], 255); // grey 128 is selected for a building
    EXPECT_EQ(record.teamIndex[0], 1);
    EXPECT_EQ(record.teamMask[1], 0);
}

TEST_F(BuildingImport, AnUnreadableMaskLeavesTheMaskAsItWas) {
    ASSERT_TRUE(doc.ImportPicture("house.tga"));
    ImportMask(0);
    const auto mask = doc.Record()->teamMask;
    folder.Write("broken.tga", {1, 2, 3});
    EXPECT_FALSE(doc.ImportMask("broken.tga"));
    EXPECT_EQ(doc.Record()->teamMask, mask);
    EXPECT_NE(platform.prompts.messages.back().text.find("broken.tga"), std::string::npos);
}

TEST_F(BuildingImport, CancelKeepsTheTablesButTheComputedIndicesMarkTheDocument) {
    ASSERT_TRUE(doc.ImportPicture("house.tga"));
    ImportMask(0);
    const TeamColours before = doc.Colours();
    int runs = 0;
    Run([&](CBuildTeamColourDlg& dialog) {
        ++runs;
        dialog.Open({0, 0, 200, 60}, 0);
        dialog.Editor().SelectTable(2);
        dialog.Editor().Bar().LeftButtonDown(30, 5);
        return false;
    });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(doc.Colours(), before);
    EXPECT_EQ(doc.Record()->teamIndex[0], TeamColourIndex(doc.Record()->picture[0]));
    EXPECT_TRUE(doc.IsModified());
    // Indices already computed: a second Cancel leaves the document as it was.
    doc.SetModifiedFlag(false);
    Run([](CBuildTeamColourDlg&) { return false; });
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(BuildingImport, OkCopiesTheEditedTablesBackAndThePreviewShowsTheTableSelected) {
    ASSERT_TRUE(doc.ImportPicture("house.tga"));
    ImportMask(0);
    test::RecordingObserver events(doc);
    TeamColours edited;
    Run([&](CBuildTeamColourDlg& dialog) {
        int repaints = 0;
        dialog.SetRepaint([&] { ++repaints; });
        dialog.Open({0, 0, 200, 60}, 0);
        dialog.Editor().SelectTable(3);
        EXPECT_GT(repaints, 0);
        // The picture sits centred in the 104 x 50 buffer: its pixel (0, 0) at (20, 9).
        const CTeamColourPreview& preview = dialog.Preview();
        EXPECT_EQ(preview.bufferWidth(), 104);
        const std::size_t at = 9 * 104 + 20;
        const int index = doc.Record()->teamIndex[0];
        EXPECT_EQ(preview.buffer()[at], doc.Colours().tables[3][index]);
        EXPECT_EQ(preview.buffer()[at + 1], doc.Record()->picture[1]); // not under the mask
        dialog.Editor().Bar().LeftButtonDown(4 + 6 * 25, 5);
        dialog.Editor().Bar().LeftButtonUp();
        EXPECT_EQ(preview.buffer()[at], dialog.Editor().Colours().tables[3][index]);
        edited = dialog.Editor().Colours();
        return true;
    });
    EXPECT_EQ(doc.Colours(), edited);
    EXPECT_EQ(doc.Colours().selection[3], 25);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(events.Count(DocumentEvent::Repaint), 0);
}

TEST_F(BuildingImport, ASecondMaskIsTurnedIntoIndicesAgain) {
    ASSERT_TRUE(doc.ImportPicture("house.tga"));
    ImportMask(0);
    Run([](CBuildTeamColourDlg&) { return false; });
    const int brightness = TeamColourIndex(doc.Record()->picture[0]);
    ASSERT_EQ(doc.Record()->teamIndex[0], brightness);
    ImportMask(5);
    EXPECT_EQ(doc.Record()->teamIndicesComputed, 0);
    EXPECT_NE(doc.Record()->teamIndex[5], brightness); // the mask's selection, not yet an index
    Run([](CBuildTeamColourDlg&) { return false; });
    EXPECT_EQ(doc.Record()->teamIndex[5], brightness);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(BuildingImport, TheFirstTabDrawsTeamPixelsFromTableZeroOnceIndicesAreKnown) {
    EXPECT_TRUE(BuildingDisplayPicture(doc).empty());
    ASSERT_TRUE(doc.ImportPicture("house.tga"));
    ImportMask(0);
    EXPECT_EQ(BuildingDisplayPicture(doc), doc.Record()->picture); // indices not yet computed
    Run([](CBuildTeamColourDlg&) { return false; });
    const auto shown = BuildingDisplayPicture(doc);
    ASSERT_EQ(shown.size(), doc.Record()->picture.size());
    EXPECT_EQ(shown[0], doc.Colours().tables[0][doc.Record()->teamIndex[0]]);
    EXPECT_EQ(shown[1], doc.Record()->picture[1]);
}

} // namespace
} // namespace fenwold
