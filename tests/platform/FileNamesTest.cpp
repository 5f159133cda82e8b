#include "platform/FileNames.h"

#include "platform/FileError.h"
#include "platform/ScriptedPlatform.h"
#include "platform/WorkingFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

TEST(FileNames, CutTheFileNameAtItsFirstDotOnly) {
    EXPECT_EQ(WithFixedExtension("/art/v1.2/walk.final.utd", ".UTD"), "/art/v1.2/walk.UTD");
    EXPECT_EQ(CutAtFirstDot("/art/v1.2/walk.final.utd"), "/art/v1.2/walk");
    EXPECT_EQ(WithFixedExtension("house", ".BPT"), "house.BPT");
    EXPECT_EQ(BareNameWithFixedExtension("/x/y/my.house.bpt", ".UPT"), "my.UPT");
    EXPECT_TRUE(EqualsIgnoringCase("Walk0001.TGA", "walk0001.tga"));
    EXPECT_FALSE(EqualsIgnoringCase("walk1.tga", "walk01.tga"));
}

// None found leaves the name as given; the one variant is found, the exact name wins over
// others, and two variants without it are a clear error.
TEST(CaseInsensitiveLookup, FindsTheOneVariant) {
    test::TempFolder folder;
    WorkingFolder current(folder.path());
    EXPECT_EQ(FindFileIgnoringCase(folder.path(), "HOUSE.TGA"), std::nullopt);
    EXPECT_EQ(current.Locate("HOUSE.TGA"), folder / "HOUSE.TGA");
    EXPECT_EQ(ResolveExisting(folder / "nowhere/x.tga"), folder / "nowhere/x.tga");
    folder.Write("house.tga", {1});
    EXPECT_EQ(FindFileIgnoringCase(folder.path(), "HOUSE.TGA"), folder / "house.tga");
    EXPECT_EQ(current.Locate("House.Tga"), folder / "house.tga");
    folder.Write("HOUSE.TGA", {2});
    EXPECT_EQ(FindFileIgnoringCase(folder.path(), "HOUSE.TGA"), folder / "HOUSE.TGA");
    folder.Write("House.tga", {3});
    try {
        FindFileIgnoringCase(folder.path(), "house.TGA");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(e.reason().find("house.tga"), std::string::npos) << e.reason();
        EXPECT_NE(e.reason().find("House.tga"), std::string::npos) << e.reason();
    }
}

TEST(ScriptedPlatform, FileDialogsMoveTheWorkingFolder) {
    ScriptedPlatform platform("/start");
    platform.prompts.fileAnswers.push_back(std::filesystem::path("/art/units/walk.utd"));
    const auto chosen =
        platform.Get().prompts.AskSaveFile({.filter = "Unit Tool Data 화일 (*.utd)|*.utd||"});
    EXPECT_EQ(chosen, std::filesystem::path("/art/units/walk.utd"));
    EXPECT_EQ(platform.workingFolder.Current(), "/art/units");
    // Unscripted: cancelled, folder unchanged; messages default to the safe answer.
    EXPECT_EQ(platform.Get().prompts.AskOpenFile({}), std::nullopt);
    EXPECT_EQ(platform.workingFolder.Current(), "/art/units");
    EXPECT_EQ(platform.prompts.ShowMessage("?", MessageButtons::YesNoCancel),
              MessageAnswer::Cancel);
    ASSERT_EQ(platform.prompts.dialogs.size(), 2u);
    EXPECT_TRUE(platform.prompts.dialogs[0].save);
    EXPECT_EQ(platform.prompts.messages.back().text, "?");
}

} // namespace
} // namespace fenwold
