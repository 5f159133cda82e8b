#include "platform/ScriptedPlatform.h"
#include "support/FieldNumbers.h"
#include "support/TempFolder.h"
#include "teamcolour/CTeamColourBar.h"
#include "teamcolour/TeamColourEditor.h"
#include "teamcolour/TeamColourFile.h"
#include "teamcolour/TeamColourGradient.h"
#include "teamcolour/TeamColourListItem.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

constexpr KeyColour kBlack{0, 0, 0};
constexpr KeyColour kWhite{255, 255, 255};

TEST(TeamColourGradient, TwoSegmentsThroughTheKeyColoursWithTheMiddleAnywhere) {
    TeamColourTable table{};
    RegenerateTable(table, 16, kBlack, {248, 0, 0}, kWhite);
    EXPECT_EQ(table[0], 0x0000);
    EXPECT_EQ(table[16], 0x7C00);
    // First segment: 248 / 17 a step, so entry 15 is 15 * 14.588 = 218 red, short of 248.
    EXPECT_EQ(table[15], ToPixel555(218, 0, 0));
    // Entry 31 stops short of white: 248 + 15 * 7 / 16 red, 15 * 255 / 16 green and blue.
    EXPECT_EQ(table[31], ToPixel555(254, 239, 239));
    EXPECT_NE(table[31], 0x7FFF);
    RegenerateTable(table, 0, kWhite, {80, 160, 240}, kBlack);
    EXPECT_EQ(table[0], ToPixel555(80, 160, 240)); // the first segment is empty

    table.fill(0x1234);
    RegenerateTable(table, 31, kBlack, kWhite, kBlack);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[30], ToPixel555(239, 239, 239)); // 30 steps of 255 / 32
    EXPECT_EQ(table[31], 0x1234);                    // keeps its value
}

TEST(TeamColourGradient, IndexFromBrightness) {
    EXPECT_EQ(TeamColourIndex(0x7FFF), 28);
    EXPECT_EQ(TeamColourIndex(0xFFFF), 28); // bit 15 is cleared first
    EXPECT_EQ(TeamColourIndex(16 << 10 | 16 << 5 | 16), 14);
    EXPECT_EQ(TeamColourIndex(0), 0);
    EXPECT_EQ(TeamColourIndex(31 << 5), 18); // 31 * 0.589 = 18.259
    EXPECT_EQ(TeamColourIndex(31 << 10), 7); // 31 * 0.229 = 7.099
    EXPECT_EQ(TeamColourIndex(31), 3);       // 31 * 0.114 = 3.534
}

TEST(TeamColourFile, WritesExactly672BytesAndReadsEveryOneBack) {
    test::TempFolder folder;
    TeamColours colours;
    test::FieldNumbers numbers;
    numbers.Fill(colours.selection);
    for (auto& table : colours.tables) {
        for (Pixel555& entry : table) {
            entry = numbers.NextBelow<Pixel555>(0x8000);
        }
    }
    WriteTeamColourFile(folder / "blue.UTC", colours);
    const auto bytes = folder.Read("blue.UTC");
    ASSERT_EQ(bytes.size(), 672u);
    EXPECT_EQ(bytes[3], colours.selection[3]);
    // Table 0 entry 1 and table 9 entry 31, little-endian after the 32 selection bytes.
    EXPECT_EQ(bytes[32 + 2] | bytes[32 + 3] << 8, colours.tables[0][1]);
    EXPECT_EQ(bytes[670] | bytes[671] << 8, colours.tables[9][31]);
    EXPECT_EQ(ReadTeamColourFile(folder / "blue.UTC"), colours);
}

TEST(TeamColourFile, SaveAndLoadUseTheNameRule) {
    test::TempFolder folder;
    ScriptedPlatform platform("/elsewhere");
    TeamColours colours;
    colours.selection[0] = 3;
    platform.prompts.fileAnswers.push_back(folder / "blue.team.utc");
    ASSERT_TRUE(SaveTeamColours(platform.Get(), colours));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"blue.UTC"});
    EXPECT_EQ(platform.prompts.dialogs[0].request.filter, "Team Color 화일 (*.utc)|*.utc||");

    // A lower-case file from another system is found all the same.
    std::filesystem::rename(folder / "blue.UTC", folder / "blue.utc");
    TeamColours loaded;
    platform.prompts.fileAnswers.push_back(folder / "blue.utc");
    ASSERT_TRUE(LoadTeamColours(platform.Get(), loaded));
    EXPECT_EQ(loaded.selection[0], 3);
    // Cancelling does nothing.
    EXPECT_FALSE(LoadTeamColours(platform.Get(), loaded));
}

class TeamColourBar : public ::testing::Test {
protected:
    TeamColourBar() : bar(platform.prompts, [this] { ++changes; }) {
        bar.Attach({0, 0, 200, 60}, 0x1111);
        bar.SetTable(&table);
    }
    ScriptedPlatform platform;
    TeamColourTable table{};
    int changes = 0;
    CTeamColourBar bar;
};

TEST_F(TeamColourBar, Geometry) {
    // Strip: top third (60 - 40 = 20), narrowed to 192 = 6 * 32 pixels by 4 each side.
    EXPECT_EQ(bar.strip(), (Rect{4, 0, 196, 20}));
    EXPECT_EQ(bar.cellWidth(), 6);
    EXPECT_EQ(bar.MarkerRect(CTeamColourBar::Marker::Start), (Rect{4, 26, 13, 33}));
    EXPECT_EQ(bar.MarkerRect(CTeamColourBar::Marker::End), (Rect{191, 26, 200, 33}));
    // Middle 16: 16 * 6 + 4 + 3 - 5.
    EXPECT_EQ(bar.MarkerRect(CTeamColourBar::Marker::Middle).left, 98);
    EXPECT_EQ(bar.CellAt(0), 0);
    EXPECT_EQ(bar.CellAt(196), 31);
    // Exactly on a cell's left edge is that cell; one pixel before it the cell before.
    EXPECT_EQ(bar.CellAt(4 + 6 * 5), 5);
    EXPECT_EQ(bar.CellAt(4 + 6 * 5 - 1), 4);
}

// Selecting a zero table leaves it zero and tells no one; a drag moves the middle.
TEST_F(TeamColourBar, SelectingOnlyReadsTheKeysAndDraggingMovesTheMiddle) {
    bar.SelectMiddle(16);
    EXPECT_EQ(table, TeamColourTable{});
    EXPECT_EQ(changes, 0);
    // A drag moves the middle key, red here, while the button is down.
    table[16] = 0x7C00;
    bar.SelectMiddle(16);
    bar.LeftButtonDown(4 + 6 * 20, 5);
    EXPECT_TRUE(bar.dragging());
    EXPECT_EQ(bar.MiddleIndex(), 20);
    EXPECT_EQ(table[20], 0x7C00);
    bar.MouseMove(2, 5);
    EXPECT_EQ(bar.MiddleIndex(), 0);
    bar.LeftButtonUp();
    bar.MouseMove(150, 5);
    EXPECT_EQ(bar.MiddleIndex(), 0);
}

// The key colours are taken from the table's first, middle and last entries, channel by channel.
TEST_F(TeamColourBar, KeyColoursComeFromTheTable) {
    table[0] = 0x7C00;
    table[16] = 0x001F;
    table[31] = 0x03E0;
    bar.SelectMiddle(16);
    EXPECT_EQ(bar.keyColour(CTeamColourBar::Marker::Start), (KeyColour{248, 0, 0}));
    EXPECT_EQ(bar.keyColour(CTeamColourBar::Marker::Middle), (KeyColour{0, 0, 248}));
    EXPECT_EQ(bar.keyColour(CTeamColourBar::Marker::End), (KeyColour{0, 248, 0}));
    EXPECT_EQ(table[8], 0); // selecting leaves the table as it is
    // A drag onto cell 16 rebuilds it: red falls and blue rises over the first segment,
    // 248 / 17 a step.
    bar.LeftButtonDown(4 + 6 * 16 + 1, 5);
    bar.LeftButtonUp();
    EXPECT_EQ(table[8], ToPixel555(131, 0, 116));
}

TEST_F(TeamColourBar, ClickingAMarkerPicksItsKeyColour) {
    bar.SelectMiddle(10);
    platform.prompts.colourAnswers.push_back(KeyColour{0, 248, 0});
    const Rect end = bar.MarkerRect(CTeamColourBar::Marker::End);
    bar.LeftButtonDown(end.left + 1, end.top + 1);
    EXPECT_FALSE(bar.dragging());
    ASSERT_EQ(platform.prompts.colourRequests.size(), 1u);
    EXPECT_EQ(bar.keyColour(CTeamColourBar::Marker::End), (KeyColour{0, 248, 0}));
    EXPECT_EQ(table[31], ToPixel555(0, 248 * 21 / 22, 0));
    // Cancel keeps the colour.
    const Rect start = bar.MarkerRect(CTeamColourBar::Marker::Start);
    const TeamColourTable before = table;
    bar.LeftButtonDown(start.left, start.top);
    EXPECT_EQ(table, before);
}

TEST_F(TeamColourBar, PaintsCellsWithAGapAndLeavesTheBackground) {
    table.fill(0x03E0);
    bar.SelectMiddle(4);
    const auto pixels = bar.buffer();
    const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * 200 + x]; };
    EXPECT_EQ(at(4, 0), 0x03E0);
    EXPECT_EQ(at(8, 19), 0x03E0);
    EXPECT_EQ(at(9, 10), 0x1111); // the column between cells 0 and 1
    EXPECT_EQ(at(10, 10), 0x03E0);
    EXPECT_EQ(at(0, 50), 0x1111);
    EXPECT_EQ(at(4, 26), 0x03E0); // start marker in its key colour
}

TEST(TeamColourListItem, CellsInsideABlackFrame) {
    std::vector<Pixel555> buffer(66 * 10, 0x2222);
    TeamColourTable table{};
    for (int i = 0; i < 32; ++i) {
        table[i] = static_cast<Pixel555>(i + 1);
    }
    DrawTeamColourListItem(buffer, 66, 10, {0, 0, 66, 10}, table);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[66 + 1], 1);
    EXPECT_EQ(buffer[66 + 2], 1);
    EXPECT_EQ(buffer[66 + 3], 2);
    EXPECT_EQ(buffer[66 + 64], 32);
    EXPECT_EQ(buffer[66 + 65], 0);
    // Inside a frame 65 wide the cells are 63 / 32 pixels: cell 0 covers one pixel.
    std::vector<Pixel555> narrow(65 * 3, 0x2222);
    DrawTeamColourListItem(narrow, 65, 3, {0, 0, 65, 3}, table);
    EXPECT_EQ(narrow[65 + 1], 1);
    EXPECT_EQ(narrow[65 + 2], 2);
}

// Ten tables of distinct colours (table k: entry i = red k + 1, blue i), middles 10 + k.
TeamColours DistinctColours() {
    TeamColours colours;
    for (int k = 0; k < kTeamColourTableCount; ++k) {
        colours.selection[k] = static_cast<std::uint8_t>(10 + k);
        for (int i = 0; i < kTeamColourEntries; ++i) {
            colours.tables[k][i] = static_cast<Pixel555>(((k + 1) << 10) | i);
        }
    }
    for (int b = kTeamColourTableCount; b < kTeamColourSelectionSize; ++b) {
        colours.selection[b] = static_cast<std::uint8_t>(100 + b);
    }
    return colours;
}

class TeamColourEditorTest : public ::testing::Test {
protected:
    TeamColourEditorTest()
        : platform(folder.path()), original(DistinctColours()),
          editor(platform.Get(), original, [this] { ++shown; }) {
        editor.Open({0, 0, 200, 60}, 0x1111);
    }
    // A drag on the bar to cell `cell`.
    void DragTo(int cell) {
        editor.Bar().LeftButtonDown(4 + 6 * cell + 1, 5);
        editor.Bar().LeftButtonUp();
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    TeamColours original;
    int shown = 0;
    TeamColourEditor editor;
};

TEST_F(TeamColourEditorTest, ShowingTablesChangesNothing) {
    EXPECT_EQ(editor.CurrentTable(), 0);
    EXPECT_EQ(editor.Bar().MiddleIndex(), 10);
    for (int k : {3, 9, 0, 3}) {
        editor.SelectTable(k);
        EXPECT_EQ(editor.Bar().MiddleIndex(), 10 + k);
        EXPECT_EQ(&editor.ShownTable(), &editor.Colours().tables[k]);
    }
    EXPECT_EQ(editor.Colours(), original);
    EXPECT_EQ(shown, 5); // the open and each list change repaint
}

TEST_F(TeamColourEditorTest, ADragEditsTheTableShownAndItsMiddle) {
    editor.SelectTable(3);
    DragTo(20);
    EXPECT_EQ(editor.Colours().selection[3], 20);
    EXPECT_EQ(editor.Colours().tables[3][20], original.tables[3][13]); // the middle key
    EXPECT_NE(editor.Colours().tables[3], original.tables[3]);
    for (int k = 0; k < kTeamColourTableCount; ++k) {
        if (k != 3) {
            EXPECT_EQ(editor.Colours().tables[k], original.tables[k]) << k;
            EXPECT_EQ(editor.Colours().selection[k], original.selection[k]) << k;
        }
    }
}

// Saved and loaded over an edited table, every byte comes back; the load shows table 0, so the
// next drag edits it.
TEST_F(TeamColourEditorTest, SaveAndLoadRoundTripEveryByteAndShowTableZero) {
    platform.prompts.fileAnswers.push_back(folder / "blue.utc");
    ASSERT_TRUE(editor.Save());
    editor.SelectTable(6);
    DragTo(3);
    const int before = shown;
    platform.prompts.fileAnswers.push_back(folder / "blue.utc");
    ASSERT_TRUE(editor.Load());
    EXPECT_EQ(editor.Colours(), original);
    EXPECT_EQ(editor.CurrentTable(), 0);
    EXPECT_EQ(&editor.ShownTable(), &editor.Colours().tables[0]);
    EXPECT_GT(shown, before);
    DragTo(5);
    EXPECT_EQ(editor.Colours().selection[0], 5);
    EXPECT_EQ(editor.Colours().tables[6], original.tables[6]);
    // A cancelled file dialog changes nothing.
    EXPECT_FALSE(editor.Load());
    EXPECT_EQ(editor.Colours().selection[0], 5);
}

} // namespace
} // namespace fenwold
