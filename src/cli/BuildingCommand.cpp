#include "building/CFenwoldDoc.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/OutputFiles.h"
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
};

int BuildBuilding(const BuildingOptions& options, CommandContext& context) {
    RefuseStandardOutput(options.output);
    const std::string base = CutAtFirstDot(options.output).string();
    const std::vector<std::filesystem::path> outputs{base + ".BPT", base + "6.BPT"};
    std::vector<std::filesystem::path> inputs{options.picture};
    if (!options.mask.empty()) {
        inputs.emplace_back(options.mask);
    }
    if (!options.teamColours.empty()) {
        inputs.emplace_back(options.teamColours);
    }
    // The save replaces a file whose name differs only in case, as the desktop's does.
    RefuseOverwritingInputs({ResolveExisting(outputs[0]), ResolveExisting(outputs[1])}, inputs);

    if (options.mask.empty()) {
        throw CliFailure(kExitUsage, "a building is saved only with its team mask: give --mask");
    }

    ConsolePlatform console(context.quiet);
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
    context.subject = outputs[0].string();
    const int before = console.prompts.messagesShown();
    console.prompts.answerSaveWith(std::filesystem::absolute(base + ".bpt"));
    document.SaveAs();
    if (console.prompts.messagesShown() != before || document.IsModified()) {
        throw CliFailure(kExitFileFailure, "the building could not be saved (see above)");
    }
    const BuildingRecord& record = *document.Record();
    std::cout << "wrote " << outputs[0].string() << " and " << outputs[1].string() << " ("
              << record.tileColumns << " x " << record.tileRows << " tiles)\n";
    return kExitOk;
}

} // namespace

void AddBuildingCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<BuildingOptions>();
    auto* command = app.add_subcommand(
        "building", "Import a building picture and its team mask and save BASE.BPT and "
                    "BASE6.BPT");
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
    command->callback([&context, options] {
        context.run = [&context, options] { return BuildBuilding(*options, context); };
    });
}

} // namespace fenwold::cli
