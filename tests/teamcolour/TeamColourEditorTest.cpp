#include "teamcolour/TeamColourEditor.h"

#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

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
    EXPECT_EQ(std::filesystem::file_size(folder / "blue.UTC"), 672u);
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
