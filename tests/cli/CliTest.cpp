#include "cli/Cli.h"

#include "image/SampleArt.h"
#include "platform/BinaryReader.h"
#include "support/TempFolder.h"
#include "unit/GameDataFile.h"
#include "unit/ToolDataFile.h"
#include "vq/DrawCompressedFrame.h"

#include <gtest/gtest.h>

namespace fenwold {
namespace {

int RunCommand(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "fenwold-cli");
    arguments.insert(arguments.begin() + 1, "--quiet");
    std::vector<const char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return cli::RunCli(static_cast<int>(argv.size()), argv.data());
}

class Cli : public ::testing::Test {
protected:
    Cli() {
        set = WriteSampleSet(folder.path(),
                             {.animations = 2, .frames = 5, .width = 32, .height = 28, .seed = 3});
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    std::vector<std::string> CompressArguments(const std::string& base) const {
        return {"compress", "-o",      Path(base),
                "--seed",   "11",      "--lookup",
                "20",       "--group", Path("unit") + "," + Path("mask")};
    }
    UnitData ReadUnit(const std::string& name, bool toolData) const {
        auto in = BinaryReader::FromFile(folder / name);
        return toolData ? ReadToolData(in) : ReadGameData(in);
    }

    test::TempFolder folder;
    SampleSet set;
};

TEST_F(Cli, CompressWritesFilesThatOpenAgain) {
    ASSERT_EQ(RunCommand(CompressArguments("hero")), 0);
    const UnitData toolData = ReadUnit("hero.UTD", true);
    const UnitData gameData = ReadUnit("hero.UPT", false);
    ASSERT_EQ(toolData.AnimationCount(), 2);
    EXPECT_EQ(toolData.GroupCount(), 1);
    EXPECT_EQ(toolData.groups.front().MemberCount(), 2);
    EXPECT_EQ(toolData.codebook.Size(), 20);
    EXPECT_EQ(toolData.codebook.entries16, gameData.codebook.entries16);
    auto game = gameData.animations.begin();
    for (const auto& animation : toolData.animations) {
        EXPECT_EQ(animation.FrameCount(), 5);
        EXPECT_EQ(animation.IndexTableCount(), 2);
        EXPECT_EQ(animation.maskFlag, 1);
        ASSERT_EQ(animation.alphaTables.size(), game->alphaTables.size());
        for (std::size_t i = 0; i < animation.alphaTables.size(); ++i) {
            EXPECT_EQ(animation.alphaTables[i].bytes, game->alphaTables[i].bytes);
        }
        ++game;
    }
}

TEST_F(Cli, SameSeedAndAnyThreadCountGiveTheSameBytes) {
    auto once = CompressArguments("a");
    ASSERT_EQ(RunCommand(once), 0);
    ASSERT_EQ(RunCommand(CompressArguments("b")), 0);
    auto oneThread = CompressArguments("c");
    oneThread.insert(oneThread.end(), {"--threads", "1"});
    ASSERT_EQ(RunCommand(oneThread), 0);
    auto twoThreads = CompressArguments("d");
    twoThreads.insert(twoThreads.end(), {"--threads", "2"});
    ASSERT_EQ(RunCommand(twoThreads), 0);
    const auto reference = folder.Read("a.UTD");
    EXPECT_EQ(folder.Read("b.UTD"), reference);
    EXPECT_EQ(folder.Read("c.UTD"), reference);
    EXPECT_EQ(folder.Read("d.UTD"), reference);
    EXPECT_EQ(folder.Read("c.UPT"), folder.Read("d.UPT"));
}

TEST_F(Cli, RawRenderEqualsTheLibrarysDrawing) {
    ASSERT_EQ(RunCommand(CompressArguments("hero")), 0);
    ASSERT_EQ(RunCommand({"render", Path("hero.UTD"), "-o", Path("frame.raw"), "--raw", "--anim",
                          "1", "--frame", "4", "--canvas", "50x40", "--at", "-3,5", "--alpha",
                          "128", "--team", "2"}),
              0);
    const auto raw = folder.Read("frame.raw");
    ASSERT_EQ(raw.size(), 50u * 40u * 2u);

    UnitData data = ReadUnit("hero.UTD", true);
    data.Renumber();
    const UnitAnimation& animation = *std::next(data.animations.begin());
    std::vector<Pixel555> expected(50 * 40, 0);
    DrawCompressedFrame(50, 40, -3, 5, animation.maskFlag, animation.blockFlag,
                        animation.indexTables, animation.alphaTables[4],
                        data.codebook.entries8.data(), data.codebook.entries16.data(),
                        data.teamColours.tables[2].data(), expected.data(), 128);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(raw[2 * i] | raw[2 * i + 1] << 8, expected[i]) << i;
    }
    EXPECT_EQ(RunCommand({"render", Path("hero.UPT"), "--sheet", "-o", Path("sheet.png")}), 0);
    EXPECT_EQ(folder.Read("sheet.png")[1], 'P');
}

TEST_F(Cli, UreAndBuildingAndInfo) {
    EXPECT_EQ(RunCommand({"ure", "-o", Path("walk.ure"),
                          set.firstPictures[0].string() + "," + set.firstMasks[0].string()}),
              0);
    EXPECT_EQ(RunCommand({"info", Path("walk.URE")}), 0);
    EXPECT_EQ(RunCommand({"building", "-o", Path("house.bpt"), set.building.string(), "--mask",
                          set.buildingMask.string()}),
              0);
    EXPECT_TRUE(std::filesystem::exists(folder / "house.BPT"));
    EXPECT_TRUE(std::filesystem::exists(folder / "house6.BPT"));
    EXPECT_EQ(RunCommand({"info", "--json", Path("house6.BPT")}), 0);
    EXPECT_EQ(RunCommand({"render", Path("house.BPT"), "-o", Path("house.png")}), 0);
}

TEST_F(Cli, UsageAndFileFailuresHaveTheirStatus) {
    EXPECT_EQ(RunCommand({"compress", "--bogus"}), 2);
    EXPECT_EQ(RunCommand({"compress", "-o", Path("x")}), 2); // nothing to compress
    EXPECT_EQ(RunCommand({"compress", "-o", Path("x"), Path("missing/walk0001.tga")}), 1);
    EXPECT_EQ(RunCommand({"compress", "-o", Path("x"), "--lookup", "70000", Path("unit/anim00")}),
              2);
    folder.Write("bad.UTD", std::vector<std::uint8_t>(300, 7));
    EXPECT_EQ(RunCommand({"info", Path("bad.UTD")}), 1);
    EXPECT_EQ(RunCommand({"info", Path("notes.txt")}), 2);
    // An output is never one of the inputs.
    ASSERT_EQ(RunCommand(CompressArguments("hero")), 0);
    EXPECT_EQ(RunCommand({"render", Path("hero.UTD"), "-o", Path("hero.UTD"), "--raw"}), 2);
    // A picture of a series that cannot be read stops a batch run.
    folder.Write("unit/anim00/anim00_0003.tga", {1, 2, 3});
    EXPECT_EQ(RunCommand({"compress", "-o", Path("y"), Path("unit/anim00")}), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "y.UTD"));
}

} // namespace
} // namespace fenwold
