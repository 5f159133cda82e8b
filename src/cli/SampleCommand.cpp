#include "cli/Commands.h"
#include "cli/Console.h"
#include "image/SampleArt.h"
#include "platform/FileError.h"
#include "teamcolour/TeamColourFile.h"
#include "teamcolour/TeamColourGradient.h"

#include <iostream>
#include <sstream>

namespace fenwold::cli {
namespace {

// Ten team colours from black through a strong colour to white, as an artist would set them up
// in the team colour dialog.
TeamColours SampleTeamColours() {
    constexpr KeyColour kMiddles[kTeamColourTableCount] = {
        {200, 24, 24},  {24, 64, 216},  {24, 160, 40},  {224, 200, 24},  {136, 40, 184},
        {232, 120, 16}, {16, 176, 184}, {216, 96, 160}, {120, 120, 120}, {96, 64, 32}};
    TeamColours colours;
    for (int t = 0; t < kTeamColourTableCount; ++t) {
        RegenerateTable(colours.tables[t], colours.selection[t], {0, 0, 0}, kMiddles[t],
                        {255, 255, 255});
    }
    return colours;
}

} // namespace

void AddSampleCommand(CLI::App& app, CommandContext& context) {
    struct Options {
        std::string folder;
        SampleOptions sample;
        std::string size = "96x96";
    };
    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand(
        "sample",
        "Write a deterministic sample unit (picture and mask series), building and team colours");
    command->add_option("DIR", options->folder, "the folder to write into")
        ->required()
        ->check(NonEmpty());
    command->add_option("--animations", options->sample.animations, "number of animations")
        ->check(CLI::Range(1, 200));
    command->add_option("--frames", options->sample.frames, "frames per animation")
        ->check(CLI::Range(1, 200));
    command->add_option("--size", options->size, "frame size WxH (2 to 1024 each)");
    command->add_option("--seed", options->sample.seed, "seed of the drawing")->check(SeedNumber());
    command->callback([&context, options] {
        context.run = [options] {
            int width = 0, height = 0;
            char x = 0;
            std::istringstream text(options->size);
            if (!(text >> width >> x >> height) || x != 'x' || !text.eof() || width < 2 ||
                height < 2 || width > 1024 || height > 1024) {
                throw CliFailure(kExitUsage, "--size takes WxH with 2 to 1024 each, not \"" +
                                                 options->size + "\"");
            }
            options->sample.width = width;
            options->sample.height = height;
            try {
                const SampleSet set = WriteSampleSet(options->folder, options->sample);
                for (std::size_t a = 0; a < set.firstPictures.size(); ++a) {
                    std::cout << "animation " << a << ": " << set.animationFolders[a].string()
                              << " (masks " << set.maskFolders[a].string() << ")\n";
                }
                std::cout << "building: " << set.building.string() << " (mask "
                          << set.buildingMask.string() << ")\n";
                const auto colours = std::filesystem::path(options->folder) / "teamcolours.UTC";
                WriteTeamColourFile(colours, SampleTeamColours());
                std::cout << "team colours: " << colours.string() << "\n";
            } catch (const FileError& error) {
                throw CliFailure(kExitFileFailure, error.what());
            }
            return kExitOk;
        };
    });
}

} // namespace fenwold::cli
