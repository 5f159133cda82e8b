#include "building/BuildingFile.h"
#include "building/CFenwoldDoc.h"
#include "image/SampleArt.h"
#include "image/SeriesNames.h"
#include "platform/BinaryReader.h"
#include "platform/ScriptedPlatform.h"
#include "support/CliRunner.h"
#include "support/TempFolder.h"
#include "support/TgaBuilder.h"
#include "teamcolour/TeamColourGradient.h"
#include "unit/CSetAnimationView.h"
#include "unit/RegistrationFixtures.h"
#include "unittools/ToolHub.h"

#include <CommandIds.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace fenwold {
namespace {

using test::RunCommand;
using test::TgaBuilder;
namespace fs = std::filesystem;

constexpr TgaColor kRed = MakeTgaColor(248, 0, 0);
constexpr TgaColor kGreen = MakeTgaColor(0, 248, 0);
constexpr TgaColor kBlue = MakeTgaColor(0, 0, 248);
constexpr TgaColor kMagenta = MakeTgaColor(248, 0, 248);
constexpr TgaColor kCyan = MakeTgaColor(0, 248, 248);
// The building: opaque, 64 x 64 (two by two tiles, no padding), olive; its team mask covers a
// 4 x 4 corner, away from where the animations go.
constexpr TgaColor kWall = MakeTgaColor(96, 160, 40);

// A building picture with its mask and two animations built in code: "a" (6 x 4, red then green,
// with a team mask series over its right column) and "b" (4 x 6, blue, magenta, cyan), each
// frame one solid colour so that a table of the first distinct blocks keeps it exactly. The
// sample art's figures give animations of many distinct blocks.
class BuildingCli : public ::testing::Test {
protected:
    BuildingCli() {
        WriteSeries("a", 6, 4, {kRed, kGreen});
        WriteSeries("amask", 6, 4, {0, 0}, /*maskColumn=*/5);
        WriteSeries("b", 4, 6, {kBlue, kMagenta, kCyan});
        folder.Write("house.tga",
                     TgaBuilder::Picture(64, 64, std::vector<TgaColor>(64 * 64, kWall)));
        std::vector<TgaColor> mask(64 * 64, MakeTgaColor(0, 0, 0));
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                mask[y * 64 + x] = MakeTgaColor(255, 255, 255);
            }
        }
        folder.Write("house_mask.tga", TgaBuilder::Picture(64, 64, mask));
        art = WriteSampleSet(folder / "art",
                             {.animations = 2, .frames = 3, .width = 24, .height = 20, .seed = 5});
    }

    // One picture a frame, all of `colour`; a mask series (colour 0) is white in `maskColumn`.
    void WriteSeries(const std::string& name, int width, int height,
                     const std::vector<TgaColor>& colours, int maskColumn = -1) {
        fs::create_directories(folder / name);
        for (std::size_t f = 0; f < colours.size(); ++f) {
            std::vector<TgaColor> pixels(static_cast<std::size_t>(width) * height, colours[f]);
            if (maskColumn >= 0) {
                for (int i = 0; i < width * height; ++i) {
                    pixels[i] = i % width == maskColumn ? MakeTgaColor(255, 255, 255)
                                                        : MakeTgaColor(0, 0, 0);
                }
            }
            folder.Write(name + "/" + name + "_000" + std::to_string(f + 1) + ".tga",
                         TgaBuilder::Picture(width, height, pixels));
        }
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    // The building command with the house, two animations at (10, 12) and (-2, 40), and `extra`.
    int BuildWithCli(const std::string& base, const std::string& first, const std::string& second,
                     std::vector<std::string> extra) {
        std::vector<std::string> arguments{"building",    "-o",
                                           Path(base),    Path("house.tga"),
                                           "--mask",      Path("house_mask.tga"),
                                           "--animation", first,
                                           "--animation", second,
                                           "--position",  "10,12",
                                           "--position",  "-2,40"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunCommand(arguments);
    }
    int BuildArtWithCli(const std::string& base, std::vector<std::string> extra) {
        return BuildWithCli(base,
                            art.animationFolders[0].string() + "," + art.maskFolders[0].string(),
                            art.firstPictures[1].string(), std::move(extra));
    }

    test::TempFolder folder;
    SampleSet art;
};

// The desktop builds the house as an artist does: Open Building, Open Mask, both animations and
// the mask series registered in the building's "Set animation" tab, "VQ Compute" (seeded by the
// clock's seconds), the animations placed, Save As. The command line with the same seed writes
// the same bytes at any thread count (the files' own round trips are pinned with the building
// file).
TEST_F(BuildingCli, WritesTheDesktopsBytes) {
    ScriptedPlatform platform(folder.path());
    CFenwoldDoc desktop(platform.Get());
    ASSERT_TRUE(desktop.ImportPicture(folder / "house.tga"));
    ASSERT_TRUE(desktop.ImportMask(folder / "house_mask.tga"));
    test::ScriptedRegistrationHost host;
    ToolHub tools;
    {
        CSetAnimationView view{platform.Get(), host, tools,
                               BuildingRegistration{desktop, [&](const RegisteredAnimations* list) {
                                                        desktop.SetRegisteredAnimations(list);
                                                    }}};
        const auto series = [&](const fs::path& path) {
            return *ScanSeriesFolder(path, platform.prompts);
        };
        host.registryAnswers.push_back(
            {false, 6, {series(art.animationFolders[0]), series(art.animationFolders[1])}, {}});
        view.OnCommand(command::kRegistrationAni);
        host.registryAnswers.push_back({false, 3, {series(art.maskFolders[0])}, {}});
        view.OnCommand(command::kRegistrationMask);
        host.lookupTable = [](CSetLookupTableDlg& settings) {
            settings.lookupTableSize = 10;
            settings.weightMode = 1;
            return true;
        };
        platform.clock.seconds = 77;
        view.OnCommand(command::kVqCompute);
        ASSERT_EQ(host.computeOutcomes, std::vector{CVqComputeDlg::Outcome::Ok});
    }
    desktop.Record()->animationPositions[0] = {10, 12};
    desktop.Record()->animationPositions[1] = {-2, 40};
    platform.prompts.fileAnswers.push_back(folder / "gui.bpt");
    ASSERT_TRUE(desktop.SaveAs());
    ASSERT_TRUE(platform.prompts.messages.empty());
    // Saved without the team colour dialog, a team pixel holds its team colour index, never the
    // mask's 0 or 1.
    BinaryReader in = BinaryReader::FromFile(folder / "gui.BPT");
    const BuildingRecord saved = ReadBuildingFile(in).record;
    ASSERT_NE(saved.teamMask[0], 0);
    EXPECT_EQ(saved.teamIndex[0], TeamColourIndex(saved.picture[0]));
    EXPECT_GT(saved.teamIndex[0], 1);

    for (const char* threads : {"1", "2"}) {
        const std::string base = std::string("cli") + threads;
        ASSERT_EQ(BuildArtWithCli(base, {"--seed", "77", "--lookup", "10", "--weight", "average",
                                         "--threads", threads}),
                  0);
        EXPECT_EQ(folder.Read(base + ".BPT"), folder.Read("gui.BPT")) << threads;
        EXPECT_EQ(folder.Read(base + "6.BPT"), folder.Read("gui6.BPT")) << threads;
    }
    // Another seed samples another table.
    ASSERT_EQ(BuildArtWithCli("other", {"--seed", "78", "--lookup", "10", "--weight", "average"}),
              0);
    EXPECT_NE(folder.Read("other.BPT"), folder.Read("gui.BPT"));
}

TEST_F(BuildingCli, PositionsPairWithAnimationsAndABuildingHoldsAtMost200) {
    const auto only = [&](std::vector<std::string> animationArguments) {
        std::vector<std::string> arguments{"building",    "-o",
                                           Path("limit"), Path("house.tga"),
                                           "--mask",      Path("house_mask.tga"),
                                           "--lookup",    "10",
                                           "--seed",      "1"};
        arguments.insert(arguments.end(), animationArguments.begin(), animationArguments.end());
        return RunCommand(arguments);
    };
    EXPECT_EQ(only({"--animation", Path("b")}), 2);
    EXPECT_EQ(only({"--animation", Path("b"), "--position", "1,2", "--position", "3,4"}), 2);
    EXPECT_EQ(only({"--animation", Path("b"), "--position", "1"}), 2);
    EXPECT_EQ(only({"--position", "1,2"}), 2);
    EXPECT_FALSE(fs::exists(folder / "limit.BPT"));

    // 200 animations are built; one more is refused before anything is read, saying why.
    std::vector<std::string> arguments;
    for (int n = 0; n < 200; ++n) {
        arguments.insert(arguments.end(), {"--animation", Path("b"), "--position", "1,2"});
    }
    ASSERT_EQ(only(arguments), 0);
    const auto before = folder.Read("limit.BPT");
    arguments.insert(arguments.end(), {"--animation", Path("b"), "--position", "0,0"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(only(arguments), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "a building holds at most 200 animations; 201 were given"),
              std::string::npos);
    EXPECT_EQ(folder.Read("limit.BPT"), before);
}

// Each animation is drawn over the picture at its place, at the chosen frame modulo its length;
// one hanging over the left edge is cut there. Without --frame the picture is drawn alone.
TEST_F(BuildingCli, RenderDrawsTheAnimationsAtTheirPlacesAtAFrame) {
    ASSERT_EQ(
        BuildWithCli("exact", Path("a") + "," + Path("amask"), Path("b/b_0001.tga"), {"--no-lbg"}),
        0);
    const auto render = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments{"render", Path("exact.BPT"), "-o", Path("out.raw"),
                                           "--raw"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        EXPECT_EQ(RunCommand(arguments), 0);
        const auto raw = folder.Read("out.raw");
        EXPECT_EQ(raw.size(), 64u * 64u * 2u);
        return [raw](int x, int y) {
            const std::size_t at = (static_cast<std::size_t>(y) * 64 + x) * 2;
            return static_cast<Pixel555>(raw[at] | raw[at + 1] << 8);
        };
    };
    const Pixel555 wall = ToPixel555(96, 160, 40);
    const auto plain = render({});
    const auto frame4 = render({"--frame", "4"}); // a: 4 % 2 = 0, b: 4 % 3 = 1
    const auto frame5 = render({"--frame", "5"}); // a: 1, b: 2
    for (const auto& [x, y] :
         {std::pair{10, 12}, std::pair{14, 15}, std::pair{0, 40}, std::pair{1, 45}}) {
        EXPECT_EQ(plain(x, y), wall) << x << "," << y;
    }
    // a's left five columns (its right one is team-coloured), b's two columns inside the picture.
    EXPECT_EQ(frame4(10, 12), ToPixel555(248, 0, 0));
    EXPECT_EQ(frame4(14, 15), ToPixel555(248, 0, 0));
    EXPECT_EQ(frame5(10, 12), ToPixel555(0, 248, 0));
    EXPECT_EQ(frame4(0, 40), ToPixel555(248, 0, 248));
    EXPECT_EQ(frame4(1, 45), ToPixel555(248, 0, 248));
    EXPECT_EQ(frame5(1, 45), ToPixel555(0, 248, 248));
    // Just outside each animation, the picture.
    for (const auto& [x, y] : {std::pair{9, 12}, std::pair{10, 11}, std::pair{10, 16},
                               std::pair{2, 40}, std::pair{0, 39}, std::pair{0, 46}}) {
        EXPECT_EQ(frame4(x, y), wall) << x << "," << y;
    }
    // The building's animations also draw as a sheet and play as a unit's do.
    EXPECT_EQ(RunCommand({"render", Path("exact.BPT"), "--sheet", "-o", Path("sheet.png")}), 0);
    EXPECT_EQ(
        RunCommand({"render", Path("exact.BPT"), "--animate", "--anim", "1", "-o", Path("b.webp")}),
        0);
    EXPECT_EQ(RunCommand({"render", Path("exact.BPT"), "--frame", "-1", "-o", Path("x.png")}), 2);
}

} // namespace
} // namespace fenwold
