#include "image/FrameStreams.h"
#include "image/SampleArt.h"
#include "platform/BinaryReader.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "unit/CSetAnimationView.h"
#include "unit/RegistrationFixtures.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"
#include "unittools/ToolHub.h"
#include "vq/CompressionRun.h"
#include "vq/VqFixtures.h"

#include <CommandIds.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

// A building as its registration view meets it: a document that keeps the results it is given.
class KeepingDocument final : public AnimationDocument {
public:
    explicit KeepingDocument(Platform platform) : AnimationDocument(platform, "Build - ", "b") {}
    ~KeepingDocument() override { NotifyClosing(); }
    bool Save() override { return false; }
    bool SaveAs() override { return false; }
    bool AcceptCompressionResult(CompressionResult result) override {
        results.push_back(std::move(result));
        return true;
    }
    std::vector<CompressionResult> results;
};

// Three sample series of five pictures with their mask series, registered through the view's
// commands. The recovery copy of the tool data goes to the test's folder.
class RegistrationCommandsTest : public ::testing::Test {
protected:
    RegistrationCommandsTest() : platform(folder.path()), doc(platform.Get()) {
        if (const char* old = std::getenv("XDG_DATA_HOME")) {
            oldDataHome = old;
        }
        setenv("XDG_DATA_HOME", folder.path().c_str(), 1);
        samples = WriteSampleSet(folder / "art",
                                 {.animations = 3, .frames = 5, .width = 24, .height = 20});
        for (const auto& series : samples.animationFolders) {
            images.push_back(*ScanSeriesFolder(series, platform.prompts));
        }
        for (const auto& series : samples.maskFolders) {
            masks.push_back(*ScanSeriesFolder(series, platform.prompts));
        }
        view.SetClientSize(800, 600);
    }
    ~RegistrationCommandsTest() override {
        if (oldDataHome) {
            setenv("XDG_DATA_HOME", oldDataHome->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }

    static AnimationRegistryResult Grouped(std::vector<std::vector<PictureSeries>> groups) {
        AnimationRegistryResult result;
        result.setGroup = true;
        result.groups = std::move(groups);
        for (const auto& group : result.groups) {
            for (const auto& s : group) {
                result.totalFileCount += static_cast<int>(s.names.size());
            }
        }
        return result;
    }
    static AnimationRegistryResult OneByOne(std::vector<PictureSeries> series) {
        AnimationRegistryResult result = Grouped({std::move(series)});
        result.setGroup = false;
        result.series = std::move(result.groups.front());
        result.groups.clear();
        return result;
    }
    void Register(CSetAnimationView& target, AnimationRegistryResult chosen) {
        host.registryAnswers.push_back(std::move(chosen));
        target.OnCommand(command::kRegistrationAni);
    }
    void Compute(CSetAnimationView& target) {
        host.lookupTable = [](CSetLookupTableDlg&) { return true; };
        target.OnCommand(command::kVqCompute);
    }
    std::vector<std::int32_t> GroupNumbers(const CSetAnimationView& target) {
        std::vector<std::int32_t> numbers;
        for (const auto& animation : target.Animations()) {
            numbers.push_back(animation.groupNumber);
        }
        return numbers;
    }
    std::vector<std::int32_t> MemberCounts(const CSetAnimationView& target) {
        std::vector<std::int32_t> counts;
        for (const auto& group : target.Groups()) {
            counts.push_back(group.MemberCount());
        }
        return counts;
    }
    std::filesystem::path RecoveryFile() const { return folder / "fenwold" / "VQ.UTD"; }
    void Hover(int position, int frame = 0) { test::HoverCell(view, position, frame, window); }

    test::TempFolder folder;
    std::optional<std::string> oldDataHome;
    ScriptedPlatform platform;
    CUnitDoc doc;
    test::ScriptedRegistrationHost host;
    ToolHub tools;
    SampleSet samples;
    std::vector<PictureSeries> images;
    std::vector<PictureSeries> masks;
    CSetAnimationView view{platform.Get(), host, tools, doc};
    RecordingWindowPainter window;
};

TEST_F(RegistrationCommandsTest, RegistrationAniOneByOneAndItsProperties) {
    Register(view, OneByOne(images));
    ASSERT_EQ(view.RegisteredCount(), 3);
    EXPECT_EQ(GroupNumbers(view), (std::vector<std::int32_t>{-1, -1, -1}));
    EXPECT_TRUE(view.Groups().empty());
    EXPECT_EQ(view.Animations().front().frames.size(), 5u);
    EXPECT_TRUE(view.IsEnabled(command::kRegistrationMask));
    // Properties show the loader's counts.
    Hover(2);
    view.OnCommand(command::kProperties);
    ASSERT_EQ(host.propertiesShown.size(), 1u);
    const CPropertiesDlg& shown = host.propertiesShown[0];
    EXPECT_EQ((std::vector{shown.animationCount, shown.totalFrameCount, shown.width}),
              (std::vector<std::int32_t>{3, 15, int{view.Animations().back().width}}));
}

TEST_F(RegistrationCommandsTest, RegistrationAniWithGroupsAndADeletedMember) {
    Register(view, Grouped({{images[0], images[1]}, {images[2]}}));
    EXPECT_EQ(GroupNumbers(view), (std::vector<std::int32_t>{0, 0, 1}));
    EXPECT_EQ(MemberCounts(view), (std::vector<std::int32_t>{2, 1}));
    EXPECT_EQ(view.Groups().front().members[1], &*std::next(view.Animations().begin()));
    // The group number is drawn in red 10 pixels below the position.
    view.PaintOverlays(window);
    const GridCell& last = *view.Grid().CellOf(2, 0);
    const std::string label = "text " + std::to_string(last.x + 1) + "," +
                              std::to_string(last.y + 11) + " \"1\" 0000FF on 000000";
    EXPECT_NE(std::find(window.calls.begin(), window.calls.end(), label), window.calls.end());
    // A deleted member leaves its group.
    Hover(0);
    view.OnCommand(command::kDeleteAnimation);
    EXPECT_EQ(MemberCounts(view), (std::vector<std::int32_t>{1, 1}));
    EXPECT_EQ(view.Groups().front().members[0], &view.Animations().front());
}

TEST_F(RegistrationCommandsTest, AGroupAfterPlainAnimationsHoldsTheAnimationsItAdded) {
    Register(view, OneByOne({images[0], images[1]}));
    Register(view, Grouped({{images[0], images[1], images[2]}}));
    Register(view, Grouped({{images[2]}}));
    // The second group registration numbers its group after the first.
    EXPECT_EQ(GroupNumbers(view), (std::vector<std::int32_t>{-1, -1, 0, 0, 0, 1}));
    EXPECT_EQ(MemberCounts(view), (std::vector<std::int32_t>{3, 1}));
    EXPECT_EQ(view.Groups().front().members[0], &*std::next(view.Animations().begin(), 2));
    Compute(view);
    const UnitData& data = doc.Data();
    ASSERT_EQ(data.GroupCount(), 2);
    std::vector<std::int32_t> groupIndices;
    for (const auto& animation : data.animations) {
        groupIndices.push_back(animation.groupIndex);
    }
    EXPECT_EQ(groupIndices, (std::vector<std::int32_t>{-1, -1, 0, 0, 0, 1}));
    EXPECT_EQ(data.groups.front().members.front(), &*std::next(data.animations.begin(), 2));
}

TEST_F(RegistrationCommandsTest, RegistrationMaskAddsMasksFromTheFirstAnimation) {
    Register(view, OneByOne(images));
    host.registryAnswers.push_back(OneByOne({masks[0], masks[1]}));
    view.OnCommand(command::kRegistrationMask);
    std::vector<int> maskFlags;
    for (const auto& animation : view.Animations()) {
        maskFlags.push_back(animation.maskFlag);
    }
    EXPECT_EQ(maskFlags, (std::vector{1, 1, 0}));
    // The masks show green over the pictures.
    const auto pictures = view.RenderVisibleFrames();
    EXPECT_NE(std::find(pictures[0].pixels.begin(), pictures[0].pixels.end(), 0x03E0),
              pictures[0].pixels.end());
    EXPECT_EQ(std::find(pictures.back().pixels.begin(), pictures.back().pixels.end(), 0x03E0),
              pictures.back().pixels.end());
}

TEST_F(RegistrationCommandsTest, AddAnimationAndAddMaskFromTheSeriesDialog) {
    host.fileSpecialAnswers.push_back(images[1]);
    view.OnCommand(command::kAddAnimation);
    ASSERT_EQ(view.RegisteredCount(), 1);
    ASSERT_EQ(host.fileSpecialRequests.size(), 1u);
    EXPECT_EQ(host.fileSpecialRequests[0].filter, "Image Files(*.TGA)|*.TGA|모든화일(*.*)|*.*||");
    EXPECT_EQ(host.fileSpecialRequests[0].title, "Animation registration");
    EXPECT_FALSE(view.IsEnabled(command::kAddMask)); // nothing hovered yet

    Hover(0, 2);
    host.fileSpecialAnswers.push_back(masks[1]);
    view.OnCommand(command::kAddMask);
    EXPECT_EQ(view.Animations().front().maskFlag, 1);

    view.OnCommand(command::kAddAnimation); // cancelled: no names
    EXPECT_EQ(view.RegisteredCount(), 1);
}

TEST_F(RegistrationCommandsTest, CompressionFromSeriesToUnitAndItsRecoveryCopy) {
    Register(view, Grouped({{images[0], images[1]}, {images[2]}}));
    Compute(view);
    ASSERT_EQ(host.computeOutcomes,
              std::vector<CVqComputeDlg::Outcome>{CVqComputeDlg::Outcome::Ok});
    const UnitData& data = doc.Data();
    ASSERT_EQ(data.AnimationCount(), 3);
    EXPECT_EQ(data.TotalFrameCount(), 15);
    EXPECT_TRUE(doc.ToolDataFlag());
    EXPECT_TRUE(doc.IsModified());
    // What the compression lost, and what reading the pictures lost, go to the status bar.
    EXPECT_EQ(doc.QualityText().rfind("PSNR ", 0), 0u) << doc.QualityText();
    EXPECT_NE(doc.QualityText().find("; pictures read "), std::string::npos) << doc.QualityText();
    EXPECT_EQ(platform.statusBar.quality, doc.QualityText());

    // The recovery copy reads back as the same unit.
    BinaryReader in = BinaryReader::FromFile(RecoveryFile());
    const UnitData copy = ReadToolData(in);
    EXPECT_EQ(copy.AnimationCount(), 3);
    ASSERT_EQ(copy.GroupCount(), 2);
    EXPECT_EQ(copy.groups.front().MemberCount(), 2);
    EXPECT_EQ(copy.codebook.entries16, data.codebook.entries16);
}

TEST_F(RegistrationCommandsTest, TheLookupTableDialogsRefinePassesReachTheRun) {
    Register(view, Grouped({{images[0], images[1], images[2]}}));
    host.lookupTable = [](CSetLookupTableDlg& dialog) {
        dialog.lookupTableSize = 12;
        dialog.refinePasses = 2;
        return true;
    };
    view.OnCommand(command::kVqCompute);
    ASSERT_EQ(doc.Data().AnimationCount(), 3);
    // The run's seed is the clock's seconds: 0 here.
    CompressionParameters parameters;
    parameters.lookupTableSize = 12;
    test::RecordingProgress progress;
    for (const int passes : {2, 0}) {
        parameters.refinePasses = passes;
        const CompressionResult expected =
            CompressAnimations(RefsTo(view.Animations()), parameters, 0, progress);
        EXPECT_EQ(doc.Data().codebook.entries16 ==
                      CodebookFromLookupTable(expected.entryCount, expected.lookupTable).entries16,
                  passes == 2);
    }
}

TEST_F(RegistrationCommandsTest, VqComputeWithNothingRegisteredSaysSo) {
    host.lookupTable = [](CSetLookupTableDlg&) {
        ADD_FAILURE() << "no parameters are asked for";
        return true;
    };
    view.OnCommand(command::kVqCompute);
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_EQ(platform.prompts.messages[0].text, CSetAnimationView::kNothingRegistered);
    EXPECT_TRUE(host.computeOutcomes.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(std::filesystem::exists(RecoveryFile()));
}

TEST_F(RegistrationCommandsTest, CancelledDialogsLeaveTheUnitAlone) {
    Register(view, Grouped({{images[0], images[1]}}));
    view.OnCommand(command::kVqCompute); // the lookup table dialog is cancelled
    host.lookupTable = [](CSetLookupTableDlg& dialog) {
        dialog.lookupTableSize = 70000; // a size no run takes
        return true;
    };
    view.OnCommand(command::kVqCompute);
    EXPECT_EQ(host.computeOutcomes,
              std::vector<CVqComputeDlg::Outcome>{CVqComputeDlg::Outcome::Cancel});
    EXPECT_EQ(platform.prompts.messages.size(), 1u); // why the run could not start
    EXPECT_EQ(doc.Data().AnimationCount(), 0);
    EXPECT_TRUE(doc.Data().groups.empty());
    EXPECT_FALSE(std::filesystem::exists(RecoveryFile()));
}

// Every change to what the unit window holds marks the unit, so that closing it asks first;
// what changes nothing marks nothing. The status bar says what each registration added.
TEST_F(RegistrationCommandsTest, EveryRegistrationChangeMarksTheUnit) {
    const auto marked = [&] {
        const bool modified = doc.IsModified();
        doc.SetModifiedFlag(false);
        return modified;
    };
    view.OnCommand(command::kRegistrationAni); // cancelled
    view.OnCommand(command::kAddAnimation);    // cancelled
    EXPECT_FALSE(marked());
    EXPECT_EQ(view.RegisteredCount(), 0);
    EXPECT_TRUE(platform.statusBar.captions.empty());

    host.fileSpecialAnswers.push_back(images[0]);
    view.OnCommand(command::kAddAnimation);
    EXPECT_TRUE(marked());
    EXPECT_EQ(platform.statusBar.messages.back(), "Registered 1 animation (5 frames).");
    Register(view, OneByOne({images[1], images[2]}));
    EXPECT_TRUE(marked());
    EXPECT_EQ(platform.statusBar.messages.back(), "Registered 2 animations (10 frames).");
    EXPECT_EQ(doc.UnkeptRegistrations(), 3);

    host.registryAnswers.push_back(OneByOne({masks[0], masks[1]}));
    view.OnCommand(command::kRegistrationMask);
    EXPECT_TRUE(marked());
    EXPECT_EQ(platform.statusBar.messages.back(), "Masks added to 2 animations.");
    Hover(2);
    host.fileSpecialAnswers.push_back(masks[2]);
    view.OnCommand(command::kAddMask);
    EXPECT_TRUE(marked());
    EXPECT_EQ(platform.statusBar.messages.back(), "Masks added to 1 animation.");

    // Change: a click on the source itself changes nothing; on another it exchanges them.
    Hover(0);
    view.OnCommand(command::kChangeAnimation);
    view.OnLeftButtonDown();
    EXPECT_FALSE(marked());
    view.OnCommand(command::kChangeAnimation);
    Hover(1);
    view.OnLeftButtonDown();
    EXPECT_TRUE(marked());

    // The temp buffer is stored on OK, and marks the unit when it changed.
    Hover(1);
    host.tempBuffer = [](CTempBufferDlg&) { return true; };
    view.OnCommand(command::kSetTempBuffer);
    EXPECT_FALSE(marked());
    host.tempBuffer = [](CTempBufferDlg& dialog) {
        dialog.values[3] = 77;
        dialog.values[9] = -7;
        return true;
    };
    view.OnCommand(command::kSetTempBuffer);
    EXPECT_TRUE(marked());
    const auto& stored = std::next(view.Animations().begin())->tempBuffer;
    EXPECT_EQ((std::vector{stored[0], stored[3], stored[9]}), (std::vector{0, 77, -7}));

    view.OnCommand(command::kDeleteAnimation);
    EXPECT_TRUE(marked());
    EXPECT_EQ(doc.UnkeptRegistrations(), 2);

    // The compressed unit holds them from then on.
    Compute(view);
    EXPECT_EQ(doc.UnkeptRegistrations(), 0);
    EXPECT_EQ(platform.statusBar.messages.back(), "VQ Compute done: 2 animations, 10 frames, " +
                                                      std::to_string(doc.Data().codebook.Size()) +
                                                      " lookup table entries.");
    Hover(0);
    view.OnCommand(command::kDeleteAnimation);
    EXPECT_EQ(doc.UnkeptRegistrations(), 1);
    platform.prompts.fileAnswers.push_back(folder / "kept.ure");
    view.OnCommand(command::kSaveUre);
    EXPECT_EQ(doc.UnkeptRegistrations(), 0);
}

// Saving writes compressed animations only: before a save would leave registered ones out, the
// artist is told where they are kept and may cancel; the unit stays modified after such a save.
TEST_F(RegistrationCommandsTest, SavingARegisteredOnlyUnitWarnsFirst) {
    host.fileSpecialAnswers.push_back(images[0]);
    view.OnCommand(command::kAddAnimation);
    platform.prompts.messageAnswers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(doc.Save());
    ASSERT_EQ(platform.prompts.messages.size(), 1u);
    EXPECT_EQ(platform.prompts.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(platform.prompts.messages[0].text,
              "1 registered animation(s) of the \"Set animation\" tab are not compressed, and "
              "this save writes only the compressed unit. Registered series are kept only by "
              "\"Save URE\" or by compressing them (\"VQ Compute\"). Save without them?");
    EXPECT_TRUE(platform.prompts.dialogs.empty()); // no file was asked for
    EXPECT_FALSE(std::filesystem::exists(folder / "hero.UTD"));

    platform.prompts.messageAnswers.push_back(MessageAnswer::Ok);
    platform.prompts.fileAnswers.push_back(folder / "hero.utd");
    EXPECT_TRUE(doc.Save());
    EXPECT_TRUE(std::filesystem::exists(folder / "hero.UTD"));
    EXPECT_TRUE(doc.IsModified());
    platform.prompts.messageAnswers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(doc.SaveAs());
    EXPECT_EQ(platform.prompts.dialogs.size(), 1u);

    // Kept in a run-length file, they no longer stand in the way.
    platform.prompts.fileAnswers.push_back(folder / "hero.ure");
    view.OnCommand(command::kSaveUre);
    EXPECT_EQ(ReadRunLengthUnitFile(folder / "hero.URE").size(), 1u);
    const std::size_t asked = platform.prompts.messages.size();
    EXPECT_TRUE(doc.Save());
    EXPECT_EQ(platform.prompts.messages.size(), asked);
    EXPECT_FALSE(doc.IsModified());
}

// Add Mask takes a series listed for the hovered animation: one of another frame count is refused;
// Registration Mask keeps ignoring the pictures past the frames.
TEST_F(RegistrationCommandsTest, AddMaskRefusesAnotherFrameCount) {
    host.fileSpecialAnswers.push_back(images[0]);
    view.OnCommand(command::kAddAnimation);
    Hover(0);
    doc.SetModifiedFlag(false);

    PictureSeries longer = masks[0];
    longer.names.push_back(longer.names.back());
    host.fileSpecialAnswers.push_back(longer);
    view.OnCommand(command::kAddMask);
    EXPECT_EQ(view.Animations().front().maskFlag, 0);
    EXPECT_EQ(platform.prompts.fileProblems.back().reason,
              "the mask series has 6 pictures for 5 frames");
    EXPECT_FALSE(doc.IsModified());

    host.registryAnswers.push_back(OneByOne({longer}));
    view.OnCommand(command::kRegistrationMask);
    EXPECT_EQ(view.Animations().front().maskFlag, 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(RegistrationCommandsTest, BuildingModeHandsResultsToTheBuilding) {
    KeepingDocument building(platform.Get());
    std::vector<const RegisteredAnimations*> shown;
    {
        CSetAnimationView buildingView{
            platform.Get(), host, tools,
            BuildingRegistration{building,
                                 [&](const RegisteredAnimations* list) { shown.push_back(list); }}};
        EXPECT_TRUE(buildingView.IsBuildingMode());
        Register(buildingView, OneByOne({images[0]}));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], &buildingView.Animations());
        Register(buildingView, Grouped({{images[1]}})); // groups do not show the list
        EXPECT_EQ(shown.size(), 1u);
        Compute(buildingView);
        ASSERT_EQ(building.results.size(), 1u);
        EXPECT_EQ(building.results[0].animations.size(), 2u);
    }
    EXPECT_EQ(shown.back(), nullptr); // the view went away
    EXPECT_EQ(doc.Data().AnimationCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(RecoveryFile()));
}

} // namespace
} // namespace fenwold
