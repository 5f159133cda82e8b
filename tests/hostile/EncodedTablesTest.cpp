// Encoded tables enter a document only when every frame's rows, tokens and codebook indexes lie
// inside them, so that drawing any frame stays inside its tables and the codebook.
#include "building/BuildingFile.h"
#include "building/CFenwoldDoc.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/GameDataFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"
#include "vq/DrawCompressedFrame.h"
#include "vq/TableValidation.h"
#include "vq/VqFixtures.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One plain 2 x 1 frame drawn from a codebook of one 16-pixel entry; `index` is the entry its
// only index row names.
UnitData OneFrameUnit(std::uint8_t index) {
    UnitData data;
    data.codebook.blockFlag = 1;
    data.codebook.entries16.assign(16, 0x7FFF);
    UnitAnimation& animation = data.AddAnimation({});
    animation.blockFlag = 1;
    animation.width = 2;
    animation.height = 1;
    animation.indexTables.push_back({{0x03, 0x81, index, 0x00}});    // a run of 1 index
    animation.alphaTables.emplace_back().bytes = {0x02, 0x82, 0xFF}; // a run of 2 opaque pixels
    return data;
}

BuildingRecord OneTileBuilding() {
    const int pixels = kTileSize * kTileSize;
    BuildingRecord record =
        MakeBuildingRecord(std::vector<Pixel555>(pixels, 0x1234), Bytes(pixels, 255), kTileSize,
                           kTileSize, 0, 0, kTileSize, kTileSize);
    record.teamIndex.assign(pixels, 0);
    record.teamMask.assign(pixels, 0);
    return record;
}

class EncodedTablesOnOpen : public ::testing::Test {
protected:
    EncodedTablesOnOpen() : platform(folder.path()) {}

    std::string OnlyMessage() {
        EXPECT_EQ(platform.prompts.messages.size(), 1u);
        return platform.prompts.messages.empty() ? "" : platform.prompts.messages.back().text;
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
};

// Entry 1 of a one-entry codebook (the drawing would read past the codebook), and a frame whose
// group of four has no index table: in tool data and in game data, each is refused naming the
// file and the animation, and the unit open before stays as it was.
TEST_F(EncodedTablesOnOpen, AUnitWithTablesThatDoNotFitIsRefused) {
    UnitData good = OneFrameUnit(0);
    UnitData pastTheCodebook = OneFrameUnit(1);
    UnitData noIndexTable = OneFrameUnit(0);
    noIndexTable.animations.front().indexTables.clear();
    for (const bool toolData : {true, false}) {
        const std::string extension = toolData ? ".UTD" : ".UPT";
        const auto write = [&](UnitData& data, const std::string& base) {
            const std::string name = base + extension;
            folder.Write(name,
                         toolData ? EncodeToolData(data, name) : EncodeGameData(data, true, name));
        };
        write(good, "good");
        write(pastTheCodebook, "past");
        write(noIndexTable, "none");
        CUnitDoc doc(platform.Get());
        doc.SetToolDataFlag(toolData);
        ASSERT_TRUE(doc.OnOpenDocument(folder / ("good" + extension)));
        const std::string title = doc.Title();
        for (const char* bad : {"past", "none"}) {
            EXPECT_FALSE(doc.OnOpenDocument(folder / (bad + extension))) << bad;
            const std::string message = OnlyMessage();
            EXPECT_NE(message.find(bad + extension), std::string::npos) << message;
            EXPECT_NE(message.find("animation 0"), std::string::npos) << message;
            EXPECT_EQ(doc.Title(), title);
            EXPECT_EQ(doc.Data().animations.front().IndexTableCount(), 1);
            EXPECT_EQ(doc.Data().animations.front().indexTables.front().bytes[2], 0);
            platform.prompts.messages.clear();
        }
    }
}

// An alpha table with no row for the frame's one pixel row.
TEST_F(EncodedTablesOnOpen, ABuildingWhoseFrameLacksAnAlphaRowIsRefused) {
    UnitData good = OneFrameUnit(0);
    UnitData bad = OneFrameUnit(0);
    bad.animations.front().alphaTables.front().bytes.clear();
    folder.Write("good.BPT",
                 EncodeBuildingFile(OneTileBuilding(), good, ColourVariant::Pixel555, 0));
    folder.Write("bad.BPT", EncodeBuildingFile(OneTileBuilding(), bad, ColourVariant::Pixel555, 0));
    CFenwoldDoc doc(platform.Get());
    ASSERT_TRUE(doc.OnOpenDocument(folder / "good.BPT"));
    EXPECT_FALSE(doc.OnOpenDocument(folder / "bad.BPT"));
    const std::string message = OnlyMessage();
    EXPECT_NE(message.find("bad.BPT"), std::string::npos) << message;
    EXPECT_NE(message.find("animation 0"), std::string::npos) << message;
    ASSERT_EQ(doc.Animations().AnimationCount(), 1);
    EXPECT_EQ(doc.Animations().animations.front().alphaTables.front().bytes.size(), 3u);
}

// A compression result is checked the same way before it replaces anything (a unit's, with the
// compress command).
TEST_F(EncodedTablesOnOpen, ACompressionResultThatDoesNotFitIsRefused) {
    CompressionResult result = test::ResultPastItsTable();
    ASSERT_FALSE(CompressionResultFits(result));

    CFenwoldDoc building(platform.Get());
    building.AcceptCompressionResult(result);
    EXPECT_EQ(OnlyMessage(), kCompressionResultRefused);
    EXPECT_EQ(building.Animations().AnimationCount(), 0);
    EXPECT_FALSE(building.IsModified());
}

// Found by fuzzing: with an empty codebook (no entries, so no pointer to them) a frame whose
// rows name no entry was still walked with entry pointers offset from null.
TEST(EncodedTablesDrawing, AnEmptyCodebookDrawsNothing) {
    const std::vector<std::uint8_t> index{0x00};             // one row without tokens
    const std::vector<std::uint8_t> alpha{0x02, 0x82, 0xFF}; // two opaque pixels
    ASSERT_TRUE(IndexTableFits(index, 1, 0, 0));
    ASSERT_TRUE(AlphaTableFits(alpha, 1, 0));
    std::vector<Pixel555> buffer(4, 0x1234);
    for (const int blockFlag : {0, 1}) {
        DrawFrameTables({buffer.data(), 2, 2}, 0, 0, 0, blockFlag,
                        FrameTables{2, 1, 1, index, alpha}, {}, 255);
    }
    EXPECT_EQ(buffer, std::vector<Pixel555>(4, 0x1234));
}

} // namespace
} // namespace fenwold
