#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/FileLoading.h"
#include "cli/Json.h"

#include <iostream>

namespace fenwold::cli {
namespace {

void DescribeAnimations(JsonWriter& json, const UnitData& data) {
    json.BeginArray("animations");
    for (const auto& animation : data.animations) {
        std::size_t bytes = 0;
        for (const auto& table : animation.indexTables) {
            bytes += table.bytes.size();
        }
        for (const auto& table : animation.alphaTables) {
            bytes += table.bytes.size();
        }
        const auto n = static_cast<std::size_t>(animation.sequenceLength);
        json.BeginObject()
            .Value("width", animation.width)
            .Value("height", animation.height)
            .Value("frames", animation.FrameCount())
            .Value("index_tables", animation.IndexTableCount())
            .Value("encoded_bytes", static_cast<std::int64_t>(bytes))
            .Value("mask", animation.maskFlag != 0)
            .Value("group", animation.groupIndex)
            .Value("position_x", animation.positionX)
            .Value("position_y", animation.positionY)
            .Numbers("sequence_frames", std::span(animation.frameNumber).first(n))
            .Numbers("sequence_delays", std::span(animation.delay).first(n))
            .Numbers("sequence_attributes", std::span(animation.attribute).first(n))
            .Numbers("sequence_alpha", std::span(animation.alphaValue).first(n))
            .Numbers("points_x", animation.pointX)
            .Numbers("points_y", animation.pointY)
            .Numbers("check_box",
                     std::array<int, 4>{animation.checkBoxX, animation.checkBoxY,
                                        animation.checkBoxWidth, animation.checkBoxHeight})
            .EndObject();
    }
    json.EndArray();
}

void DescribeUnitData(JsonWriter& json, const UnitData& data) {
    json.Value("animation_count", data.AnimationCount())
        .Value("frame_count", data.TotalFrameCount())
        .Value("codebook_size", data.codebook.Size())
        .Value("codebook_block_flag", data.codebook.blockFlag)
        .Value("group_count", data.GroupCount());
    json.BeginArray("groups");
    for (const auto& group : data.groups) {
        json.BeginObject().Value("members", group.MemberCount()).EndObject();
    }
    json.EndArray();
    json.Numbers("team_colour_middles", std::span(data.teamColours.selection).first(10));
    DescribeAnimations(json, data);
}

std::string Describe(const std::filesystem::path& path, const LoadedFile& file) {
    JsonWriter json;
    json.BeginObject().Value("file", path.string()).Value("kind", KindName(file.kind));
    if (file.kind != FileKind::TeamColours && file.kind != FileKind::Targa) {
        json.Value("version", static_cast<std::int64_t>(file.version));
    }
    if (file.unit) {
        DescribeUnitData(json, *file.unit);
    }
    if (file.building) {
        const BuildingRecord& record = file.building->record;
        json.Value("tile_columns", record.tileColumns)
            .Value("tile_rows", record.tileRows)
            .Value("width", record.width)
            .Value("height", record.height)
            .Numbers("area", record.area)
            .Value("root_of_float", record.rootOfFloat);
        DescribeUnitData(json, file.building->animations);
    }
    if (file.kind == FileKind::RunLength) {
        json.Value("animation_count", static_cast<std::int64_t>(file.registered.size()));
        json.BeginArray("animations");
        for (const auto& animation : file.registered) {
            json.BeginObject()
                .Value("width", animation.width)
                .Value("height", animation.height)
                .Value("frames", static_cast<std::int64_t>(animation.frames.size()))
                .Value("sequence_length", animation.sequenceLength)
                .EndObject();
        }
        json.EndArray();
    }
    if (file.kind == FileKind::OriginInfo) {
        json.Value("animation_count", file.originAnimations)
            .Value("group_count", file.originGroups);
    }
    if (file.colours) {
        json.Numbers("team_colour_middles", std::span(file.colours->selection).first(10));
    }
    if (file.kind == FileKind::Targa) {
        json.Value("width", file.pictureWidth).Value("height", file.pictureHeight);
    }
    return json.EndObject().text();
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
