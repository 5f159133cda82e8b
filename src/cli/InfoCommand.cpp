#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/FileLoading.h"
#include "cli/Json.h"

#include <iostream>

namespace fenwold::cli {
namespace {

Json DescribeAnimations(const UnitData& data) {
    Json animations = Json::array();
    for (const auto& animation : data.animations) {
        std::size_t bytes = 0;
        for (const auto& table : animation.indexTables) {
            bytes += table.bytes.size();
        }
        for (const auto& table : animation.alphaTables) {
            bytes += table.bytes.size();
        }
        const auto n = static_cast<std::size_t>(animation.sequenceLength);
        animations.push_back({
            {"width", animation.width},
            {"height", animation.height},
            {"frames", animation.FrameCount()},
            {"index_tables", animation.IndexTableCount()},
            {"encoded_bytes", bytes},
            {"mask", animation.maskFlag != 0},
            {"group", animation.groupIndex},
            {"position_x", animation.positionX},
            {"position_y", animation.positionY},
            {"sequence_frames", NumberList(std::span(animation.frameNumber).first(n))},
            {"sequence_delays", NumberList(std::span(animation.delay).first(n))},
            {"sequence_attributes", NumberList(std::span(animation.attribute).first(n))},
            {"sequence_alpha", NumberList(std::span(animation.alphaValue).first(n))},
            {"points_x", NumberList(animation.pointX)},
            {"points_y", NumberList(animation.pointY)},
            {"check_box",
             {animation.checkBoxX, animation.checkBoxY, animation.checkBoxWidth,
              animation.checkBoxHeight}},
        });
    }
    return animations;
}

void DescribeUnitData(Json& json, const UnitData& data) {
    json["animation_count"] = data.AnimationCount();
    json["frame_count"] = data.TotalFrameCount();
    json["codebook_size"] = data.codebook.Size();
    json["codebook_block_flag"] = data.codebook.blockFlag;
    json["group_count"] = data.GroupCount();
    Json groups = Json::array();
    for (const auto& group : data.groups) {
        groups.push_back({{"members", group.MemberCount()}});
    }
    json["groups"] = std::move(groups);
    json["team_colour_middles"] = NumberList(std::span(data.teamColours.selection).first(10));
    json["animations"] = DescribeAnimations(data);
}

std::string Describe(const std::filesystem::path& path, const LoadedFile& file) {
    Json json = {{"file", path.string()}, {"kind", KindName(file.kind)}};
    if (file.kind != FileKind::TeamColours && file.kind != FileKind::Targa) {
        json["version"] = file.version;
    }
    if (file.unit) {
        DescribeUnitData(json, *file.unit);
    }
    if (file.building) {
        const BuildingRecord& record = file.building->record;
        json["tile_columns"] = record.tileColumns;
        json["tile_rows"] = record.tileRows;
        json["width"] = record.width;
        json["height"] = record.height;
        json["area"] = NumberList(record.area);
        json["root_of_float"] = record.rootOfFloat;
        DescribeUnitData(json, file.building->animations);
    }
    if (file.kind == FileKind::RunLength) {
        json["animation_count"] = file.registered.size();
        Json animations = Json::array();
        for (const auto& animation : file.registered) {
            animations.push_back({{"width", animation.width},
                                  {"height", animation.height},
                                  {"frames", animation.frames.size()},
                                  {"sequence_length", animation.sequenceLength}});
        }
        json["animations"] = std::move(animations);
    }
    if (file.kind == FileKind::OriginInfo) {
        json["animation_count"] = file.originAnimations;
        json["group_count"] = file.originGroups;
    }
    if (file.colours) {
        json["team_colour_middles"] = NumberList(std::span(file.colours->selection).first(10));
    }
    if (file.kind == FileKind::Targa) {
        json["width"] = file.pictureWidth;
        json["height"] = file.pictureHeight;
    }
    return DumpJson(json);
}

void PrintText(const std::filesystem::path& path, const LoadedFile& file) {
    std::cout << path.string() << ": " << KindName(file.kind);
    if (file.kind != FileKind::TeamColours && file.kind != FileKind::Targa) {
        std::cout << ", version " << file.version;
    }
    std::cout << '\n';
    const auto printUnit = [](const UnitData& data) {
        std::cout << "  animations " << data.AnimationCount() << ", frames "
                  << data.TotalFrameCount() << ", groups " << data.GroupCount() << ", codebook "
                  << data.codebook.Size() << " entries of " << data.codebook.PixelsPerEntry()
                  << " pixels\n";
        int position = 0;
        for (const auto& animation : data.animations) {
            std::cout << "  animation " << position++ << ": " << animation.width << " x "
                      << animation.height << ", " << animation.FrameCount() << " frames, sequence "
                      << animation.sequenceLength << ", mask " << animation.maskFlag << ", group "
                      << animation.groupIndex << ", origin (" << animation.pointX[0] << ", "
                      << animation.pointY[0] << "), check box " << animation.checkBoxX << ","
                      << animation.checkBoxY << " " << animation.checkBoxWidth << "x"
                      << animation.checkBoxHeight << '\n';
        }
    };
    if (file.unit) {
        printUnit(*file.unit);
    }
    if (file.building) {
        const BuildingRecord& record = file.building->record;
        std::cout << "  " << record.tileColumns << " x " << record.tileRows << " tiles ("
                  << record.width << " x " << record.height << " pixels), root of float "
                  << record.rootOfFloat << '\n';
        printUnit(file.building->animations);
    }
    if (file.kind == FileKind::RunLength) {
        std::cout << "  animations " << file.registered.size() << '\n';
        for (const auto& animation : file.registered) {
            std::cout << "  animation " << animation.index << ": " << animation.width << " x "
                      << animation.height << ", " << animation.frames.size() << " frames\n";
        }
    }
    if (file.kind == FileKind::OriginInfo) {
        std::cout << "  animations " << file.originAnimations << ", groups " << file.originGroups
                  << '\n';
    }
    if (file.kind == FileKind::Targa) {
        std::cout << "  " << file.pictureWidth << " x " << file.pictureHeight << " pixels\n";
    }
}

} // namespace

void AddInfoCommand(CLI::App& app, CommandContext& context) {
    auto* command = app.add_subcommand("info", "Show what a file of the tool holds, after checking "
                                               "it as opening it would");
    auto file = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    command->add_option("FILE", *file, "a .UTD, .UPT, .URE, .OID, .BPT, .UTC or .TGA file")
        ->required()
        ->check(NonEmpty());
    command->add_flag("--json", *json, "print a machine-readable summary");
    command->callback([&context, file, json] {
        context.run = [&context, file, json] {
            context.subject = *file;
            const LoadedFile loaded = LoadAnyFile(*file);
            if (loaded.trailingBytes > 0) {
                std::cerr << "fenwold-cli: warning: " << *file << ": " << loaded.trailingBytes
                          << " bytes after the end of its data are ignored\n";
            }
            if (*json) {
                std::cout << Describe(*file, loaded) << '\n';
            } else {
                PrintText(*file, loaded);
            }
            return kExitOk;
        };
    });
}

} // namespace fenwold::cli
