#include "unit/UnitDoc.h"

#include "platform/ScriptedPlatform.h"
#include "support/DocumentEvents.h"
#include "support/TempFolder.h"
#include "unit/GameDataFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitFixtures.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

class UnitDocTest : public ::testing::Test {
protected:
    UnitDocTest() : platform(folder.path()), doc(platform.Get()) {}

    // A document opened from the sample unit's tool data file.
    void OpenSampleToolData(const std::string& name = "hero.utd") {
        UnitData sample = test::MakeSampleUnit();
        WriteToolData(sample, folder / name);
        doc.SetToolDataFlag(true);
        ASSERT_TRUE(doc.OnOpenDocument(folder / name));
        doc.SetPathName(folder / name);
    }
    const std::vector<ScriptedPrompts::ShownMessage>& Messages() {
        return platform.prompts.messages;
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
    CUnitDoc doc;
};

TEST_F(UnitDocTest, NewDocumentDefaults) {
    EXPECT_FALSE(doc.ToolDataFlag());
    EXPECT_FALSE(doc.NamedFlag());
    EXPECT_EQ(doc.FileName(), "Noname.UTD");
    EXPECT_EQ(doc.Data().codebook.blockFlag, 0);
    EXPECT_EQ(doc.Data().teamColours, TeamColours{});
    doc.SetTitle("x - ");
    EXPECT_EQ(doc.Title(), "Unit - x - \"Noname.UTD\"<-1.000000>");
}

TEST_F(UnitDocTest, OpenReadsToolDataAndACompressionResultReplacesIt) {
    OpenSampleToolData();
    const std::string path = (folder / "hero.utd").string();
    EXPECT_TRUE(doc.NamedFlag());
    EXPECT_EQ(doc.FileName(), path); // the whole path, however long
    EXPECT_EQ(doc.Title(), "Unit - hero.utd\"" + path + "\"<0.500000>");
    EXPECT_EQ(doc.Data().AnimationCount(), 2);
    EXPECT_EQ(doc.Data().TotalFrameCount(), 3);
    const AlphaTableNode& last = doc.Data().animations.front().alphaTables[2];
    const UnitAnimation& b = doc.Data().animations.back();
    EXPECT_EQ((std::vector{last.index, last.width, b.saveIndex, b.loadIndex}),
              (std::vector{2, 8, 1, 1}));
    // A compression result replaces the animations and the codebook.
    test::RecordingObserver observer(doc);
    doc.SetToolDataFlag(false);
    CompressionResult result;
    result.entryCount = 0;
    result.animations.resize(1);
    result.animations[0].indexTables.resize(1);
    result.animations[0].alphaTables.resize(4);
    result.error = 2.5f;
    doc.AcceptCompressionResult(std::move(result));
    EXPECT_EQ(observer.Count(DocumentEvent::AnimationsReplaced), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.ToolDataFlag());
    EXPECT_EQ(doc.Data().compressionError, 2.5f);
    const UnitData& data = doc.Data();
    EXPECT_EQ((std::vector{data.codebook.blockFlag, data.codebook.Size(), data.AnimationCount(),
                           data.TotalFrameCount(), data.GroupCount()}),
              (std::vector{1, 0, 1, 4, 0}));
}

TEST_F(UnitDocTest, OpenDispatchesOnTheVersionWord) {
    UnitData sample = test::MakeSampleUnit();
    WriteGameData(sample, false, folder / "g.upt");
    EXPECT_TRUE(doc.OnOpenDocument(folder / "g.upt"));
    EXPECT_EQ(doc.Title(),
              "Unit - VQ Compression - \"" + (folder / "g.upt").string() + "\"<-1.000000>");
    EXPECT_EQ(doc.Data().AnimationCount(), 2);

    // A game file opened as tool data is of another version: refused, naming the file.
    CUnitDoc toolDoc(platform.Get());
    toolDoc.SetToolDataFlag(true);
    EXPECT_FALSE(toolDoc.OnOpenDocument(folder / "g.upt"));
    EXPECT_FALSE(toolDoc.NamedFlag());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, (folder / "g.upt").string() +
                                      ": version 4 cannot be read; unit tool data files have "
                                      "version 5 or 6");
}

TEST_F(UnitDocTest, GameFileSavedAgainIsByteIdentical) {
    UnitData sample = test::MakeSampleUnit();
    WriteGameData(sample, true, folder / "g.UPT");
    const auto original = folder.Read("g.UPT");
    ASSERT_TRUE(doc.OnOpenDocument(folder / "g.UPT"));
    doc.SetPathName(folder / "g.UPT");
    doc.SetModifiedFlag(true);
    doc.Save();
    EXPECT_EQ(folder.Read("g.UPT"), original);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"g.UPT"}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(platform.sound.stops, 1);
}

// The tool data and the game file are saved as a pair: when the game file cannot be written
// (a folder has its name), the tool data is not replaced either, and the unit stays modified.
TEST_F(UnitDocTest, SaveReplacesBothFilesOrNeither) {
    OpenSampleToolData("hero.UTD");
    const auto toolData = folder.Read("hero.UTD");
    std::filesystem::create_directory(folder / "hero.UPT");
    doc.Data().unitPointX[3] = 77;
    doc.SetModifiedFlag(true);
    EXPECT_FALSE(doc.Save());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(folder.Read("hero.UTD"), toolData);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"hero.UPT", "hero.UTD"}));
    ASSERT_FALSE(Messages().empty());
    EXPECT_NE(Messages().back().text.find("hero.UPT: is a folder"), std::string::npos)
        << Messages().back().text;
    std::filesystem::remove(folder / "hero.UPT");
    EXPECT_TRUE(doc.Save());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(folder.Read("hero.UTD"), toolData);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"hero.UPT", "hero.UTD"}));
}

TEST_F(UnitDocTest, SaveAsWritesBothFilesAndNamesTheUnit) {
    UnitData sample = test::MakeSampleUnit();
    WriteGameData(sample, false, folder / "g.upt");
    ASSERT_TRUE(doc.OnOpenDocument(folder / "g.upt"));
    doc.SetModifiedFlag(true);
    platform.prompts.fileAnswers.push_back(folder / "out" / "new.x.utd");
    std::filesystem::create_directory(folder / "out");
    doc.SaveAs();
    ASSERT_EQ(platform.prompts.dialogs.size(), 1u);
    EXPECT_EQ(platform.prompts.dialogs[0].request.filter, "Unit Tool Data 화일 (*.utd)|*.utd||");
    EXPECT_TRUE(std::filesystem::exists(folder / "out" / "new.UTD"));
    EXPECT_TRUE(std::filesystem::exists(folder / "out" / "new.UPT"));
    EXPECT_EQ(doc.FileName(), (folder / "out" / "new.UTD").string());
    // The file written, with its extension: what the recent-file list keeps.
    EXPECT_EQ(doc.PathName(), folder / "out" / "new.UTD");
    EXPECT_EQ(doc.Title().rfind("Unit - new.UTD\"", 0), 0u);
    EXPECT_TRUE(doc.IsModified()); // Save As leaves the mark

    platform.prompts.fileAnswers.push_back(std::nullopt);
    doc.SaveAs(); // cancelled: nothing changes
    EXPECT_EQ(doc.FileName(), (folder / "out" / "new.UTD").string());
}

// The question's answers are the document's own test; here a unit names its file in full and Yes
// writes both of its files.
TEST_F(UnitDocTest, SavePromptNamesTheUnitAndYesSavesBothFiles) {
    doc.Save(); // an unnamed unit asks for a name; cancelled, nothing is written
    ASSERT_EQ(platform.prompts.dialogs.size(), 1u);
    EXPECT_TRUE(platform.prompts.dialogs[0].save);
    EXPECT_TRUE(folder.Entries().empty());

    OpenSampleToolData();
    doc.SetModifiedFlag(true);
    platform.prompts.messageAnswers = {MessageAnswer::Yes};
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(std::filesystem::exists(folder / "hero.UPT"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text,
              "너 \"" + (folder / "hero.utd").string() + "\" 파일을 저장 할거냐?");
    EXPECT_EQ(Messages()[0].buttons, MessageButtons::YesNoCancel);
}

TEST_F(UnitDocTest, SaveUptAndTheOriginInfoCommandsUseTheBareNameInTheChosenFolder) {
    OpenSampleToolData();
    std::filesystem::create_directory(folder / "game");
    platform.prompts.fileAnswers.push_back(folder / "game" / "unit.v1.upt");
    doc.SaveUpt();
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"game", "hero.utd"}));
    EXPECT_TRUE(std::filesystem::exists(folder / "game" / "unit.UPT"));
    EXPECT_EQ(doc.FileName(), "unit.UPT");

    platform.prompts.fileAnswers.push_back(folder / "points.txt");
    doc.SaveUtdInfo();
    EXPECT_TRUE(std::filesystem::exists(folder / "points.OID"));
    const auto before = doc.Data().animations.front().pointX;
    doc.Data().animations.front().pointX.fill(1);
    platform.prompts.fileAnswers.push_back(folder / "points.oid");
    doc.OpenUtdInfo();
    EXPECT_EQ(doc.Data().animations.front().pointX, before);
    EXPECT_EQ(platform.prompts.dialogs.back().request.filter,
              "Unit Origin Info화일 (*.oid)|*.oid||");
}

} // namespace
} // namespace fenwold
