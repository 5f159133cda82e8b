#include "image/SampleArt.h"
#include "support/CliRunner.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace fenwold {
namespace {

using test::RunCommand;

class QualityCli : public ::testing::Test {
protected:
    QualityCli() {
        WriteSampleSet(folder.path(),
                       {.animations = 3, .frames = 5, .width = 24, .height = 20, .seed = 4});
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    std::vector<std::string> Compress(const std::string& base,
                                      std::vector<std::string> extra = {}) const {
        std::vector<std::string> arguments = {"compress", "-o",   Path(base), "--seed", "7",
                                              "--lookup", "24",   "--group",
                                              Path("unit") + "," + Path("mask")};
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

    test::TempFolder folder;
};

TEST_F(QualityCli, KeepingEveryBlockReportsLossless) {
    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommand({"compress", "-o", Path("exact"), "--no-lbg", "--group",
                          Path("unit") + "," + Path("mask")}),
              0);
    const std::string text = testing::internal::GetCapturedStdout();
    EXPECT_NE(text.find("unit lossless, worst animation 0 at lossless"), std::string::npos)
        << text;
    EXPECT_NE(text.find("animation 2: lossless"), std::string::npos);
    EXPECT_NE(text.find("against the pictures read: "), std::string::npos);

    const auto exact = Summary({"compress", "-o", Path("exact2"), "--no-lbg", Path("unit/anim01")});
    EXPECT_TRUE(exact["lossless"].get<bool>());
    EXPECT_TRUE(exact["psnr_unit"].is_null());
    EXPECT_EQ(exact["reading_measured"], 1);

    const auto lossy = Summary(Compress("lossy"));
    EXPECT_FALSE(lossy["lossless"].get<bool>());
    ASSERT_EQ(lossy["psnr"].size(), 3u);
    const int worst = lossy["worst_animation"];
    EXPECT_EQ(lossy["worst_psnr"], lossy["psnr"][static_cast<std::size_t>(worst)]);
    for (const auto& value : lossy["psnr"]) {
        EXPECT_GE(value.get<double>(), lossy["worst_psnr"].get<double>());
    }
    EXPECT_TRUE(lossy["reading_psnr"].is_number());
}

TEST_F(QualityCli, AQualityFloorAboveTheResultWritesNothing) {
    const auto result = Summary(Compress("first"));
    const double worst = result["worst_psnr"];
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunCommand(Compress("floor", {"--min-psnr", std::to_string(worst + 0.5)})), 3);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("animation " + std::to_string(result["worst_animation"].get<int>()) +
                           " ("),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("nothing was written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "floor.UTD"));
    EXPECT_FALSE(std::filesystem::exists(folder / "floor.UPT"));

    EXPECT_EQ(RunCommand(Compress("passes", {"--min-psnr", std::to_string(worst - 0.5)})), 0);
    EXPECT_EQ(folder.Read("passes.UTD"), folder.Read("first.UTD"));
    EXPECT_EQ(RunCommand(Compress("bad", {"--min-psnr", "-1"})), 2);
}

TEST_F(QualityCli, RefiningIsOptInDeterministicAndBetter) {
    const auto plain = Summary(Compress("plain"));
    const auto zero = Summary(Compress("zero", {"--refine", "0"}));
    EXPECT_EQ(folder.Read("zero.UTD"), folder.Read("plain.UTD"));
    EXPECT_EQ(folder.Read("zero.UPT"), folder.Read("plain.UPT"));

    const auto one = Summary(Compress("one", {"--refine", "3", "--threads", "1"}));
    const auto two = Summary(Compress("two", {"--refine", "3", "--threads", "2"}));
    EXPECT_EQ(folder.Read("one.UTD"), folder.Read("two.UTD"));
    EXPECT_EQ(folder.Read("one.UPT"), folder.Read("two.UPT"));
    EXPECT_NE(folder.Read("one.UPT"), folder.Read("plain.UPT"));
    EXPECT_EQ(one["refine_passes"], 3);
    EXPECT_EQ(one["codebook_size"], plain["codebook_size"]);
    EXPECT_GT(one["psnr_unit"].get<double>(), plain["psnr_unit"].get<double>());

    EXPECT_EQ(RunCommand(Compress("none", {"--refine", "2", "--no-lbg"})), 2);
    EXPECT_EQ(RunCommand(Compress("many", {"--refine", "101"})), 2);
}

} // namespace
} // namespace fenwold
