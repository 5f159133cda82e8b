#include "cli/SampleFolder.h"
#include "support/CliRunner.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace fenwold {
namespace {

using test::RunCommand;

class QualityCli : public test::SampleFolder {
protected:
    QualityCli()
        : SampleFolder({.animations = 3, .frames = 5, .width = 24, .height = 20, .seed = 4}) {}
    std::vector<std::string> Compress(const std::string& base,
                                      std::vector<std::string> extra = {}) const {
        std::vector<std::string> arguments = CompressGroup(base, 7, 24);
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    }
    nlohmann::json Summary(std::vector<std::string> arguments, int status = 0) const {
        arguments.push_back("--json");
        testing::internal::CaptureStdout();
        EXPECT_EQ(RunCommand(arguments), status);
        const std::string text = testing::internal::GetCapturedStdout();
        return text.empty() ? nlohmann::json() : nlohmann::json::parse(text);
    }
};

TEST_F(QualityCli, KeepingEveryBlockReportsLossless) {
    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommand({"compress", "-o", Path("exact"), "--no-lbg", "--group",
                          Path("unit") + "," + Path("mask")}),
              0);
    const std::string text = testing::internal::GetCapturedStdout();
    EXPECT_NE(text.find("unit lossless, worst animation 0 at lossless"), std::string::npos) << text;
    EXPECT_NE(text.find("animation 2: lossless"), std::string::npos);
    EXPECT_NE(text.find("against the pictures read: "), std::string::npos);

    const auto exact = Summary({"compress", "-o", Path("exact2"), "--no-lbg", Path("unit/anim01")});
    EXPECT_TRUE(exact["lossless"].get<bool>());
    EXPECT_TRUE(exact["psnr_unit"].is_null());
    EXPECT_EQ(exact["reading_measured"], 1);

    const auto lossy = Summary(Compress("lossy"));
    EXPECT_FALSE(lossy["lossless"].get<bool>());
    ASSERT_EQ(lossy["psnr"].size(), 3u);
    EXPECT_TRUE(lossy["reading_psnr"].is_number());
}

TEST_F(QualityCli, AQualityFloorAboveTheResultWritesNothing) {
    const auto result = Summary(Compress("first"));
    const double worst = result["worst_psnr"];
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunCommand(Compress("floor", {"--min-psnr", std::to_string(worst + 0.5)})), 3);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(
        message.find("animation " + std::to_string(result["worst_animation"].get<int>()) + " ("),
        std::string::npos)
        << message;
    EXPECT_NE(message.find("nothing was written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "floor.UTD"));
    EXPECT_FALSE(std::filesystem::exists(folder / "floor.UPT"));

    EXPECT_EQ(RunCommand(Compress("passes", {"--min-psnr", std::to_string(worst - 0.5)})), 0);
    EXPECT_EQ(folder.Read("passes.UTD"), folder.Read("first.UTD"));
    EXPECT_EQ(RunCommand(Compress("bad", {"--min-psnr", "-1"})), 2);
}

TEST_F(QualityCli, RefiningIsOptIn) {
    ASSERT_EQ(RunCommand(Compress("plain")), 0);
    ASSERT_EQ(RunCommand(Compress("zero", {"--refine", "0"})), 0);
    EXPECT_EQ(folder.Read("zero.UTD"), folder.Read("plain.UTD"));
    EXPECT_EQ(folder.Read("zero.UPT"), folder.Read("plain.UPT"));

    // The passes themselves, at any thread count, are pinned with the refinement.
    const auto refined = Summary(Compress("refined", {"--refine", "3"}));
    EXPECT_NE(folder.Read("refined.UPT"), folder.Read("plain.UPT"));
    EXPECT_EQ(refined["refine_passes"], 3);

    EXPECT_EQ(RunCommand(Compress("none", {"--refine", "2", "--no-lbg"})), 2);
    EXPECT_EQ(RunCommand(Compress("many", {"--refine", "101"})), 2);
}

TEST_F(QualityCli, DifferencePicturesCompareWithTheRegisteredSeries) {
    const std::string group = Path("unit") + "," + Path("mask");
    ASSERT_EQ(RunCommand({"compress", "-o", Path("exact"), "--no-lbg", "--group", group}), 0);
    ASSERT_EQ(RunCommand({"render", Path("exact.UTD"), "--diff", "--source-group", group, "--anim",
                          "1", "--frame", "3", "-o", Path("diff.png")}),
              0);
    const test::RgbaImage strip = test::ReadPng(folder / "diff.png");
    // Three frames of the animation's cropped width, 4 pixels apart.
    const int width = (strip.width - 2 * 4) / 3;
    ASSERT_EQ(strip.width, 3 * width + 2 * 4);
    bool anyShown = false;
    for (int y = 0; y < strip.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* registered = strip.At(x, y);
            const std::uint8_t* compressed = strip.At(width + 4 + x, y);
            const std::uint8_t* difference = strip.At(2 * (width + 4) + x, y);
            EXPECT_TRUE(std::equal(registered, registered + 3, compressed));
            EXPECT_EQ(difference[0] | difference[1] | difference[2], 0);
            anyShown = anyShown || (registered[0] | registered[1] | registered[2]) != 0;
        }
    }
    EXPECT_TRUE(anyShown);

    ASSERT_EQ(RunCommand(Compress("lossy")), 0);
    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommand({"render", Path("lossy.UTD"), "--diff", "--source-group", group, "--sheet",
                          "--amplify", "8", "-o", Path("sheet.png")}),
              0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("difference x8: PSNR "),
              std::string::npos);
    EXPECT_EQ(test::ReadPng(folder / "sheet.png").width, 640);

    // Without the series, or with series that are not the unit's, nothing is drawn.
    EXPECT_EQ(RunCommand({"render", Path("lossy.UTD"), "--diff", "-o", Path("a.png")}), 2);
    EXPECT_EQ(RunCommand({"render", Path("lossy.UTD"), "--diff", "--source", Path("unit/anim00"),
                          "-o", Path("b.png")}),
              2);
    EXPECT_FALSE(std::filesystem::exists(folder / "a.png"));
    EXPECT_FALSE(std::filesystem::exists(folder / "b.png"));
}

TEST_F(QualityCli, UsagePicturesAndAnimatedPreviews) {
    ASSERT_EQ(RunCommand(Compress("hero")), 0);
    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommand({"render", Path("hero.UTD"), "--usage", "--anim", "2", "--frame", "1",
                          "-o", Path("usage.png")}),
              0);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("entries 24: "), std::string::npos) << said;
    EXPECT_NE(said.find(" visible blocks"), std::string::npos) << said;
    EXPECT_GT(test::ReadPng(folder / "usage.png").height, 20);

    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommand({"render", Path("hero.UPT"), "--animate", "--anim", "1", "--team", "3",
                          "-o", Path("walk.webp")}),
              0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("5 pictures, 320 ms"), std::string::npos);
    const std::vector<std::uint8_t> file = folder.Read("walk.webp");
    ASSERT_GT(file.size(), 12u);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "WEBP");

    EXPECT_EQ(RunCommand({"render", Path("hero.UTD"), "--animate", "--raw", "-o", Path("x")}), 2);
    EXPECT_EQ(RunCommand({"render", Path("hero.UTD"), "--usage", "--anim", "9", "-o", Path("x")}),
              2);
    EXPECT_FALSE(std::filesystem::exists(folder / "x"));
}

} // namespace
} // namespace fenwold
