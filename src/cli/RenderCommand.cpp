#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/FileLoading.h"
#include "cli/OutputFiles.h"
#include "cli/PngFile.h"
#include "cli/RenderReview.h"
#include "image/PreviewDrawing.h"
#include "platform/BinaryWriter.h"
#include "platform/FileError.h"
#include "vq/DrawCompressedFrame.h"

#include <algorithm>
#include <iostream>
#include <limits>
#include <optional>

namespace fenwold::cli {
namespace {

struct RenderOptions {
    std::string input;
    std::string output;
    int animation = 0;
    // A unit's frame (0 when not given); on a building, the frame its animations are drawn at.
    std::optional<int> frame;
    bool sheet = false;
    int team = -1;
    int scale = 1;
    bool raw = false;
    std::string canvas;
    std::string at;
    int alpha = 255;
    bool diff = false;
    bool usage = false;
    bool animate = false;
    int amplify = 4;
    int loops = 1;
    std::vector<std::string> sources;
    std::vector<std::string> sourceGroups;
};

// What is drawn: a picture in working pixels.
using Canvas = ReviewPicture;

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
    };
    std::vector<Placed> placed;
    std::vector<std::pair<int, int>> sizes;
    for (const auto& animation : data.animations) {
        for (const auto& frame : animation.alphaTables) {
            placed.push_back({&animation, &frame});
            sizes.emplace_back(animation.width, animation.height);
        }
    }
    const SheetLayout layout = LayOutSheet(sizes);
    Canvas canvas{kSheetWidth, layout.height, {}};
    canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, 0);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        DrawFrameOf(data, *placed[i].animation, *placed[i].frame, canvas, layout.places[i].first,
                    layout.places[i].second, team, 255);
    }
    return canvas;
}

Canvas DrawOneFrame(const UnitData& data, const RenderOptions& options) {
    const UnitAnimation* animation = &AnimationAt(data, options.animation);
    const int frame = options.frame.value_or(0);
    CheckFrame(*animation, frame);
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
    DrawFrameOf(data, *animation, animation->alphaTables[frame], canvas, x, y, options.team,
                options.alpha);
    return canvas;
}

// The building picture with its team-coloured pixels drawn from a table, as the building views
// show it; with a frame, every animation over it at its position, at that frame modulo its
// length, drawn with the same table.
Canvas DrawBuilding(const BuildingFileContent& building, int team, std::optional<int> frame) {
    const BuildingRecord& record = building.record;
    const UnitData& data = building.animations;
    const int table = std::max(team, 0);
    Canvas canvas{record.width, record.height, record.picture};
    DrawIndexedImage(canvas.width, canvas.height, 0, 0, record.width, record.height, canvas.pixels,
                     record.teamIndex, record.teamMask, data.teamColours.tables[table]);
    if (!frame) {
        return canvas;
    }
    std::size_t n = 0;
    for (const UnitAnimation& animation : data.animations) {
        const auto& [x, y] = record.animationPositions[n++];
        if (!animation.alphaTables.empty()) {
            const auto length = static_cast<int>(animation.alphaTables.size());
            DrawFrameOf(data, animation, animation.alphaTables[*frame % length], canvas, x, y,
                        table, 255);
        }
    }
    return canvas;
}

// The review pictures, which need compressed animations (a unit's or a building's).
Canvas DrawReview(const UnitData& data, const RenderOptions& options, ConsolePlatform& console,
                  std::ostream& summary) {
    const FrameChoice choice{options.animation, options.frame.value_or(0), options.sheet};
    if (options.usage) {
        return DrawUsage(data, choice, options.team, summary);
    }
    const std::list<RegisteredAnimation> sources =
        LoadSources(options.sourceGroups, options.sources, console);
    return DrawDifferences(data, sources, choice, options.amplify, summary);
}

int Render(const RenderOptions& options, CommandContext& context) {
    std::vector<std::filesystem::path> inputs = {options.input};
    inputs.insert(inputs.end(), options.sources.begin(), options.sources.end());
    RefuseOverwritingInputs({options.output}, inputs);
    if (options.diff && options.sources.empty() && options.sourceGroups.empty()) {
        throw CliFailure(kExitUsage, "--diff needs the registered series: --source or "
                                     "--source-group, as the unit was compressed from");
    }
    context.subject = options.input;
    const LoadedFile file = LoadAnyFile(options.input);
    const bool review = options.diff || options.usage || options.animate;
    // A building's animations are drawn as a unit's are, but for its picture.
    const UnitData* animations = file.unit       ? &*file.unit
                                 : file.building ? &file.building->animations
                                                 : nullptr;
    if ((review || options.sheet) && !animations) {
        throw CliFailure(kExitUsage, options.input + ": --sheet, --diff, --usage and --animate "
                                                     "draw the animations of units and buildings");
    }
    // Where the picture goes to the standard output, the summary must not go there too.
    std::ostream& summary = GoesToStandardOutput(options.output) ? std::cerr : std::cout;
    ConsolePlatform console(context.quiet);
    std::vector<std::uint8_t> animated;
    Canvas canvas;
    if (options.animate) {
        animated = AnimateWebp(*animations, options.animation, options.team, options.loops,
                               options.scale, options.output, summary);
    } else if (review) {
        canvas = DrawReview(*animations, options, console, summary);
    } else if (options.sheet) {
        canvas = DrawSheet(*animations, options.team);
    } else if (file.building) {
        canvas = DrawBuilding(*file.building, options.team, options.frame);
    } else if (file.unit) {
        canvas = DrawOneFrame(*file.unit, options);
    } else {
        throw CliFailure(kExitUsage, options.input + ": only unit and building files are drawn");
    }
    context.subject = options.output;
    try {
        if (options.animate) {
            WriteOutput(options.output, animated);
            summary << "wrote " << options.output << '\n';
            return kExitOk;
        }
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
        "render", "Draw compressed frames of a unit, or a building picture with its team colours "
                  "and its animations");
    command->add_option("FILE", options->input, "a .UTD, .UPT or .BPT file")
        ->required()
        ->check(NonEmpty());
    command
        ->add_option("-o,--output", options->output,
                     "the PNG (or raw) file to write; - for the standard output")
        ->required()
        ->check(NonEmpty());
    command->add_option("--anim", options->animation, "the animation to draw (from 0)");
    command
        ->add_option("--frame", options->frame,
                     "the frame of that animation (from 0); on a building, draw every animation "
                     "at its position, at frame N modulo its length")
        ->check(CLI::Range(0, std::numeric_limits<int>::max()));
    command->add_flag("--sheet", options->sheet, "every frame, laid out as the unit view does");
    command->add_option("--team", options->team, "draw team pixels from team colour table T")
        ->check(CLI::Range(0, 9));
    command->add_option("--scale", options->scale, "enlarge by a whole factor")
        ->check(CLI::Range(1, 16));
    auto* raw =
        command->add_flag("--raw", options->raw, "write the little-endian Pixel555 buffer, no PNG");
    auto* canvas =
        command->add_option("--canvas", options->canvas, "draw into a zero-filled canvas of WxH")
            ->check(NonEmpty());
    command->add_option("--at", options->at, "where the frame's top-left goes in the canvas: X,Y")
        ->check(NonEmpty())
        ->needs(canvas);
    command->add_option("--alpha", options->alpha, "overall alpha value 0-255")
        ->check(CLI::Range(0, 255));
    auto* diff = command->add_flag(
        "--diff", options->diff,
        "the registered frame, the compressed frame and their amplified difference side by side");
    command
        ->add_option("--source", options->sources,
                     "for --diff: a .URE file, or a series as compress takes it")
        ->check(NonEmpty());
    command
        ->add_option("--source-group", options->sourceGroups,
                     "for --diff: a group as compress --group takes it")
        ->check(NonEmpty());
    command->add_option("--amplify", options->amplify, "how much --diff enlarges differences")
        ->check(CLI::Range(1, 31));
    auto* usage = command->add_flag(
        "--usage", options->usage,
        "codebook entries ordered by use, and how rare each block's entry is in the frame(s)");
    auto* animate = command->add_flag(
        "--animate", options->animate,
        "the animation (--anim) as an animated WebP, played as the player plays it");
    command
        ->add_option("--loops", options->loops,
                     "for --animate: how often the entries from the loop start repeat in the file")
        ->check(CLI::Range(1, 100));
    raw->excludes(diff)->excludes(usage)->excludes(animate);
    diff->excludes(usage)->excludes(animate);
    usage->excludes(animate);
    command->callback([&context, options] {
        context.run = [&context, options] { return Render(*options, context); };
    });
}

} // namespace fenwold::cli
