#include "building/CFenwoldDoc.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Registration.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
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

int BuildBuilding(const BuildingOptions& options, bool quiet) {
    const std::string base = CutAtFirstDot(options.output).string();
    const std::vector<std::filesystem::path> outputs{base + ".BPT", base + "6.BPT"};
    std::vector<std::filesystem::path> inputs{options.picture};
    if (!options.mask.empty()) {
        inputs.emplace_back(options.mask);
    }
    if (!options.teamColours.empty()) {
        inputs.emplace_back(options.teamColours);
    }
    RefuseOverwritingInputs(outputs, inputs);

    ConsolePlatform console(quiet);
    CFenwoldDoc document(console.Get());
    if (!document.ImportPicture(std::filesystem::absolute(options.picture))) {
        throw CliFailure(kExitFileFailure, options.picture + ": no building picture (see above)");
    }
    if (options.mask.empty()) {
        throw CliFailure(kExitUsage, "a building is saved only with its team mask: give --mask");
    }
    if (!document.ImportMask(std::filesystem::absolute(options.mask))) {
        throw CliFailure(kExitFileFailure, options.mask + ": the mask could not be read");
    }
    // As the building team colour dialog does when it opens.
    ComputeTeamIndices(*document.Record());
    if (!options.teamColours.empty()) {
        try {
            document.Colours() = ReadTeamColourFile(options.teamColours);
        } catch (const FileError& error) {
            throw CliFailure(kExitFileFailure, error.what());
        }
    }
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
    command->add_option("-o,--output", options->output, "BASE of the files to write")->required();
    command->add_option("PICTURE", options->picture, "the building's Targa picture")->required();
    command->add_option("--mask", options->mask, "the team mask picture (needed to save)");
    command->add_option("--team-colours", options->teamColours,
                        "a .UTC file with the team colour selection and tables");
    command->callback([&context, options] {
        context.run = [&context, options] { return BuildBuilding(*options, context.quiet); };
    });
}

} // namespace fenwold::cli
