#include "cli/SampleFolder.h"
#include "cli/SpriteSheet.h"
#include "platform/BinaryReader.h"
#include "platform/FileIo.h"
#include "support/CliRunner.h"
#include "support/TempFolder.h"
#include "unit/ToolDataFile.h"
#include "vq/DrawCompressedFrame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace fenwold {
namespace {

using nlohmann::json;
using test::RunCommand;

std::uint8_t Spread(int channel) {
    return static_cast<std::uint8_t>(channel << 3 | channel >> 2);
}

json ReadJson(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    return json::parse(bytes.begin(), bytes.end());
}

struct Rect {
    int x, y, w, h;
};
Rect RectOf(const json& value) {
    return {value["x"].get<int>(), value["y"].get<int>(), value["w"].get<int>(),
            value["h"].get<int>()};
}
bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

class Export : public test::SampleFolder {
protected:
    Export() : SampleFolder({.animations = 2, .frames = 5, .width = 32, .height = 28, .seed = 5}) {}

    // A compressed unit whose records carry distinct values in every field the sheet reports.
    void WriteEditedUnit(bool masks) {
        ASSERT_EQ(RunCommand({"compress", "-o", Path("hero"), "--seed", "3", "--lookup", "40",
                              "--group", masks ? Path("unit") + "," + Path("mask") : Path("unit")}),
                  0);
        auto in = BinaryReader::FromFile(folder / "hero.UTD");
        UnitData data = ReadToolData(in);
        data.unitPointX[0] = 10;
        data.unitPointY[0] = 4;
        data.unitPointX[7] = 70;
        data.groups.front().pointX[0] = 5;
        data.groups.front().pointY[0] = -2;
        UnitAnimation& walk = data.animations.front();
        walk.pointX[0] = 3;
        walk.pointY[0] = 1;
        walk.pointY[9] = -9;
        // Frames 2, 0, 2, 4 with delays 4, 0, a negative 16-bit number and 3.
        walk.sequenceLength = 4;
        const std::array<std::uint16_t, 4> frames{2, 0, 2, 4};
        const std::array<std::uint16_t, 4> delays{4, 0, 40000, 3};
        for (int i = 0; i < 4; ++i) {
            walk.frameNumber[i] = frames[i];
            walk.delay[i] = delays[i];
            walk.attribute[i] = static_cast<std::uint16_t>(100 + i);
            walk.alphaValue[i] = static_cast<std::uint8_t>(200 + i);
        }
        walk.tempBuffer[0] = 1;
        walk.tempBuffer[5] = 55;
        walk.checkBoxX = 3;
        walk.checkBoxY = 5;
        walk.checkBoxWidth = 2;
        walk.checkBoxHeight = 3;
        data.animations.back().sequenceLength = 0;
        data.teamColours.selection[4] = 9;
        for (int t = 0; t < kTeamColourTableCount; ++t) {
            for (int i = 0; i < kTeamColourEntries; ++i) {
                data.teamColours.tables[t][i] = static_cast<Pixel555>((t * 3 + 1) << 10 | i);
            }
        }
        WriteToolData(data, folder / "edited.UTD");
        data.Renumber();
        unit = std::move(data);
    }

    UnitData unit;
};

TEST_F(Export, SheetJsonFollowsTheSequenceAndKeepsEveryField) {
    WriteEditedUnit(true);
    ASSERT_EQ(RunCommand({"export", Path("edited.UTD"), "-o", Path("sheet.json"), "--team", "2",
                          "--scale", "2", "--trim"}),
              0);
    const json sheet = ReadJson(folder / "sheet.json");
    const json& meta = sheet["meta"];
    EXPECT_EQ(meta["image"], "sheet.png");
    EXPECT_EQ(meta["scale"], "2");
    EXPECT_EQ(meta["format"], "RGBA8888");
    const test::RgbaImage png = test::ReadPng(folder / "sheet.png");
    ASSERT_EQ(meta["size"]["w"].get<int>(), png.width);
    ASSERT_EQ(meta["size"]["h"].get<int>(), png.height);

    // One entry per sequence entry, in sequence order, with the player's timing: 16 ms steps,
    // at least one, the delay read as a signed 16-bit number.
    const json& frames = sheet["frames"];
    ASSERT_EQ(frames.size(), 4u);
    const std::vector<std::string> names{"anim00/000", "anim00/001", "anim00/002", "anim00/003"};
    const std::vector<int> durations{64, 16, 16, 48};
    int index = 0;
    for (const auto& [name, entry] : frames.items()) {
        EXPECT_EQ(name, names[index]);
        EXPECT_EQ(entry["duration"].get<int>(), durations[index]);
        EXPECT_EQ(entry["rotated"], false);
        const Rect frame = RectOf(entry["frame"]);
        const Rect source = RectOf(entry["spriteSourceSize"]);
        EXPECT_EQ(frame.w, source.w);
        EXPECT_EQ(frame.h, source.h);
        EXPECT_EQ(entry["trimmed"].get<bool>(),
                  source.x != 0 || source.y != 0 ||
                      source.w != entry["sourceSize"]["w"].get<int>() ||
                      source.h != entry["sourceSize"]["h"].get<int>());
        EXPECT_EQ(entry["sourceSize"]["w"].get<int>(), 2 * unit.animations.front().width);
        EXPECT_EQ(entry["sourceSize"]["h"].get<int>(), 2 * unit.animations.front().height);
        EXPECT_LE(source.x + source.w, entry["sourceSize"]["w"].get<int>());
        EXPECT_LE(source.y + source.h, entry["sourceSize"]["h"].get<int>());
        // The pivot is the game's point 0: unit + group + animation point - position.
        const UnitAnimation& walk = unit.animations.front();
        EXPECT_DOUBLE_EQ(entry["pivot"]["x"].get<double>(),
                         static_cast<double>(10 + 5 + 3 - walk.positionX) / walk.width);
        EXPECT_DOUBLE_EQ(entry["pivot"]["y"].get<double>(),
                         static_cast<double>(4 - 2 + 1 - walk.positionY) / walk.height);
        ++index;
    }
    EXPECT_EQ(frames["anim00/000"]["frame"], frames["anim00/002"]["frame"]);
    EXPECT_NE(frames["anim00/000"]["frame"], frames["anim00/001"]["frame"]);

    // One tag per animation with a sequence; the empty sequence of the second has none.
    ASSERT_EQ(meta["frameTags"].size(), 1u);
    EXPECT_EQ(meta["frameTags"][0],
              json({{"name", "anim00"}, {"from", 0}, {"to", 3}, {"direction", "forward"}}));
    ASSERT_EQ(meta["slices"].size(), 1u);
    const json& slice = meta["slices"][0];
    EXPECT_EQ(slice["name"], "anim00");
    ASSERT_EQ(slice["keys"].size(), 1u);
    EXPECT_EQ(slice["keys"][0]["frame"], 0);
    EXPECT_EQ(slice["keys"][0]["bounds"], json({{"x", 6}, {"y", 10}, {"w", 64}, {"h", 96}}));
    const UnitAnimation& walk = unit.animations.front();
    EXPECT_EQ(slice["keys"][0]["pivot"]["x"].get<int>(), 2 * (18 - walk.positionX - 3));
    EXPECT_EQ(slice["keys"][0]["pivot"]["y"].get<int>(), 2 * (3 - walk.positionY - 5));

    // Everything else under meta.fenwold.
    const json& fenwold = meta["fenwold"];
    EXPECT_EQ(fenwold["kind"], "unit tool data");
    EXPECT_EQ(fenwold["team"], 2);
    EXPECT_EQ(fenwold["unit_points"]["x"][7], 70);
    EXPECT_EQ(fenwold["groups"][0]["members"], json({0, 1}));
    EXPECT_EQ(fenwold["groups"][0]["points"]["y"][0], -2);
    EXPECT_EQ(fenwold["team_colours"]["selection"][4], 9);
    for (int t = 0; t < kTeamColourTableCount; ++t) {
        for (int i = 0; i < kTeamColourEntries; ++i) {
            ASSERT_EQ(fenwold["team_colours"]["tables"][t][i].get<int>(),
                      unit.teamColours.tables[t][i]);
        }
    }
    const json& first = fenwold["animations"][0];
    EXPECT_EQ(first["loop_start"], 1);
    EXPECT_EQ(first["temp_buffer"][5], 55);
    EXPECT_EQ(first["points"]["y"][9], -9);
    EXPECT_EQ(first["game_points"]["x"][0], 18 - walk.positionX);
    EXPECT_EQ(first["position"], json({walk.positionX, walk.positionY}));
    EXPECT_EQ(first["check_box"], json({{"x", 3}, {"y", 5}, {"width", 2}, {"height", 3}}));
    ASSERT_EQ(first["sequence"].size(), 4u);
    EXPECT_EQ(first["sequence"][2],
              json({{"frame", 2}, {"delay", 40000}, {"attribute", 102}, {"alpha", 202}}));
    EXPECT_EQ(fenwold["animations"][1]["first_entry"], nullptr);

    // Every picture of every animation is on the sheet (placed apart, as the packing's test
    // checks).
    for (const auto& animation : fenwold["animations"]) {
        EXPECT_EQ(animation["pictures"].size(), 5u);
    }

    // The pixels are the drawing's: where the sheet is opaque, the frame drawn over black with
    // team table 2, enlarged twice.
    const AlphaTableNode& frame = walk.alphaTables[4];
    std::vector<Pixel555> drawn(static_cast<std::size_t>(walk.width) * walk.height, 0);
    DrawCompressedFrame({drawn.data(), walk.width, walk.height}, 0, 0, walk, frame,
                        unit.codebook.Drawing(unit.teamColours.tables[2].data()), 255);
    const Rect onSheet = RectOf(frames["anim00/003"]["frame"]);
    const Rect source = RectOf(frames["anim00/003"]["spriteSourceSize"]);
    int opaque = 0;
    for (int y = 0; y < onSheet.h; ++y) {
        for (int x = 0; x < onSheet.w; ++x) {
            const std::uint8_t* pixel = png.At(onSheet.x + x, onSheet.y + y);
            const Pixel555 expected =
                drawn[static_cast<std::size_t>((source.y + y) / 2) * walk.width +
                      (source.x + x) / 2];
            if (pixel[3] == 255) {
                ++opaque;
                ASSERT_EQ(pixel[0], Spread(Red5(expected)));
                ASSERT_EQ(pixel[1], Spread(Green5(expected)));
                ASSERT_EQ(pixel[2], Spread(Blue5(expected)));
            } else {
                ASSERT_EQ(pixel[3], 0);
                ASSERT_EQ(expected, 0);
            }
        }
    }
    EXPECT_GT(opaque, 0);
}

TEST_F(Export, TranslucentPixelsKeepTheirColourAndTheDrawingsWeight) {
    WriteEditedUnit(false);
    const UnitAnimation& walk = unit.animations.front();
    ASSERT_EQ(walk.maskFlag, 0);
    int partial = 0;
    for (const auto& frame : walk.alphaTables) {
        const cli::SheetPicture picture = cli::DrawFramePicture(unit, walk, frame, nullptr);
        std::vector<Pixel555> overBlack(picture.pixels.size(), 0);
        std::vector<Pixel555> overRed(picture.pixels.size(), 0x7C00);
        for (auto* buffer : {&overBlack, &overRed}) {
            DrawCompressedFrame({buffer->data(), walk.width, walk.height}, 0, 0, walk, frame,
                                unit.codebook.Drawing(nullptr), 255);
        }
        for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
            const int alpha = picture.alpha[i];
            // The weight of 32 that gave this alpha; blending the picture's colour with it over
            // any background gives what the drawing gives.
            const int weight = alpha == 0 ? 1 : (alpha * 32 + 127) / 255;
            ASSERT_EQ(alpha, weight == 1 ? 0 : (weight * 255 + 16) / 32) << i;
            partial += alpha != 0 && alpha != 255;
            ASSERT_EQ(BlendWeighted(picture.pixels[i], 0, weight), overBlack[i]) << i;
            ASSERT_EQ(BlendWeighted(picture.pixels[i], 0x7C00, weight), overRed[i]) << i;
        }
    }
    EXPECT_GT(partial, 0); // the sample art has soft edges
}

TEST_F(Export, PicturesArePackedApartAndTrimmedToTheirVisiblePixels) {
    std::vector<cli::SheetPicture> pictures;
    for (int i = 0; i < 23; ++i) {
        cli::SheetPicture picture;
        picture.width = 3 + (i * 7) % 17;
        picture.height = 2 + (i * 5) % 13;
        picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, 0x1234);
        picture.alpha.assign(picture.pixels.size(), 0);
        pictures.push_back(std::move(picture));
    }
    // One visible pixel at the far corner, one at the near corner, none.
    pictures[0].alpha.back() = 9;
    pictures[1].alpha.front() = 9;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (i != 3) {
            cli::TrimPicture(pictures[i]);
        } else {
            pictures[i].keptWidth = pictures[i].width;
            pictures[i].keptHeight = pictures[i].height;
        }
    }
    EXPECT_EQ(pictures[0].keptX, pictures[0].width - 1);
    EXPECT_EQ(pictures[0].keptY, pictures[0].height - 1);
    EXPECT_EQ(pictures[0].keptWidth, 1);
    EXPECT_EQ(pictures[1].keptX, 0);
    EXPECT_EQ(pictures[1].keptWidth, 1);
    EXPECT_EQ(pictures[2].keptWidth, 1); // nothing visible keeps one pixel
    EXPECT_EQ(pictures[2].keptHeight, 1);

    const cli::SheetSize size = cli::PackPictures(pictures, 2);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const auto& a = pictures[i];
        EXPECT_LE(a.sheetX + a.keptWidth, size.width);
        EXPECT_LE(a.sheetY + a.keptHeight, size.height);
        for (std::size_t j = i + 1; j < pictures.size(); ++j) {
            const auto& b = pictures[j];
            // Two pixels of space between any two pictures.
            const Rect grownA{a.sheetX, a.sheetY, a.keptWidth + 2, a.keptHeight + 2};
            EXPECT_FALSE(Overlap(grownA, {b.sheetX, b.sheetY, b.keptWidth, b.keptHeight}) &&
                         Overlap({a.sheetX, a.sheetY, a.keptWidth, a.keptHeight},
                                 {b.sheetX, b.sheetY, b.keptWidth + 2, b.keptHeight + 2}))
                << i << " " << j;
        }
    }
    std::vector<Pixel555> pixels;
    std::vector<std::uint8_t> alpha;
    cli::ComposeSheet(pictures, size, pixels, alpha);
    EXPECT_EQ(alpha[static_cast<std::size_t>(pictures[0].sheetY) * size.width + pictures[0].sheetX],
              9);
    EXPECT_EQ(
        pixels[static_cast<std::size_t>(pictures[3].sheetY) * size.width + pictures[3].sheetX],
        0x1234);
}

TEST_F(Export, BuildingSheetHasThePictureAreaAndRecord) {
    ASSERT_EQ(RunCommand({"building", "-o", Path("house"), set.building.string(), "--mask",
                          set.buildingMask.string()}),
              0);
    ASSERT_EQ(RunCommand({"export", Path("house.BPT"), "-o", Path("house"), "--team", "0"}), 0);
    const json sheet = ReadJson(folder / "house.json");
    const test::RgbaImage png = test::ReadPng(folder / "house.png");
    ASSERT_EQ(sheet["frames"].size(), 1u);
    const json& entry = sheet["frames"]["building"];
    const Rect frame = RectOf(entry["frame"]);
    EXPECT_EQ(frame.w, png.width);
    EXPECT_EQ(frame.h, png.height);
    EXPECT_EQ(entry["trimmed"], false);
    const json& building = sheet["meta"]["fenwold"]["building"];
    EXPECT_EQ(building["width"].get<int>(), png.width);
    EXPECT_EQ(building["clash"].size(), 2u * building["tile_rows"].get<std::size_t>());
    EXPECT_EQ(building["fire_points"].size(), 9u);
    EXPECT_EQ(building["area"], json({0, 0, building["tile_columns"], building["tile_rows"]}));
    EXPECT_EQ(sheet["meta"]["slices"][0]["name"], "building area");
    EXPECT_EQ(sheet["meta"]["slices"][0]["keys"][0]["bounds"],
              json({{"x", 0}, {"y", 0}, {"w", png.width}, {"h", png.height}}));
    EXPECT_EQ(sheet["meta"]["frameTags"].size(), 0u);
    // Margins added to reach whole tiles are transparent.
    EXPECT_EQ(png.At(0, 0)[3], 0);
    EXPECT_EQ(png.At(png.width / 2, png.height / 2)[3], 255);
}

TEST_F(Export, RefusesWhatItCannotExport) {
    folder.Write("notes.UTC", std::vector<std::uint8_t>(672, 1));
    EXPECT_EQ(RunCommand({"export", Path("notes.UTC"), "-o", Path("x")}), 2);
    EXPECT_EQ(RunCommand({"export", Path("missing.UTD"), "-o", Path("x")}), 1);
    WriteEditedUnit(true);
    // A sequence entry that names a frame the animation does not have.
    auto in = BinaryReader::FromFile(folder / "edited.UTD");
    UnitData data = ReadToolData(in);
    data.animations.front().frameNumber[3] = 5;
    WriteToolData(data, folder / "broken.UTD");
    EXPECT_EQ(RunCommand({"export", Path("broken.UTD"), "-o", Path("broken")}), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "broken.png"));
    EXPECT_FALSE(std::filesystem::exists(folder / "broken.json"));
    // A unit without frames makes no sheet.
    UnitData empty;
    WriteToolData(empty, folder / "empty.UTD");
    EXPECT_EQ(RunCommand({"export", Path("empty.UTD"), "-o", Path("empty")}), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.png"));
}

} // namespace
} // namespace fenwold
