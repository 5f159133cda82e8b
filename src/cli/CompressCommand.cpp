#include "cli/CompressCommand.h"

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Json.h"
#include "cli/OutputFiles.h"
#include "cli/QualityReport.h"
#include "cli/Registration.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "teamcolour/TeamColourFile.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"
#include "vq/CompressionRun.h"
#include "vq/Weights.h"

#include <chrono>
#include <iostream>
#include <sstream>

namespace fenwold::cli {
namespace {

struct CompressOptions {
    std::string output;
    CompressionOptions compression;
    bool json = false;
    std::optional<double> minPsnr;
    std::string teamColours;
    std::vector<std::string> groups;
    std::vector<std::string> series;
};

int WeightModeOf(const std::string& name) {
    if (name == "none") {
        return kNoWeight;
    }
    if (name == "average") {
        return kAverageBrightness;
    }
    return kMaxBrightness;
}

} // namespace

CompressionParameters CompressionOptions::Parameters() const {
    CompressionParameters parameters;
    parameters.lookupTableSize = lookupTableSize;
    parameters.sampling = !noSampling;
    parameters.noLbg = noLbg;
    parameters.weightMode = WeightModeOf(weight);
    parameters.seed = seed;
    parameters.threads = threads;
    parameters.refinePasses = refine;
    return parameters;
}

void AddCompressionOptions(CLI::App& command, CompressionOptions& options) {
    command.add_option("--lookup", options.lookupTableSize, "lookup table entries (K)")
        ->check(CLI::Range(1, 65534));
    command.add_option("--weight", options.weight, "brightness weighting of the training")
        ->check(CLI::IsMember({"none", "average", "max"}));
    command.add_flag("--no-sampling", options.noSampling, "design on every training block");
    auto* noLbg =
        command.add_flag("--no-lbg", options.noLbg, "take the first distinct blocks as the table");
    command
        .add_option("--refine", options.refine,
                    "weighted Lloyd passes over every block after the design (default 0)")
        ->check(CLI::Range(0, kMaxRefinePasses))
        ->excludes(noLbg);
    command.add_option("--seed", options.seed, "seed of the sampling (default: the clock)")
        ->check(SeedNumber());
    command.add_option("--threads", options.threads, "worker threads (default: all cores)")
        ->check(CLI::Range(0, 256));
}

void TakeCompressionResult(CompressionResultSink& document, std::string_view kind,
                           CompressionResult result) {
    if (!document.AcceptCompressionResult(std::move(result))) {
        throw CliFailure(kExitFileFailure,
                         "the " + std::string(kind) +
                             " refused the compression result (see above); nothing was written");
    }
}

bool CompressInto(CompressionResultSink& document, std::string_view kind,
                  const std::list<RegisteredAnimation>& animations,
                  const CompressionOptions& options, ConsolePlatform& console) {
    const CompressionParameters parameters = options.Parameters();
    CompressionResult result;
    try {
        result = CompressAnimations(RefsTo(animations), parameters,
                                    RunSeed(parameters, console.clock), console.progress);
    } catch (const RunCancelled& refused) {
        console.progress.Finish();
        console.prompts.ShowMessage(refused.refusal, MessageButtons::Ok);
        return false;
    } catch (const std::bad_alloc&) {
        console.progress.Finish();
        console.prompts.ShowMessage(kCompressionOutOfMemory, MessageButtons::Ok);
        return false;
    }
    console.progress.Finish();
    TakeCompressionResult(document, kind, std::move(result));
    return true;
}

namespace {

int Compress(const CompressOptions& options, CommandContext& context) {
    if (options.series.empty() && options.groups.empty()) {
        throw CliFailure(kExitUsage, "compress needs at least one SERIES or --group");
    }
    RefuseStandardOutput(options.output);
    const bool quiet = context.quiet;
    const std::filesystem::path toolData = WithFixedExtension(options.output, ".UTD");
    const std::filesystem::path gameData = WithFixedExtension(options.output, ".UPT");
    ConsolePlatform console(quiet);
    std::optional<TeamColours> colours;
    if (!options.teamColours.empty()) {
        try {
            colours = ReadTeamColourFile(options.teamColours);
        } catch (const FileError& error) {
            throw CliFailure(kExitFileFailure, error.what());
        }
    }
    Registration registration = RegisterSeries(options.groups, options.series, console);
    if (colours) {
        registration.inputs.emplace_back(options.teamColours);
    }
    RefuseOverwritingInputs({toolData, gameData}, registration.inputs);

    context.subject = options.output;
    CUnitDoc document(console.Get());
    const auto start = std::chrono::steady_clock::now();
    if (!CompressInto(document, "unit", registration.animations, options.compression, console)) {
        throw CliFailure(kExitFileFailure, "the compression did not finish (see above)");
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    UnitData& data = document.Data();
    data.RebuildGroups(registration.groupMemberCounts);
    if (colours) {
        data.teamColours = *colours;
    }
    const QualityFigures quality = MeasureUnit(registration.animations, data);
    const int worst = quality.Worst();
    if (options.minPsnr && worst >= 0 &&
        quality.animations[static_cast<std::size_t>(worst)].compression.Psnr() < *options.minPsnr) {
        const auto& animation = *std::next(registration.animations.begin(), worst);
        std::ostringstream floor;
        floor << *options.minPsnr;
        throw CliFailure(
            kExitBelowFloor,
            AnimationName(animation, worst) + " is at " +
                PsnrText(quality.animations[static_cast<std::size_t>(worst)].compression) +
                ", below --min-psnr " + floor.str() + " dB: nothing was written");
    }
    try {
        // What Save As writes: the tool data and the game file of the chosen name.
        WriteToolDataWithGameData(data, true, toolData, gameData);
    } catch (const FileError& error) {
        throw CliFailure(kExitFileFailure, error.what());
    }

    if (options.json) {
        Json json = {{"tool_data", toolData.string()},
                     {"game_data", gameData.string()},
                     {"animations", data.AnimationCount()},
                     {"frames", data.TotalFrameCount()},
                     {"groups", data.GroupCount()},
                     {"codebook_size", data.codebook.Size()},
                     {"refine_passes", options.compression.refine},
                     {"seconds", Measured(seconds)}};
        AddQualityJson(json, quality);
        std::cout << DumpJson(json) << '\n';
    } else {
        std::cout << "wrote " << toolData.string() << " and " << gameData.string() << '\n'
                  << "animations " << data.AnimationCount() << ", frames " << data.TotalFrameCount()
                  << ", groups " << data.GroupCount() << ", codebook " << data.codebook.Size()
                  << " entries, " << seconds << " s\n";
        PrintQuality(std::cout, quality);
    }
    return kExitOk;
}

int WriteRunLength(const std::string& output, const std::vector<std::string>& groups,
                   const std::vector<std::string>& series, CommandContext& context) {
    if (series.empty() && groups.empty()) {
        throw CliFailure(kExitUsage, "ure needs at least one SERIES or --group");
    }
    RefuseStandardOutput(output);
    const std::filesystem::path target = WithFixedExtension(output, ".URE");
    ConsolePlatform console(context.quiet);
    const Registration registration = RegisterSeries(groups, series, console);
    RefuseOverwritingInputs({target}, registration.inputs);
    context.subject = target.string();
    try {
        WriteRunLengthUnitFile(target, registration.animations);
    } catch (const FileError& error) {
        throw CliFailure(kExitFileFailure, error.what());
    }
    std::cout << "wrote " << target.string() << " (" << registration.animations.size()
              << " animations)\n";
    return kExitOk;
}

constexpr const char* kSeriesHelp =
    "FIRST.tga[,FIRST_MASK.tga] (the numbered series from that picture on) or "
    "FOLDER[,MASK_FOLDER] (the series in the folder)";
constexpr const char* kGroupHelp =
    "FOLDER[,MASK_FOLDER]: every sub-folder an animation, the folder one group (registered "
    "before the series)";

} // namespace

void AddCompressCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<CompressOptions>();
    auto* command = app.add_subcommand(
        "compress", "Register picture series, compress them together and save BASE.UTD and "
                    "BASE.UPT");
    command->add_option("-o,--output", options->output, "BASE of the files to write")
        ->required()
        ->check(NonEmpty());
    AddCompressionOptions(*command, options->compression);
    command
        ->add_option("--min-psnr", options->minPsnr,
                     "write nothing and end with status 3 when an animation's PSNR is below DB")
        ->check(CLI::Range(0.0, 1000.0));
    command->add_flag("--json", options->json, "print a machine-readable summary");
    command
        ->add_option("--team-colours", options->teamColours,
                     "a .UTC file with the team colour selection and tables to store")
        ->check(NonEmpty());
    command->add_option("--group", options->groups, kGroupHelp)->check(NonEmpty());
    command->add_option("SERIES", options->series, kSeriesHelp)->check(NonEmpty());
    command->callback([&context, options] {
        context.run = [&context, options] { return Compress(*options, context); };
    });

    auto output = std::make_shared<std::string>();
    auto groups = std::make_shared<std::vector<std::string>>();
    auto series = std::make_shared<std::vector<std::string>>();
    auto* ure = app.add_subcommand("ure", "Write the run-length unit file of registered series");
    ure->add_option("-o,--output", *output, "NAME of the .URE file")->required()->check(NonEmpty());
    ure->add_option("--group", *groups, kGroupHelp)->check(NonEmpty());
    ure->add_option("SERIES", *series, kSeriesHelp)->check(NonEmpty());
    ure->callback([&context, output, groups, series] {
        context.run = [&context, output, groups, series] {
            return WriteRunLength(*output, *groups, *series, context);
        };
    });
}

} // namespace fenwold::cli
