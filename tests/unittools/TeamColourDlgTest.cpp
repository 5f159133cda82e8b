#include "unittools/CTeamColourDlg.h"
#include "unittools/ToolWindowFixtures.h"

#include <algorithm>

namespace fenwold {
namespace {

using test::RecordingAnimationHost;

bool Shows(const CAnimationDlg& tool, Pixel555 colour) {
    const auto& pixels = const_cast<CAnimationDlg&>(tool).View()->Canvas().pixels();
    return std::find(pixels.begin(), pixels.end(), colour) != pixels.end();
}

class TeamColourDlgTest : public test::ToolWindowTest {
protected:
    TeamColourDlgTest() {
        CompressTeamColoured();
        unit.Data().teamColours.tables[4].fill(0x03E0);
        unit.SetModifiedFlag(false);
    }
    void Run(const std::function<bool(CTeamColourDlg&)>& run) {
        RunSetTeamColour(HandOver(0), platform.Get(), hub, keys, run);
    }
    RecordingAnimationHost host;
};

TEST_F(TeamColourDlgTest, TheSecondWindowPlaysTheAnimationInTheTableShown) {
    // The animation tool's own window stays open beside the dialog's.
    CAnimationDlg mainTool(hub, keys, platform.Get());
    RecordingAnimationHost mainHost;
    mainTool.OnCreate(mainHost);
    const TeamColours before = unit.Data().teamColours;
    Run([&](CTeamColourDlg& dialog) {
        dialog.Open({0, 0, 200, 60}, 0);
        CAnimationDlg& second = dialog.AnimationTool();
        second.OnCreate(host);
        dialog.AnimationWindowOpened();
        EXPECT_EQ(keys.Target(KeySlot::SecondAnimation), &second);
        EXPECT_EQ(keys.Target(KeySlot::Animation), &mainTool);
        EXPECT_TRUE(mainTool.IsWindowOpen());
        EXPECT_EQ(second.View()->MainAnimation().Get(), &At(0));
        EXPECT_TRUE(Shows(second, 0x7C00)); // table 0: red at the bright indices
        EXPECT_FALSE(Shows(second, 0x03E0));
        dialog.Editor().SelectTable(4);
        EXPECT_TRUE(Shows(second, 0x03E0));
        EXPECT_FALSE(Shows(second, 0x7C00));
        // Playing ticks on the window's own timer.
        second.OnCommand(CAnimationDlg::kPlayButton);
        EXPECT_TRUE(second.WantsTicks());
        return false;
    });
    // The second window went with the dialog; Cancel changed nothing.
    EXPECT_EQ(host.destroyed, 1);
    EXPECT_EQ(keys.Target(KeySlot::SecondAnimation), nullptr);
    EXPECT_TRUE(mainTool.IsWindowOpen());
    EXPECT_EQ(unit.Data().teamColours, before);
    EXPECT_FALSE(unit.IsModified());
}

TEST_F(TeamColourDlgTest, OkCopiesTheTablesBackAndMarksTheUnit) {
    TeamColours edited;
    Run([&](CTeamColourDlg& dialog) {
        dialog.Open({0, 0, 200, 60}, 0);
        dialog.Editor().SelectTable(2);
        dialog.Editor().Bar().LeftButtonDown(4 + 6 * 7, 5);
        edited = dialog.Editor().Colours();
        EXPECT_EQ(edited.selection[2], 7);
        platform.prompts.fileAnswers.push_back(folder / "red.utc"); // the menu saves
        dialog.OnCommand(TeamColourEditor::kUnitSave);
        return true;
    });
    EXPECT_EQ(unit.Data().teamColours, edited);
    EXPECT_TRUE(unit.IsModified());
    EXPECT_EQ(std::filesystem::file_size(folder / "red.UTC"), 672u);
}

} // namespace
} // namespace fenwold
