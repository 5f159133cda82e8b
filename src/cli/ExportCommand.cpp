#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/FileLoading.h"
#include "cli/Json.h"
#include "cli/OutputFiles.h"
#include "cli/PngFile.h"
#include "cli/SpriteSheet.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "platform/FileNames.h"
#include "unit/GameDataFile.h"
#include "unit/PlayTimeline.h"

#include <cstdio>
#include <iostream>

namespace fenwold::cli {
namespace {

constexpr int kSpacing = 2;         // transparent pixels between pictures on the sheet
constexpr int kLargestSide = 32768; // of the written sheet, in pixels
constexpr std::uint64_t kLargestSheet = std::uint64_t{1} << 28;

struct ExportOptions {
    std::string input;
    std::string output;
    int team = -1;
    int scale = 1;
    bool trim = false;
};

std::string AnimationName(std::size_t animation) {
    char name[16];
    std::snprintf(name, sizeof name, "anim%02zu", animation);
    return name;
}

std::string EntryName(const std::string& animation, int entry) {
    char name[16];
    std::snprintf(name, sizeof name, "/%03d", entry);
    return animation + name;
}

template <typename Table>
Json PointTables(const Table& x, const Table& y) {
    return {{"x", NumberList(x)}, {"y", NumberList(y)}};
}

Json Rectangle(int x, int y, int width, int height, int scale) {
    return {{"x", x * scale}, {"y", y * scale}, {"w", width * scale}, {"h", height * scale}};
}

// Where a picture lies on the sheet and which part of its frame it is.
Json Placement(const SheetPicture& picture, int scale) {
    return {{"frame", Rectangle(picture.sheetX, picture.sheetY, picture.keptWidth,
                                picture.keptHeight, scale)},
            {"spriteSourceSize",
             Rectangle(picture.keptX, picture.keptY, picture.keptWidth, picture.keptHeight, scale)},
            {"sourceSize", {{"w", picture.width * scale}, {"h", picture.height * scale}}}};
}

// One entry of the "frames" map, in the form sprite editors and sheet packers write.
Json FrameEntry(const SheetPicture& picture, int milliseconds, int pivotX, int pivotY, int scale) {
    const Json placed = Placement(picture, scale);
    const bool trimmed = picture.keptX != 0 || picture.keptY != 0 ||
                         picture.keptWidth != picture.width || picture.keptHeight != picture.height;
    return {{"frame", placed["frame"]},
            {"rotated", false},
            {"trimmed", trimmed},
            {"spriteSourceSize", placed["spriteSourceSize"]},
            {"sourceSize", placed["sourceSize"]},
            {"duration", milliseconds},
            {"pivot",
             {{"x", picture.width == 0 ? 0.0 : static_cast<double>(pivotX) / picture.width},
              {"y", picture.height == 0 ? 0.0 : static_cast<double>(pivotY) / picture.height}}}};
}

Json Slice(const std::string& name, int entry, int x, int y, int width, int height, int pivotX,
           int pivotY, int scale) {
    return {
        {"name", name},
        {"color", "#ff0000ff"},
        {"keys",
         Json::array({{{"frame", entry},
                       {"bounds", Rectangle(x, y, width, height, scale)},
                       {"pivot", {{"x", (pivotX - x) * scale}, {"y", (pivotY - y) * scale}}}}})}};
}

struct SheetJson {
    Json frames = Json::object();
    Json tags = Json::array();
    Json slices = Json::array();
    Json fenwold = Json::object();
    SheetSize size;
};

Json BuildingFacts(const BuildingRecord& record, std::size_t animationCount) {
    Json positions = Json::array();
    std::size_t used = animationCount;
    for (std::size_t n = 0; n < record.animationPositions.size(); ++n) {
        if (record.animationPositions[n] != std::array<std::int32_t, 2>{}) {
            used = std::max(used, n + 1);
        }
    }
    for (std::size_t n = 0; n < used; ++n) {
        positions.push_back(NumberList(record.animationPositions[n]));
    }
    Json firePoints = Json::array();
    for (int slot = 0; slot < record.firePointCount; ++slot) {
        firePoints.push_back({{"x", record.fireX[slot]},
                              {"y", record.fireY[slot]},
                              {"flag", record.fireFlag[slot]},
                              {"animation", record.fireAnimation[slot]}});
    }
    Json clash = Json::array();
    for (int row = 0; row < 2 * record.tileRows; ++row) {
        clash.push_back(NumberList(std::span(record.clash[row]).first(2 * record.tileColumns)));
    }
    return {{"tile_columns", record.tileColumns},
            {"tile_rows", record.tileRows},
            {"width", record.width},
            {"height", record.height},
            {"area", NumberList(record.area)},
            {"root_of_float", record.rootOfFloat},
            {"points", PointTables(record.pointX, record.pointY)},
            {"animation_positions", std::move(positions)},
            {"fire_points", std::move(firePoints)},
            {"clash", std::move(clash)},
            {"team_indices_computed", record.teamIndicesComputed}};
}

Json UnitFacts(const UnitData& data) {
    Json groups = Json::array();
    for (const auto& group : data.groups) {
        Json members = Json::array();
        for (const UnitAnimation* member : group.members) {
            std::size_t position = 0;
            for (const auto& animation : data.animations) {
                if (&animation == member) {
                    members.push_back(position);
                }
                ++position;
            }
        }
        groups.push_back(
            {{"members", std::move(members)}, {"points", PointTables(group.pointX, group.pointY)}});
    }
    Json tables = Json::array();
    for (const auto& table : data.teamColours.tables) {
        tables.push_back(NumberList(table));
    }
    return {
        {"unit_points", PointTables(data.unitPointX, data.unitPointY)},
        {"groups", std::move(groups)},
        {"team_colours",
         {{"selection", NumberList(data.teamColours.selection)}, {"tables", std::move(tables)}}}};
}

// Draws every frame of every animation (and a building's picture first) and describes them:
// the pictures go on the sheet once each, the entries follow the play sequences.
class SheetBuilder {
public:
    SheetBuilder(LoadedFile& file, const ExportOptions& options)
        : file_(file), options_(options), data_(file.unit ? *file.unit : file.building->animations),
          team_(options.team >= 0
                    ? &data_.teamColours.tables[static_cast<std::size_t>(options.team)]
                    : nullptr) {
        sheet_.fenwold = {{"source", std::filesystem::path(options.input).filename().string()},
                          {"kind", KindName(file.kind)},
                          {"version", file.version},
                          {"team", options.team >= 0 ? Json(options.team) : Json(nullptr)}};
    }

    SheetJson Build() {
        if (file_.building) {
            AddBuilding(file_.building->record);
        }
        Json animations = Json::array();
        for (const auto& animation : data_.animations) {
            animations.push_back(AddAnimation(animation, animations.size()));
        }
        sheet_.size = PackPictures(pictures_, kSpacing);
        // Every picture's place, also of those that no sequence entry shows.
        for (std::size_t a = 0; a < firstPictures_.size(); ++a) {
            const std::size_t end =
                a + 1 < firstPictures_.size() ? firstPictures_[a + 1] : pictures_.size();
            for (std::size_t p = firstPictures_[a]; p < end; ++p) {
                animations[a]["pictures"].push_back(Placement(pictures_[p], options_.scale));
            }
        }
        for (const auto& entry : entries_) {
            sheet_.frames[entry.name] = FrameEntry(pictures_[entry.picture], entry.milliseconds,
                                                   entry.pivotX, entry.pivotY, options_.scale);
        }
        Json facts = UnitFacts(data_);
        for (auto& item : facts.items()) {
            sheet_.fenwold[item.key()] = std::move(item.value());
        }
        sheet_.fenwold["animations"] = std::move(animations);
        if (file_.building) {
            sheet_.fenwold["building"] =
                BuildingFacts(file_.building->record, data_.animations.size());
        }
        return std::move(sheet_);
    }

    const std::vector<SheetPicture>& pictures() const { return pictures_; }

private:
    struct Entry {
        std::string name;
        std::size_t picture;
        int milliseconds;
        int pivotX;
        int pivotY;
    };

    void Keep(SheetPicture picture) {
        if (options_.trim) {
            TrimPicture(picture);
        }
        pictures_.push_back(std::move(picture));
    }

    void AddBuilding(const BuildingRecord& record) {
        Keep(BuildingPicture(record, team_));
        entries_.push_back(
            {"building", 0, kPlayerStepMilliseconds, record.pointX[0], record.pointY[0]});
        sheet_.slices.push_back(Slice("building area", 0, record.area[0] * kTileSize,
                                      record.area[1] * kTileSize,
                                      (record.area[2] - record.area[0]) * kTileSize,
                                      (record.area[3] - record.area[1]) * kTileSize,
                                      record.pointX[0], record.pointY[0], options_.scale));
    }

    Json AddAnimation(const UnitAnimation& animation, std::size_t position) {
        const std::string name = AnimationName(position);
        const std::size_t firstPicture = pictures_.size();
        firstPictures_.push_back(firstPicture);
        for (const auto& frame : animation.alphaTables) {
            Keep(DrawFramePicture(data_, animation, frame, team_));
        }
        // The pivot is point 0 as the game gets it: relative to the frame.
        const GamePointTables points = file_.kind == FileKind::ToolData
                                           ? FoldedPointTables(data_, animation)
                                           : GamePointTables{animation.pointX, animation.pointY};
        const int firstEntry = static_cast<int>(entries_.size());
        Json sequence = Json::array();
        for (int entry = 0; entry < animation.sequenceLength; ++entry) {
            const int frame = animation.frameNumber[entry];
            if (frame >= animation.FrameCount()) {
                throw CliFailure(kExitFileFailure,
                                 options_.input + ": animation " + std::to_string(position) +
                                     ", sequence entry " + std::to_string(entry) + " shows frame " +
                                     std::to_string(frame) + ", but the animation has " +
                                     std::to_string(animation.FrameCount()) + " frames");
            }
            entries_.push_back({EntryName(name, entry), firstPicture + frame,
                                EntryMilliseconds(animation.delay[entry]), points.x[0],
                                points.y[0]});
            sequence.push_back({{"frame", frame},
                                {"delay", animation.delay[entry]},
                                {"attribute", animation.attribute[entry]},
                                {"alpha", animation.alphaValue[entry]}});
        }
        if (animation.sequenceLength > 0) {
            sheet_.tags.push_back({{"name", name},
                                   {"from", firstEntry},
                                   {"to", firstEntry + animation.sequenceLength - 1},
                                   {"direction", "forward"}});
            sheet_.slices.push_back(Slice(name, firstEntry, animation.checkBoxX,
                                          animation.checkBoxY, 16 * animation.checkBoxWidth,
                                          16 * animation.checkBoxHeight, points.x[0], points.y[0],
                                          options_.scale));
        }
        return {{"name", name},
                {"first_entry", animation.sequenceLength > 0 ? Json(firstEntry) : Json(nullptr)},
                {"width", animation.width},
                {"height", animation.height},
                {"pictures", Json::array()},
                {"mask", animation.maskFlag != 0},
                {"group", animation.groupIndex},
                {"position", {animation.positionX, animation.positionY}},
                {"extra", {animation.extra0, animation.extra1}},
                {"points", PointTables(animation.pointX, animation.pointY)},
                {"game_points", PointTables(points.x, points.y)},
                {"check_box",
                 {{"x", animation.checkBoxX},
                  {"y", animation.checkBoxY},
                  {"width", animation.checkBoxWidth},
                  {"height", animation.checkBoxHeight}}},
                {"loop_start", animation.tempBuffer[0]},
                {"temp_buffer", NumberList(animation.tempBuffer)},
                {"sequence", std::move(sequence)}};
    }

    LoadedFile& file_;
    const ExportOptions& options_;
    UnitData& data_;
    const TeamColourTable* team_;
    std::vector<SheetPicture> pictures_;
    std::vector<std::size_t> firstPictures_;
    std::vector<Entry> entries_;
    SheetJson sheet_;
};

std::filesystem::path BaseOf(const std::string& output) {
    std::filesystem::path base(output);
    const std::string extension = base.extension().string();
    if (EqualsIgnoringCase(extension, ".png") || EqualsIgnoringCase(extension, ".json")) {
        base.replace_extension();
    }
    return base;
}

int Export(const ExportOptions& options) {
    const std::filesystem::path base = BaseOf(options.output);
    const std::filesystem::path pngPath = base.string() + ".png";
    const std::filesystem::path jsonPath = base.string() + ".json";
    RefuseStandardOutput(options.output);
    RefuseOverwritingInputs({pngPath, jsonPath}, {options.input});
    LoadedFile file = LoadAnyFile(options.input);
    if (!file.unit && !file.building) {
        throw CliFailure(kExitUsage, options.input + ": only unit and building files are exported");
    }
    SheetBuilder builder(file, options);
    SheetJson sheet = builder.Build();
    const std::vector<SheetPicture>& pictures = builder.pictures();
    if (sheet.size.width == 0 || sheet.size.height == 0) {
        throw CliFailure(kExitFileFailure, options.input + ": holds no frames to export");
    }
    const int width = sheet.size.width;
    const int height = sheet.size.height;
    if (width * options.scale > kLargestSide || height * options.scale > kLargestSide ||
        static_cast<std::uint64_t>(width) * height * options.scale * options.scale >
            kLargestSheet) {
        throw CliFailure(kExitUsage, options.input + ": the sheet would be " +
                                         std::to_string(width * options.scale) + " x " +
                                         std::to_string(height * options.scale) +
                                         " pixels, too large for one picture");
    }
    std::vector<Pixel555> pixels;
    std::vector<std::uint8_t> alpha;
    ComposeSheet(pictures, sheet.size, pixels, alpha);

    const std::size_t frameCount = sheet.frames.size();
    const std::size_t tagCount = sheet.tags.size();
    const Json json = {{"frames", std::move(sheet.frames)},
                       {"meta",
                        {{"app", "fenwold-cli"},
                         {"version", FENWOLD_VERSION},
                         {"image", pngPath.filename().string()},
                         {"format", "RGBA8888"},
                         {"size", {{"w", width * options.scale}, {"h", height * options.scale}}},
                         {"scale", std::to_string(options.scale)},
                         {"frameTags", std::move(sheet.tags)},
                         {"slices", std::move(sheet.slices)},
                         {"fenwold", std::move(sheet.fenwold)}}}};
    try {
        // The two files are one result, saved together.
        const auto png = EncodePng(pngPath, pixels, alpha, width, height, options.scale);
        const std::string text = DumpJson(json, 1) + '\n';
        const std::array<FileToSave, 2> files{
            FileToSave{pngPath, png},
            FileToSave{jsonPath,
                       std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())}};
        SaveFilesTogether(files);
    } catch (const FileError& error) {
        throw CliFailure(kExitFileFailure, error.what());
    }
    std::cout << "wrote " << pngPath.string() << " (" << width * options.scale << " x "
              << height * options.scale << ", " << pictures.size() << " pictures) and "
              << jsonPath.string() << " (" << frameCount << " frames, " << tagCount << " tags)\n";
    return kExitOk;
}

} // namespace

void AddExportCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<ExportOptions>();
    auto* command = app.add_subcommand(
        "export", "Write a unit's or building's frames as a sprite sheet: BASE.png and BASE.json "
                  "in the shape sprite editors and sheet packers write");
    command->add_option("FILE", options->input, "a .UTD, .UPT or .BPT file")->required();
    command->add_option("-o,--output", options->output, "BASE of BASE.png and BASE.json")
        ->required();
    command->add_option("--team", options->team, "draw team pixels from team colour table T")
        ->check(CLI::Range(0, 9));
    command->add_option("--scale", options->scale, "enlarge by a whole factor")
        ->check(CLI::Range(1, 16));
    command->add_flag("--trim", options->trim,
                      "keep only each frame's box of visible pixels on the sheet");
    command->callback(
        [&context, options] { context.run = [options] { return Export(*options); }; });
}

} // namespace fenwold::cli
