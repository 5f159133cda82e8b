#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/FileLoading.h"
#include "cli/OutputFiles.h"
#include "cli/PngFile.h"
#include "image/PreviewDrawing.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "vq/DrawCompressedFrame.h"

#include <iostream>

namespace fenwold::cli {
namespace {

// The width the unit view's layout wraps at when a whole unit is drawn as a sheet.
constexpr int kSheetWidth = 640;

struct RenderOptions {
    std::string input;
    std::string output;
    int animation = 0;
    int frame = 0;
    bool sheet = false;
    int team = -1;
    int scale = 1;
    bool raw = false;
    std::string canvas;
    std::string at;
    int alpha = 255;
};

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Pixel555> pixels;
};

std::pair<int, int> ParsePair(const std::string& text, char separator, const char* what) {
    const auto split = text.find(separator);
    try {
        if (split == std::string::npos) {
            throw std::invalid_argument(text);
        }
        std::size_t used = 0;
        const int first = std::stoi(text.substr(0, split), &used);
        const std::string rest = text.substr(split + 1);
        std::size_t usedRest = 0;
        const int second = std::stoi(rest, &usedRest);
        if (used != split || usedRest != rest.size()) {
            throw std::invalid_argument(text);
        }
        return {first, second};
    } catch (const std::exception&) {
        throw CliFailure(kExitUsage, std::string(what) + " takes two whole numbers like 100" +
                                         separator + "80, not \"" + text + "\"");
    }
}

const Pixel555* TeamTable(const UnitData& data, int team) {
    return team < 0 ? nullptr : data.teamColours.tables[team].data();
}

void DrawFrameOf(const UnitData& data, const UnitAnimation& animation, const AlphaTableNode& frame,
                 Canvas& canvas, int x, int y, int team, int alpha) {
    DrawCompressedFrame({canvas.pixels.data(), canvas.width, canvas.height}, x, y, animation, frame,
                        data.codebook.Drawing(TeamTable(data, team)), alpha);
}

// Every frame laid out as the unit view lays it out.
Canvas DrawSheet(const UnitData& data, int team) {
    struct Placed {
        const UnitAnimation* animation;
        const AlphaTableNode* frame;
        int x;
        int y;
    };
    std::vector<Placed> placed;
    int x = 2, y = 2, rowHeight = 0;
    for (const auto& animation : data.animations) {
        for (const auto& frame : animation.alphaTables) {
            placed.push_back({&animation, &frame, x, y});
            rowHeight = std::max(rowHeight, static_cast<int>(animation.height));
            x += animation.width + 5;
            if (x + animation.width >= kSheetWidth) {
                y += rowHeight + 5;
                x = 2;
                rowHeight = 0;
            }
        }
    }
    Canvas canvas{kSheetWidth, std::min(y + rowHeight + 5, 32767), {}};
    canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, 0);
    for (const auto& item : placed) {
        DrawFrameOf(data, *item.animation, *item.frame, canvas, item.x, item.y, team, 255);
    }
    return canvas;
}

Canvas DrawOneFrame(const UnitData& data, const RenderOptions& options) {
    const UnitAnimation* animation = nullptr;
    int position = 0;
    for (const auto& candidate : data.animations) {
        if (position++ == options.animation) {
            animation = &candidate;
        }
    }
    if (animation == nullptr) {
        throw CliFailure(kExitUsage, "--anim " + std::to_string(options.animation) +
                                         ": the file has " + std::to_string(data.AnimationCount()) +
                                         " animations");
    }
    if (options.frame < 0 || options.frame >= animation->FrameCount()) {
        throw CliFailure(kExitUsage, "--frame " + std::to_string(options.frame) +
                                         ": the animation has " +
                                         std::to_string(animation->FrameCount()) + " frames");
    }
    Canvas canvas{animation->width, animation->height, {}};
    if (!options.canvas.empty()) {
        std::tie(canvas.width, canvas.height) = ParsePair(options.canvas, 'x', "--canvas");
        if (canvas.width < 1 || canvas.height < 1 || canvas.width > 16384 ||
            canvas.height > 16384) {
            throw CliFailure(kExitUsage, "--canvas must be between 1x1 and 16384x16384");
        }
    }
    int x = 0, y = 0;
    if (!options.at.empty()) {
        std::tie(x, y) = ParsePair(options.at, ',', "--at");
    }
    canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, 0);
    DrawFrameOf(data, *animation, animation->alphaTables[options.frame], canvas, x, y, options.team,
                options.alpha);
    return canvas;
}

// The building picture with its team-coloured pixels drawn from a table, as the building views
// show it.
Canvas DrawBuilding(const BuildingFileContent& building, int team) {
    const BuildingRecord& record = building.record;
    Canvas canvas{record.width, record.height, record.picture};
    DrawIndexedImage(canvas.width, canvas.height, 0, 0, record.width, record.height, canvas.pixels,
                     record.teamIndex, record.teamMask,
                     building.animations.teamColours.tables[std::max(team, 0)]);
    return canvas;
}

int Render(const RenderOptions& options, CommandContext& context) {
    RefuseOverwritingInputs({options.output}, {options.input});
    context.subject = options.input;
    const LoadedFile file = LoadAnyFile(options.input);
    Canvas canvas;
    if (file.building) {
        canvas = DrawBuilding(*file.building, options.team);
    } else if (file.unit) {
        canvas =
            options.sheet ? DrawSheet(*file.unit, options.team) : DrawOneFrame(*file.unit, options);
    } else {
        throw CliFailure(kExitUsage, options.input + ": only unit and building files are drawn");
    }
    context.subject = options.output;
    // Where the picture goes to the standard output, the summary must not go there too.
    std::ostream& summary = GoesToStandardOutput(options.output) ? std::cerr : std::cout;
    try {
        if (options.raw) {
            BinaryWriter out;
            out.write(canvas.pixels);
            WriteOutput(options.output, out.buffer());
        } else {
            WritePng(options.output, canvas.pixels, canvas.width, canvas.height, options.scale);
        }
    } catch (const FileError& error) {
        throw CliFailure(kExitFileFailure, error.what());
    }
    summary << "wrote " << options.output << " (" << canvas.width * options.scale << " x "
            << canvas.height * options.scale << ")\n";
    return kExitOk;
}

} // namespace

void AddRenderCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<RenderOptions>();
    auto* command = app.add_subcommand(
        "render", "Draw compressed frames of a unit, or a building picture with its team colours");
    command->add_option("FILE", options->input, "a .UTD, .UPT or .BPT file")
        ->required()
        ->check(NonEmpty());
    command
        ->add_option("-o,--output", options->output,
                     "the PNG (or raw) file to write; - for the standard output")
        ->required()
        ->check(NonEmpty());
    command->add_option("--anim", options->animation, "the animation to draw (from 0)");
    command->add_option("--frame", options->frame, "the frame of that animation (from 0)");
    command->add_flag("--sheet", options->sheet, "every frame, laid out as the unit view does");
    command->add_option("--team", options->team, "draw team pixels from team colour table T")
        ->check(CLI::Range(0, 9));
    command->add_option("--scale", options->scale, "enlarge by a whole factor")
        ->check(CLI::Range(1, 16));
    command->add_flag("--raw", options->raw, "write the little-endian Pixel555 buffer, no PNG");
    auto* canvas =
        command->add_option("--canvas", options->canvas, "draw into a zero-filled canvas of WxH")
            ->check(NonEmpty());
    command->add_option("--at", options->at, "where the frame's top-left goes in the canvas: X,Y")
        ->check(NonEmpty())
        ->needs(canvas);
    command->add_option("--alpha", options->alpha, "overall alpha value 0-255")
        ->check(CLI::Range(0, 255));
    command->callback([&context, options] {
        context.run = [&context, options] { return Render(*options, context); };
    });
}

} // namespace fenwold::cli
