// Every file kind cut at every length: each cut is refused with a message naming the file and
// leaves what was open as it was. (A cut picture is read in full; its reader's tests pin that.)
#include "building/BuildingFile.h"
#include "building/CFenwoldDoc.h"
#include "platform/FileError.h"
#include "platform/ScriptedPlatform.h"
#include "support/TempFolder.h"
#include "teamcolour/TeamColourFile.h"
#include "unit/CSetAnimationView.h"
#include "unit/GameDataFile.h"
#include "unit/OriginInfoFile.h"
#include "unit/RegistrationFixtures.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"
#include "unit/UnitFixtures.h"
#include "unittools/ToolHub.h"

#include <functional>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Cut(const Bytes& file, std::size_t size) {
    return {file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)};
}

BuildingRecord OneTileBuilding() {
    const int pixels = kTileSize * kTileSize;
    std::vector<Pixel555> picture(pixels);
    Bytes alpha(pixels, 255);
    for (int i = 0; i < pixels; ++i) {
        picture[i] = static_cast<Pixel555>(i * 31);
        alpha[i] = i % 5 == 0 ? 0 : 255;
    }
    BuildingRecord record =
        MakeBuildingRecord(picture, alpha, kTileSize, kTileSize, 0, 0, kTileSize, kTileSize);
    record.teamIndex.assign(pixels, 3);
    record.teamMask.assign(pixels, 0);
    std::fill_n(record.teamMask.begin(), kTileSize, 255);
    return record;
}

class TruncationSweep : public ::testing::Test {
protected:
    TruncationSweep() : platform(folder.path()) {}

    // Writes every cut of `file` as `name` and has `open` try it: each is refused with one
    // message naming the file, and `state` (what was open before) stays as it was.
    template <typename State>
    void Sweep(const Bytes& file, const std::string& name,
               const std::function<bool(const std::filesystem::path&)>& open,
               const std::function<State()>& state) {
        const State before = state();
        for (std::size_t size = 0; size < file.size(); ++size) {
            folder.Write(name, Cut(file, size));
            EXPECT_FALSE(open(folder / name)) << size;
            ASSERT_EQ(platform.prompts.messages.size(), 1u) << size;
            EXPECT_NE(platform.prompts.messages[0].text.find(name), std::string::npos)
                << size << ": " << platform.prompts.messages[0].text;
            platform.prompts.messages.clear();
            EXPECT_EQ(state(), before) << size;
        }
    }

    // Opens every cut of `file` into a unit first opened from the whole file.
    void SweepUnit(const Bytes& file, bool toolData) {
        folder.Write("whole", file);
        CUnitDoc doc(platform.Get());
        doc.SetToolDataFlag(toolData);
        ASSERT_TRUE(doc.OnOpenDocument(folder / "whole"));
        Sweep<std::pair<Bytes, std::string>>(
            file, toolData ? "cut.UTD" : "cut.UPT",
            [&](const std::filesystem::path& path) { return doc.OnOpenDocument(path); },
            [&] {
                return std::pair(toolData ? EncodeToolData(doc.Data(), "x")
                                          : EncodeGameData(doc.Data(), false, "x"),
                                 doc.Title());
            });
    }

    test::TempFolder folder;
    ScriptedPlatform platform;
};

TEST_F(TruncationSweep, ToolData) {
    UnitData unit = test::MakeSampleUnit();
    SweepUnit(EncodeToolData(unit, "small.UTD"), true);
}

TEST_F(TruncationSweep, GameData) {
    UnitData unit = test::MakeSampleUnit();
    SweepUnit(EncodeGameData(unit, true, "small.UPT"), false);
}

TEST_F(TruncationSweep, Building) {
    UnitData unit = test::MakeSampleUnit();
    const Bytes file = EncodeBuildingFile(OneTileBuilding(), unit, ColourVariant::Pixel565, 0);
    folder.Write("whole.BPT", file);
    CFenwoldDoc doc(platform.Get());
    ASSERT_TRUE(doc.OnOpenDocument(folder / "whole.BPT"));
    Sweep<std::pair<Bytes, std::string>>(
        file, "cut.BPT",
        [&](const std::filesystem::path& path) { return doc.OnOpenDocument(path); },
        [&] {
            return std::pair(EncodeBuildingFile(*doc.Record(), doc.Animations(),
                                                ColourVariant::Pixel555, doc.GameDataSize()),
                             doc.Title());
        });
}

// The registration view reads only the Pixel555 half of a run-length unit file, but a cut
// anywhere, also inside the Pixel565 half, is refused and leaves the view's list alone.
TEST_F(TruncationSweep, RunLengthUnit) {
    RegisteredAnimations animations;
    animations.push_back(test::SolidAnimation(4, 3, 2, 0x0120));
    animations.push_back(test::SolidAnimation(6, 2, 1, 0x0340));
    const Bytes file = EncodeRunLengthUnitFile(animations);
    CUnitDoc doc(platform.Get());
    test::ScriptedRegistrationHost host;
    ToolHub tools;
    CSetAnimationView view(platform.Get(), host, tools, doc);
    folder.Write("whole.URE", file);
    ASSERT_TRUE(view.OpenRunLengthFile(folder / "whole.URE"));
    Sweep<int>(
        file, "cut.URE",
        [&](const std::filesystem::path& path) { return view.OpenRunLengthFile(path); },
        [&] { return view.RegisteredCount(); });
}

TEST_F(TruncationSweep, OriginInfo) {
    UnitData unit = test::MakeSampleUnit();
    WriteOriginInfo(unit, folder / "whole.OID");
    folder.Write("whole.UTD", EncodeToolData(unit, "whole.UTD"));
    CUnitDoc doc(platform.Get());
    doc.SetToolDataFlag(true);
    ASSERT_TRUE(doc.OnOpenDocument(folder / "whole.UTD"));
    Sweep<Bytes>(
        folder.Read("whole.OID"), "cut.OID",
        [&](const std::filesystem::path& path) {
            platform.prompts.fileAnswers.push_back(path);
            doc.OpenUtdInfo();
            return false;
        },
        [&] { return EncodeToolData(doc.Data(), "x"); });
}

TEST_F(TruncationSweep, TeamColours) {
    TeamColours colours;
    colours.selection[4] = 20;
    colours.tables[9][31] = 0x1234;
    WriteTeamColourFile(folder / "whole.UTC", colours);
    const Bytes file = folder.Read("whole.UTC");
    ASSERT_EQ(file.size(), kTeamColourFileSize);
    TeamColours open;
    open.tables[0][0] = 0x7FFF;
    const auto load = [&](const std::filesystem::path& path) {
        platform.prompts.fileAnswers.push_back(path);
        return LoadTeamColours(platform.Get(), open);
    };
    Sweep<TeamColours>(file, "cut.UTC", load, [&] { return open; });
    EXPECT_TRUE(load(folder / "whole.UTC"));
    EXPECT_EQ(open, colours);
}

} // namespace
} // namespace fenwold
