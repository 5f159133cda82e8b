#include "building/CFenwoldDoc.h"
#include "cli/Commands.h"
#include "cli/CompressCommand.h"
#include "cli/Console.h"
#include "cli/OutputFiles.h"
#include "cli/Registration.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/WorkingFolder.h"
#include "teamcolour/TeamColourFile.h"

#include <iostream>

namespace fenwold::cli {
namespace {

struct BuildingOptions {
    std::string output;
    std::string picture;
    std::string mask;
    std::string teamColours;
    std::vector<std::string> animations;
    std::vector<std::string> positions;
    CompressionOptions compression;
};

// Where each animation goes on the picture, in the order the animations were given.
std::vector<std::pair<int, int>> PositionsOf(const BuildingOptions& options) {
    if (options.animations.size() > static_cast<std::size_t>(kMaxBuildingAnimations)) {
        throw CliFailure(kExitUsage, "a building holds at most " +
                                         std::to_string(kMaxBuildingAnimations) + " animations; " +
                                         std::to_string(options.animations.size()) + " were given");
    }
    if (options.positions.size() != options.animations.size()) {
        throw CliFailure(kExitUsage, "give one --position X,Y for each --animation, in the same "
                                     "order: " +
                                         std::to_string(options.animations.size()) +
                                         " animations, " +
                                         std::to_string(options.positions.size()) + " positions");
    }
    std::vector<std::pair<int, int>> positions;
    for (const auto& text : options.positions) {
        positions.push_back(ParsePair(text, ',', "--position"));
    }
    return positions;
}

int BuildBuilding(const BuildingOptions& options, CommandContext& context) {
    RefuseStandardOutput(options.output);
    if (options.mask.empty()) {
        throw CliFailure(kExitUsage, "a building is saved only with its team mask: give --mask");
    }
    const std::vector<std::pair<int, int>> positions = PositionsOf(options);
    const std::string base = CutAtFirstDot(options.output).string();
    const std::vector<std::filesystem::path> outputs{base + ".BPT", base + "6.BPT"};
    std::vector<std::filesystem::path> inputs{options.picture, options.mask};
    if (!options.teamColours.empty()) {
        inputs.emplace_back(options.teamColours);
    }
    ConsolePlatform console(context.quiet);
    // The building's animations, registered as the registration view registers them.
    const Registration registration = RegisterSeries({}, options.animations, console);
    inputs.insert(inputs.end(), registration.inputs.begin(), registration.inputs.end());
    // The save replaces a file whose name differs only in case, as the desktop's does.
    RefuseOverwritingInputs({ResolveExisting(outputs[0]), ResolveExisting(outputs[1])}, inputs);

    CFenwoldDoc document(console.Get());
    context.subject = options.picture;
    // Every problem with a picture was told above; a batch run stops at any of them, also at
    // a picture that was used as read though it ended early.
    if (!document.ImportPicture(std::filesystem::absolute(options.picture)) ||
        console.prompts.messagesShown() != 0) {
        throw CliFailure(kExitFileFailure, options.picture + ": no building was made (see above)");
    }
    context.subject = options.mask;
    if (!document.ImportMask(std::filesystem::absolute(options.mask)) ||
        console.prompts.messagesShown() != 0) {
        throw CliFailure(kExitFileFailure, options.mask + ": the mask was not used (see above)");
    }
    if (!options.teamColours.empty()) {
        try {
            document.Colours() = ReadTeamColourFile(options.teamColours);
        } catch (const FileError& error) {
            throw CliFailure(kExitFileFailure, error.what());
        }
    }
    if (!registration.animations.empty()) {
        context.subject = options.output;
        if (!CompressInto(document, "building", registration.animations, options.compression,
                          console)) {
            throw CliFailure(kExitFileFailure, "the compression did not finish (see above)");
        }
        // Pair n belongs to the n-th animation, as the position view places them.
        for (std::size_t n = 0; n < positions.size(); ++n) {
            document.Record()->animationPositions[n] = {positions[n].first, positions[n].second};
        }
    }
    context.subject = outputs[0].string();
    const int before = console.prompts.messagesShown();
    console.prompts.answerSaveWith(std::filesystem::absolute(base + ".bpt"));
    document.SaveAs();
    if (console.prompts.messagesShown() != before || document.IsModified()) {
        throw CliFailure(kExitFileFailure, "the building could not be saved (see above)");
    }
    const BuildingRecord& record = *document.Record();
    const UnitData& animations = document.Animations();
    std::cout << "wrote " << outputs[0].string() << " and " << outputs[1].string() << " ("
              << record.tileColumns << " x " << record.tileRows << " tiles, "
              << animations.AnimationCount() << " animations, " << animations.TotalFrameCount()
              << " frames, codebook " << animations.codebook.Size() << " entries)\n";
    return kExitOk;
}

} // namespace

void AddBuildingCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<BuildingOptions>();
    auto* command = app.add_subcommand(
        "building", "Import a building picture and its team mask, register and compress its "
                    "animations, place them, and save BASE.BPT and BASE6.BPT");
    command->add_option("-o,--output", options->output, "BASE of the files to write")
        ->required()
        ->check(NonEmpty());
    command->add_option("PICTURE", options->picture, "the building's Targa picture")
        ->required()
        ->check(NonEmpty());
    command->add_option("--mask", options->mask, "the team mask picture (needed to save)")
        ->check(NonEmpty());
    command
        ->add_option("--team-colours", options->teamColours,
                     "a .UTC file with the team colour selection and tables")
        ->check(NonEmpty());
    command
        ->add_option("--animation", options->animations,
                     "an animation of the building: FIRST.tga[,FIRST_MASK.tga] or "
                     "FOLDER[,MASK_FOLDER], as compress takes a series; repeat for more")
        ->allow_extra_args(false)
        ->check(NonEmpty());
    command
        ->add_option("--position", options->positions,
                     "X,Y: where an animation's top-left corner goes on the picture, in pixels; "
                     "one for each --animation, in order")
        ->allow_extra_args(false)
        ->check(NonEmpty());
    AddCompressionOptions(*command, options->compression);
    command->callback([&context, options] {
        context.run = [&context, options] { return BuildBuilding(*options, context); };
    });
}

} // namespace fenwold::cli
