#include "cli/Cli.h"

#include "cli/CompressCommand.h"
#include "cli/Console.h"
#include "cli/SampleFolder.h"
#include "image/SampleArt.h"
#include "platform/BinaryReader.h"
#include "support/CliRunner.h"
#include "support/TempFolder.h"
#include "unit/GameDataFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"
#include "vq/CompressionRun.h"
#include "vq/DrawCompressedFrame.h"
#include "vq/TableValidation.h"
#include "vq/VqEngine.h"
#include "vq/VqFixtures.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace fenwold {
namespace {

using Bytes = std::vector<std::uint8_t>;

using test::RunCommand;

class Cli : public test::SampleFolder {
protected:
    Cli() : SampleFolder({.animations = 2, .frames = 5, .width = 32, .height = 28, .seed = 3}) {}
    std::vector<std::string> CompressArguments(const std::string& base) const {
        return CompressGroup(base, 11, 20);
    }
    UnitData ReadUnit(const std::string& name, bool toolData) const {
        auto in = BinaryReader::FromFile(folder / name);
        return toolData ? ReadToolData(in) : ReadGameData(in);
    }
};

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
    DrawCompressedFrame({expected.data(), 50, 40}, -3, 5, animation, animation.alphaTables[4],
                        data.codebook.Drawing(data.teamColours.tables[2].data()), 128);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(raw[2 * i] | raw[2 * i + 1] << 8, expected[i]) << i;
    }
    EXPECT_EQ(RunCommand({"render", Path("hero.UPT"), "--sheet", "-o", Path("sheet.png")}), 0);
    EXPECT_EQ(folder.Read("sheet.png")[1], 'P');
}

// Options: the seed's range, empty values, --at only with --canvas, and the program's options
// after the subcommand.
TEST_F(Cli, OptionParsing) {
    ASSERT_EQ(RunCommand(CompressArguments("hero")), 0);
    const auto compress = [&](const std::string& seed) {
        return RunCommand(
            {"compress", "-o", Path("s"), "--seed", seed, "--lookup", "8", Path("unit/anim00")});
    };
    for (const std::string seed : {"-1", "4294967296", "99999999999999999999", "", "0x10"}) {
        EXPECT_EQ(compress(seed), 2) << seed;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "s.UTD"));
    EXPECT_EQ(compress("0"), 0);
    EXPECT_EQ(compress("4294967295"), 0);
    const std::string unit = Path("hero.UTD");
    EXPECT_EQ(RunCommand({"render", unit, "-o", ""}), 2);
    const auto render = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> arguments{"render", unit, "-o", Path("c.raw"), "--raw"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunCommand(arguments);
    };
    // A canvas is at most 16384 pixels a side.
    for (const auto& extra : std::vector<std::vector<std::string>>{{"--canvas", ""},
                                                                   {"--canvas", "8x8", "--at", ""},
                                                                   {"--at", "1,1"},
                                                                   {"--canvas", "16385x1"},
                                                                   {"--canvas", "1x16385"}}) {
        EXPECT_EQ(render(extra), 2) << extra.back();
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "c.raw"));
    EXPECT_EQ(render({"--canvas", "1x16384"}), 0);
    EXPECT_EQ(render({"--canvas", "16384x1"}), 0);
    EXPECT_EQ(std::filesystem::file_size(folder / "c.raw"), 16384u * 2);
    EXPECT_EQ(RunCommand({"compress", "-o", "", Path("unit/anim00")}), 2);
    EXPECT_EQ(RunCommand({"sample", "--seed", "-3", Path("more")}), 2);
    // --quiet before or after the subcommand.
    const std::vector<const char*> after{"fenwold-cli", "info", unit.c_str(), "--quiet"};
    EXPECT_EQ(cli::RunCli(static_cast<int>(after.size()), after.data()), 0);
}

// A batch run's log is English: the engine's refusals too, and a loader's problem is said as
// the file and the reason.
TEST(ConsolePrompts, SpeakEnglish) {
    cli::ConsolePrompts prompts;
    testing::internal::CaptureStderr();
    prompts.ShowMessage(kNoLbgTooManyBlocks, MessageButtons::Ok);
    prompts.ShowMessage(kLookupTableSizeRefused, MessageButtons::Ok);
    prompts.ShowFileProblem("\"walk.tga\" alpha not found", "/art/walk.tga", "a 16-bit picture");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "fenwold-cli: more than 65534 distinct training blocks: --no-lbg cannot compress "
              "them\n"
              "fenwold-cli: the lookup table size must be 1 to 65534\n"
              "fenwold-cli: /art/walk.tga: a 16-bit picture\n");
    EXPECT_EQ(prompts.messagesShown(), 3);
}

TEST_F(Cli, SummariesAreJsonWithTheirKeysInOrder) {
    auto arguments = CompressArguments("hero");
    arguments.push_back("--json");
    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommand(arguments), 0);
    const auto compressed = nlohmann::ordered_json::parse(testing::internal::GetCapturedStdout());
    std::vector<std::string> keys;
    for (const auto& item : compressed.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"tool_data", "game_data", "animations", "frames",
                                              "groups", "codebook_size", "refine_passes", "seconds",
                                              "psnr", "psnr_unit", "worst_animation", "worst_psnr",
                                              "lossless", "reading_psnr", "reading_measured"}));
    EXPECT_EQ(compressed["tool_data"], Path("hero.UTD"));
    EXPECT_EQ(compressed["frames"], 10);
    EXPECT_EQ(compressed["codebook_size"], 20);
    ASSERT_EQ(compressed["psnr"].size(), 2u);
    EXPECT_TRUE(compressed["psnr"][0].is_number() || compressed["psnr"][0].is_null());

    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommand({"info", "--json", Path("hero.UTD")}), 0);
    const auto info = nlohmann::ordered_json::parse(testing::internal::GetCapturedStdout());
    keys.clear();
    for (const auto& item : info.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys,
              (std::vector<std::string>{"file", "kind", "version", "animation_count", "frame_count",
                                        "codebook_size", "codebook_block_flag", "group_count",
                                        "groups", "team_colour_middles", "animations"}));
    EXPECT_EQ(info["kind"], "unit tool data");
    EXPECT_EQ(info["version"], 6);
    EXPECT_EQ(info["codebook_size"], 20);
    EXPECT_EQ(info["groups"][0]["members"], 2);
    const UnitData data = ReadUnit("hero.UTD", true);
    const UnitAnimation& second = data.animations.back();
    const auto& described = info["animations"][1];
    EXPECT_EQ(described["frames"], 5);
    EXPECT_EQ(described["mask"], true);
    EXPECT_EQ(described["position_x"], second.positionX);
    EXPECT_EQ(described["sequence_delays"].size(), static_cast<std::size_t>(second.sequenceLength));
    EXPECT_EQ(described["check_box"],
              nlohmann::json({second.checkBoxX, second.checkBoxY, second.checkBoxWidth,
                              second.checkBoxHeight}));
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
}

// A compression result the unit refuses ends the command with status 1 before anything is
// written, the unit's own message naming the reason.
TEST(CompressCommand, ARefusedResultFailsWithStatus1) {
    CompressionResult result = test::ResultPastItsTable();
    cli::ConsolePlatform console(true);
    CUnitDoc unit(console.Get());
    testing::internal::CaptureStderr();
    try {
        cli::TakeCompressionResult(unit, "unit", std::move(result));
        ADD_FAILURE() << "the refused result was taken";
    } catch (const cli::CliFailure& failure) {
        EXPECT_EQ(failure.status, cli::kExitFileFailure);
        EXPECT_EQ(std::string(failure.what()),
                  "the unit refused the compression result (see above); nothing was written");
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "fenwold-cli: " + std::string(kCompressionResultRefused) + "\n");
    EXPECT_EQ(unit.Data().AnimationCount(), 0);
    EXPECT_FALSE(unit.IsModified());
}

} // namespace
} // namespace fenwold
