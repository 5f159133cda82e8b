#include "building/BuildingFile.h"
#include "cli/BatchSettings.h"
#include "cli/Console.h"
#include "platform/BinaryReader.h"
#include "platform/FileIo.h"
#include "support/CliRunner.h"
#include "support/Subprocess.h"
#include "support/TempFolder.h"
#include "unit/ToolDataFile.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace fenwold {
namespace {

using test::RunCommand;
namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    const auto bytes = ReadWholeFile(path);
    return {bytes.begin(), bytes.end()};
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every field of the settings, one line each, so that a comparison names the field that differs.
std::string Describe(const cli::Settings& settings) {
    std::ostringstream text;
    const auto series = [&](const cli::SeriesSetting& s) {
        text << "  series " << s.pictures << " | " << s.masks << "\n";
    };
    const auto compression = [&](const cli::CompressionSetting& c) {
        text << "  lookup " << c.lookup << " weight " << c.weight << " sampling " << c.sampling
             << " lbg " << c.lbg << " seed " << c.seed << " refine " << c.refine << " min_psnr "
             << (c.minPsnr ? std::to_string(*c.minPsnr) : "none") << "\n";
    };
    for (const auto& unit : settings.units) {
        text << "unit " << unit.name << " colours " << unit.teamColours << "\n";
        std::for_each(unit.groups.begin(), unit.groups.end(), series);
        std::for_each(unit.series.begin(), unit.series.end(), series);
        compression(unit.compression);
    }
    for (const auto& building : settings.buildings) {
        text << "building " << building.name << " " << building.picture << " " << building.mask
             << " colours " << building.teamColours << "\n";
        for (const auto& animation : building.animations) {
            series(animation.series);
            text << "  at " << animation.x << "," << animation.y << "\n";
        }
        compression(building.compression);
    }
    return text.str();
}

class Batch : public ::testing::Test {
protected:
    // The sample art in a folder whose name needs escaping in the manifest and the shell.
    void WriteSample(int animations) {
        ASSERT_EQ(RunCommand({"sample", assets.string(), "--animations", std::to_string(animations),
                              "--frames", "3", "--size", "24x20"}),
                  0);
    }

    int WriteManifest(const fs::path& out) {
        std::vector<std::string> arguments{"batch",      assets.string(), "-o",
                                           out.string(), "--cli",         test::CliProgram()};
        return RunCommand(arguments);
    }

    // Runs ninja in the build folder; returns its output, or fails the test.
    std::string Ninja(const fs::path& out) {
        const fs::path log = folder / "ninja.log";
        const std::string command = "ninja -C '" + out.string() + "' > '" + log.string() + "' 2>&1";
        const int status = std::system(command.c_str());
        const std::string text = ReadText(log);
        EXPECT_EQ(status, 0) << text;
        return text;
    }

    std::map<std::string, fs::file_time_type> Times(const fs::path& out) {
        std::map<std::string, fs::file_time_type> times;
        for (const auto& entry : fs::recursive_directory_iterator(out)) {
            const std::string name = fs::relative(entry.path(), out).generic_string();
            if (entry.is_regular_file() && !name.starts_with(".ninja") && name != "build.ninja") {
                times[name] = entry.last_write_time();
            }
        }
        return times;
    }

    UnitData ReadUnit(const fs::path& path) {
        auto in = BinaryReader::FromFile(path);
        return ReadToolData(in);
    }

    test::TempFolder folder;
    fs::path assets = folder / "sample art";
};

// --init finds the sample unit as one group and the house, and its settings build them with
// their masks and team colours; a second --init keeps what is there.
TEST_F(Batch, StartingSettingsBuildTheSampleWithItsMasksAndTeamColours) {
    WriteSample(6);
    const fs::path out = folder / "out";
    ASSERT_EQ(RunCommand({"batch", "--init", assets.string(), "-o", out.string(), "--cli",
                          test::CliProgram()}),
              0);
    // Every other setting is the default.
    cli::Settings expected;
    cli::UnitSetting& unit = expected.units.emplace_back();
    unit.name = "unit";
    unit.groups = {{".", "../mask"}};
    unit.teamColours = "../teamcolours.UTC";
    EXPECT_EQ(Describe(cli::ReadSettings(assets / "unit" / cli::kSettingsFileName)),
              Describe(expected));
    expected.units.clear();
    expected.buildings.push_back(
        {"house", "house.tga", "house_mask.tga", "../teamcolours.UTC", {}, {}});
    EXPECT_EQ(Describe(cli::ReadSettings(assets / "building" / cli::kSettingsFileName)),
              Describe(expected));
    int settingsFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(assets)) {
        settingsFiles += entry.path().filename() == cli::kSettingsFileName;
    }
    EXPECT_EQ(settingsFiles, 2);

    Ninja(out);
    const UnitData built = ReadUnit(out / "unit" / "unit.UTD");
    EXPECT_EQ(built.AnimationCount(), 6);
    ASSERT_EQ(built.GroupCount(), 1);
    EXPECT_EQ(built.groups.front().MemberCount(), 6);
    for (const auto& animation : built.animations) {
        EXPECT_EQ(animation.maskFlag, 1);
        EXPECT_EQ(animation.FrameCount(), 3);
    }
    EXPECT_NE(built.teamColours.tables[3][20], 0); // from teamcolours.UTC
    EXPECT_TRUE(fs::exists(out / "unit" / "unit.UPT"));
    EXPECT_TRUE(fs::exists(out / "building" / "house.BPT"));
    EXPECT_TRUE(fs::exists(out / "building" / "house6.BPT"));

    WriteText(assets / "unit" / cli::kSettingsFileName, "{\"units\": []}");
    ASSERT_EQ(RunCommand({"batch", "--init", assets.string()}), 0);
    EXPECT_EQ(ReadText(assets / "unit" / cli::kSettingsFileName), "{\"units\": []}");
}

TEST_F(Batch, RebuildsExactlyWhatChanged) {
    WriteSample(4);
    WriteText(assets / cli::kSettingsFileName, R"({
  "units": [
    {"name": "left", "series": [{"pictures": "unit/anim00", "masks": "mask/anim00"},
                                {"pictures": "unit/anim01/anim01_0001.tga",
                                 "masks": "mask/anim01/anim01_mask_0001.tga"}],
     "lookup": 30, "seed": 7, "refine": 2, "min_psnr": 5.5},
    {"name": "right", "series": [{"pictures": "unit/anim02", "masks": "mask/anim02"},
                                 {"pictures": "unit/anim03"}],
     "lookup": 30, "seed": 4294967295, "weight": "average", "sampling": false}
  ],
  "buildings": [
    {"name": "house", "picture": "building/house.tga", "mask": "building/house_mask.tga",
     "team_colours": "teamcolours.UTC", "lookup": 20, "seed": 3,
     "animations": [{"pictures": "unit/anim03", "position": [4, -6]},
                    {"pictures": "unit/anim00", "masks": "mask/anim00", "position": [0, 9]}]}
  ]
})");
    const fs::path out = folder / "out";
    ASSERT_EQ(WriteManifest(out), 0);
    const auto manifest = ReadWholeFile(out / "build.ninja");
    const std::string manifestText(manifest.begin(), manifest.end());
    EXPECT_NE(manifestText.find("--refine 2 --min-psnr 5.5"), std::string::npos) << manifestText;
    Ninja(out);
    EXPECT_EQ(ReadUnit(out / "left.UTD").AnimationCount(), 2);
    EXPECT_EQ(ReadUnit(out / "right.UTD").animations.back().maskFlag, 0);
    BinaryReader house = BinaryReader::FromFile(out / "house.BPT");
    const BuildingFileContent built = ReadBuildingFile(house);
    ASSERT_EQ(built.animations.AnimationCount(), 2);
    EXPECT_EQ(built.animations.animations.back().maskFlag, 1);
    EXPECT_EQ(built.record.animationPositions[0], (std::array<std::int32_t, 2>{4, -6}));
    EXPECT_EQ(built.record.animationPositions[1], (std::array<std::int32_t, 2>{0, 9}));
    EXPECT_NE(Ninja(out).find("no work to do"), std::string::npos);

    // Touching one picture reruns its unit only.
    const auto before = Times(out);
    fs::last_write_time(assets / "unit" / "anim01" / "anim01_0002.tga",
                        fs::file_time_type::clock::now());
    Ninja(out);
    const auto after = Times(out);
    for (const auto& [name, time] : before) {
        EXPECT_EQ(time != after.at(name), name.starts_with("left.")) << name;
    }

    // A picture added to a series folder (with its mask) reruns that unit with one frame more.
    fs::copy_file(assets / "unit" / "anim02" / "anim02_0003.tga",
                  assets / "unit" / "anim02" / "anim02_0004.tga");
    fs::copy_file(assets / "mask" / "anim02" / "anim02_mask_0003.tga",
                  assets / "mask" / "anim02" / "anim02_mask_0004.tga");
    const std::string added = Ninja(out);
    EXPECT_NE(added.find("unit right"), std::string::npos) << added;
    EXPECT_EQ(added.find("unit left"), std::string::npos) << added;
    EXPECT_EQ(ReadUnit(out / "right.UTD").animations.front().FrameCount(), 4);
    EXPECT_NE(Ninja(out).find("no work to do"), std::string::npos);
}

TEST_F(Batch, SettingsFaultsNameTheFileAndTheKey) {
    WriteSample(2);
    const fs::path settings = assets / cli::kSettingsFileName;
    const std::string group = R"("groups": [{"pictures": "unit", "masks": "mask"}])";
    const std::vector<std::pair<std::string, std::string>> cases{
        {R"({"units": [{"name": "a", )" + group + R"(, "lookupp": 20}]})", "units[0].lookupp"},
        {R"({"units": [{"name": "a", "series": [{"pictures": "unit/nowhere"}]}]})",
         "units[0].series[0].pictures"},
        {R"({"units": [{"name": "a", )" + group + R"(, "lookup": 0}]})", "units[0].lookup"},
        {R"({"units": [{"name": "a", )" + group + R"(, "lookup": 65535}]})", "units[0].lookup"},
        {R"({"units": [{"name": "a", )" + group + R"(, "lookup": 20.5}]})", "units[0].lookup"},
        {R"({"units": [{"name": "a", )" + group + R"(, "weight": "heavy"}]})", "units[0].weight"},
        {R"({"units": [{"name": "a", )" + group + R"(, "seed": -1}]})", "units[0].seed"},
        {R"({"units": [{"name": "a", )" + group + R"(, "seed": 4294967296}]})", "units[0].seed"},
        {R"({"units": [{"name": "a", )" + group + R"(, "sampling": 1}]})", "units[0].sampling"},
        {R"({"units": [{"name": "a", )" + group + R"(, "refine": 101}]})", "units[0].refine"},
        {R"({"units": [{"name": "a", )" + group + R"(, "lbg": false, "refine": 1}]})",
         "units[0].refine"},
        {R"({"units": [{"name": "a", )" + group + R"(, "min_psnr": -0.5}]})", "units[0].min_psnr"},
        {R"({"units": [{"name": "a", )" + group + R"(, "min_psnr": "30"}]})", "units[0].min_psnr"},
        {R"({"units": [{"name": "a.b", )" + group + R"(}]})", "units[0].name"},
        {R"({"units": [{)" + group + R"(}]})", "units[0].name"},
        {R"({"units": [{"name": "a"}]})", "units[0]"},
        {R"({"units": [{"name": "a", "groups": [{"pictures": "building"}]}]})",
         "units[0].groups[0]"},
        {R"({"buildings": [{"name": "h", "picture": "building/house.tga"}]})", "buildings[0].mask"},
        {R"({"buildings": [{"name": "h", "picture": "building/house.tga",
             "mask": "building/house_mask.tga",
             "animations": [{"pictures": "unit/anim00", "position": [1]}]}]})",
         "buildings[0].animations[0].position"},
        {R"({"unit": []})", "unit"},
        {R"({"units": [)", "not valid JSON"},
    };
    for (const auto& [text, key] : cases) {
        WriteText(settings, text);
        const fs::path out = folder / "out";
        fs::remove_all(out);
        testing::internal::CaptureStderr();
        EXPECT_EQ(WriteManifest(out), 1) << text;
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(settings.string() + ": " + key), std::string::npos) << text << "\n"
                                                                                   << message;
        EXPECT_FALSE(fs::exists(out / "build.ninja")) << text;
    }
}

TEST_F(Batch, SettingsAtTheirLimitsReadBackAsWritten) {
    WriteSample(1);
    cli::Settings settings;
    cli::UnitSetting unit;
    unit.name = "edge";
    unit.series = {{"unit/anim00", "mask/anim00"}};
    unit.groups = {{"unit", "mask"}};
    unit.compression = {65534, "none", false, false, 4294967295u, 0, std::nullopt};
    unit.teamColours = "teamcolours.UTC";
    settings.units.push_back(unit);
    cli::UnitSetting refined = unit;
    refined.name = "refined";
    refined.compression = {500, "max", true, true, 1, 100, 1000.0};
    settings.units.push_back(refined);
    cli::BuildingSetting building;
    building.name = "house_2";
    building.picture = "building/house.tga";
    building.mask = "building/house_mask.tga";
    building.teamColours = "teamcolours.UTC";
    building.animations = {{{"unit/anim00", "mask/anim00"}, -32768, 32767}};
    building.compression = {1, "average", true, true, 0, 0, std::nullopt};
    settings.buildings.push_back(building);
    const fs::path path = assets / cli::kSettingsFileName;
    WriteText(path, cli::SettingsText(settings));
    EXPECT_EQ(Describe(cli::ReadSettings(path)), Describe(settings));

    // A building holds 200 animations, not one more.
    settings.buildings[0].animations.assign(200, building.animations[0]);
    WriteText(path, cli::SettingsText(settings));
    EXPECT_EQ(cli::ReadSettings(path).buildings[0].animations.size(), 200u);
    settings.buildings[0].animations.push_back(building.animations[0]);
    WriteText(path, cli::SettingsText(settings));
    EXPECT_THROW(cli::ReadSettings(path), cli::CliFailure);
}

} // namespace
} // namespace fenwold
