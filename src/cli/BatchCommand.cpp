#include "cli/BatchInit.h"
#include "cli/BatchSettings.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/OutputFiles.h"
#include "cli/Registration.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace fenwold::cli {
namespace {

struct BatchOptions {
    std::string assets;
    std::string output;
    std::string cli;
    bool init = false;
};

// One unit or building: a run of fenwold-cli whose inputs are everything it reads.
struct Edge {
    std::string rule;
    std::string name; // the output base, relative to the build folder
    std::vector<std::filesystem::path> outputs;
    std::filesystem::path settings;
    std::vector<std::filesystem::path> inputs;
    std::vector<std::string> arguments;
};

// Folders are inputs too: a picture added to or removed from one changes its time.
struct AssetTree {
    std::vector<std::filesystem::path> folders;
    std::vector<std::filesystem::path> settingsFiles;
};

void Walk(const std::filesystem::path& folder, const std::filesystem::path& skip, AssetTree& tree) {
    tree.folders.push_back(folder);
    std::vector<std::filesystem::directory_entry> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        throw CliFailure(kExitFileFailure,
                         folder.string() + ": cannot list the folder: " + error.message());
    }
    std::sort(entries.begin(), entries.end());
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with('.')) {
            continue;
        }
        if (entry.is_directory(error) && !entry.is_symlink(error)) {
            if (!std::filesystem::equivalent(entry.path(), skip, error)) {
                Walk(entry.path(), skip, tree);
            }
        } else if (name == kSettingsFileName) {
            tree.settingsFiles.push_back(entry.path());
        }
    }
}

// A path in the manifest: "$", " " and ":" escaped.
std::string NinjaPath(const std::string& path) {
    std::string out;
    for (const char c : path) {
        if (c == '$' || c == ' ' || c == ':') {
            out += '$';
        }
        out += c;
    }
    return out;
}

// A command-line word for the shell, then "$" escaped for the manifest.
std::string CommandWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
               std::string_view("_-./,=+").find(c) != std::string_view::npos;
    });
    std::string quoted = plain ? word : "'";
    if (!plain) {
        for (const char c : word) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        quoted += "'";
    }
    std::string out;
    for (const char c : quoted) {
        out += c == '$' ? std::string("$$") : std::string(1, c);
    }
    return out;
}

class ManifestWriter {
public:
    ManifestWriter(std::filesystem::path out, std::filesystem::path assets)
        : out_(std::move(out)), assets_(std::move(assets)) {}

    // Paths in the manifest and in its commands are relative to the build folder, where ninja
    // runs them, so that the tree builds wherever it lies.
    std::string Relative(const std::filesystem::path& path) const {
        std::string relative = std::filesystem::relative(path, out_).generic_string();
        if (relative.empty()) {
            relative = ".";
        }
        if (relative.starts_with('-')) {
            relative = "./" + relative;
        }
        return relative;
    }

    // Each path once, in order; long lists go on continued lines.
    std::string Paths(const std::vector<std::filesystem::path>& paths) const {
        std::string line;
        std::set<std::string> seen;
        for (const auto& path : paths) {
            std::string relative = NinjaPath(Relative(path));
            if (seen.insert(relative).second) {
                line += (paths.size() > 4 ? " $\n    " : " ") + relative;
            }
        }
        return line;
    }

    const std::filesystem::path& out() const { return out_; }
    const std::filesystem::path& assets() const { return assets_; }

private:
    std::filesystem::path out_;
    std::filesystem::path assets_;
};

// A series as the compress command takes it: PICTURES[,MASKS], each path given by `place`.
template <typename Place>
std::string SeriesArgument(const SeriesSetting& series, Place&& place) {
    std::string argument = place(series.pictures);
    if (!series.masks.empty()) {
        argument += "," + place(series.masks);
    }
    return argument;
}

void AddCompressionArguments(const CompressionSetting& compression,
                             std::vector<std::string>& arguments) {
    arguments.insert(arguments.end(),
                     {"--seed", std::to_string(compression.seed), "--lookup",
                      std::to_string(compression.lookup), "--weight", compression.weight});
    if (!compression.sampling) {
        arguments.emplace_back("--no-sampling");
    }
    if (!compression.lbg) {
        arguments.emplace_back("--no-lbg");
    }
    if (compression.refine > 0) {
        arguments.insert(arguments.end(), {"--refine", std::to_string(compression.refine)});
    }
    if (compression.minPsnr) {
        std::ostringstream floor;
        floor << *compression.minPsnr;
        arguments.insert(arguments.end(), {"--min-psnr", floor.str()});
    }
}

// The pictures and folders one series entry reads; a fault names the settings key.
void ListInputs(const std::filesystem::path& settings, const std::string& key,
                const std::vector<std::string>& groups, const std::vector<std::string>& series,
                Edge& edge) {
    ConsolePlatform console(true);
    try {
        Registration listed = ListSeriesInputs(groups, series, console);
        edge.inputs.insert(edge.inputs.end(), listed.folders.begin(), listed.folders.end());
        edge.inputs.insert(edge.inputs.end(), listed.inputs.begin(), listed.inputs.end());
    } catch (const CliFailure& failure) {
        throw CliFailure(kExitFileFailure, settings.string() + ": " + key + ": " + failure.what());
    }
}

Edge UnitEdge(const ManifestWriter& manifest, const std::filesystem::path& settings,
              const std::filesystem::path& outFolder, std::size_t index, const UnitSetting& unit) {
    const std::filesystem::path folder = settings.parent_path();
    const std::string key = "units[" + std::to_string(index) + "]";
    Edge edge{"compress", manifest.Relative(outFolder / unit.name), {}, settings, {}, {}};
    const std::filesystem::path base = outFolder / unit.name;
    edge.outputs = {base.string() + ".UTD", base.string() + ".UPT"};
    edge.arguments = {"-o", edge.name};
    AddCompressionArguments(unit.compression, edge.arguments);
    if (!unit.teamColours.empty()) {
        edge.arguments.insert(edge.arguments.end(),
                              {"--team-colours", manifest.Relative(folder / unit.teamColours)});
        edge.inputs.push_back(folder / unit.teamColours);
    }
    const auto relative = [&](const std::string& path) { return manifest.Relative(folder / path); };
    const auto absolute = [&](const std::string& path) { return (folder / path).string(); };
    for (std::size_t g = 0; g < unit.groups.size(); ++g) {
        edge.arguments.insert(edge.arguments.end(),
                              {"--group", SeriesArgument(unit.groups[g], relative)});
        ListInputs(settings, key + ".groups[" + std::to_string(g) + "]",
                   {SeriesArgument(unit.groups[g], absolute)}, {}, edge);
    }
    for (std::size_t s = 0; s < unit.series.size(); ++s) {
        edge.arguments.push_back(SeriesArgument(unit.series[s], relative));
        ListInputs(settings, key + ".series[" + std::to_string(s) + "]", {},
                   {SeriesArgument(unit.series[s], absolute)}, edge);
    }
    return edge;
}

Edge BuildingEdge(const ManifestWriter& manifest, const std::filesystem::path& settings,
                  const std::filesystem::path& outFolder, std::size_t index,
                  const BuildingSetting& building) {
    const std::filesystem::path folder = settings.parent_path();
    Edge edge{"building", manifest.Relative(outFolder / building.name), {}, settings, {}, {}};
    const std::filesystem::path base = outFolder / building.name;
    edge.outputs = {base.string() + ".BPT", base.string() + "6.BPT"};
    edge.arguments = {"-o", edge.name, manifest.Relative(folder / building.picture), "--mask",
                      manifest.Relative(folder / building.mask)};
    edge.inputs = {folder / building.picture, folder / building.mask};
    if (!building.teamColours.empty()) {
        edge.arguments.insert(edge.arguments.end(),
                              {"--team-colours", manifest.Relative(folder / building.teamColours)});
        edge.inputs.push_back(folder / building.teamColours);
    }
    if (building.animations.empty()) {
        return edge;
    }
    AddCompressionArguments(building.compression, edge.arguments);
    const std::string key = "buildings[" + std::to_string(index) + "].animations";
    const auto relative = [&](const std::string& path) { return manifest.Relative(folder / path); };
    const auto absolute = [&](const std::string& path) { return (folder / path).string(); };
    for (std::size_t a = 0; a < building.animations.size(); ++a) {
        const BuildingAnimationSetting& animation = building.animations[a];
        edge.arguments.insert(edge.arguments.end(),
                              {"--animation", SeriesArgument(animation.series, relative),
                               "--position",
                               std::to_string(animation.x) + "," + std::to_string(animation.y)});
        ListInputs(settings, key + "[" + std::to_string(a) + "]", {},
                   {SeriesArgument(animation.series, absolute)}, edge);
    }
    return edge;
}

// No file is written by two edges, or is read by any: names are compared ignoring case, as a
// Windows game folder would.
void RefuseClashes(const std::vector<Edge>& edges) {
    const auto fold = [](const std::filesystem::path& path) {
        std::string text = std::filesystem::weakly_canonical(path).generic_string();
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    std::map<std::string, const Edge*> written;
    std::set<std::string> read;
    for (const auto& edge : edges) {
        read.insert(fold(edge.settings));
        for (const auto& input : edge.inputs) {
            read.insert(fold(input));
        }
    }
    for (const auto& edge : edges) {
        for (const auto& output : edge.outputs) {
            const std::string key = fold(output);
            const auto [at, added] = written.emplace(key, &edge);
            if (!added) {
                throw CliFailure(kExitFileFailure, edge.settings.string() + ": " + edge.name +
                                                       " writes " + output.string() + ", as does " +
                                                       at->second->name + " of " +
                                                       at->second->settings.string());
            }
            if (read.contains(key)) {
                throw CliFailure(kExitUsage,
                                 "the output " + output.string() + " is one of the input files");
            }
        }
    }
}

std::string Manifest(const ManifestWriter& manifest, const AssetTree& tree,
                     const std::vector<Edge>& edges, const std::filesystem::path& cli) {
    const std::string cliPath = NinjaPath(cli.string());
    std::string text =
        "# Written by fenwold-cli batch from the settings files (" +
        std::string(kSettingsFileName) + ") under " + manifest.Relative(manifest.assets()) +
        ".\n# It writes itself again when a settings file or a folder of pictures changes.\n"
        "ninja_required_version = 1.3\n\ncli = " +
        CommandWord(cli.string()) +
        "\n\nrule compress\n  command = $cli --quiet compress $args\n  description = unit "
        "$name\n\nrule building\n  command = $cli --quiet building $args\n  description = "
        "building $name\n\nrule settings\n  command = $cli --quiet batch $args\n  description = "
        "settings files\n  generator = 1\n";
    for (const auto& edge : edges) {
        std::string arguments;
        for (const auto& argument : edge.arguments) {
            arguments += (arguments.empty() ? "" : " ") + CommandWord(argument);
        }
        text += "\nbuild" + manifest.Paths(edge.outputs) + ": " + edge.rule +
                manifest.Paths({edge.settings}) + " |" + manifest.Paths(edge.inputs) + " " +
                cliPath + "\n  name = " + edge.name + "\n  args = " + arguments + "\n";
    }
    const std::string regenerate = CommandWord(manifest.Relative(manifest.assets())) +
                                   " -o . --cli " + CommandWord(cli.string());
    text += "\nbuild build.ninja: settings" + manifest.Paths(tree.settingsFiles) + " |" +
            manifest.Paths(tree.folders) + " " + cliPath + "\n  args = " + regenerate + "\n";
    // A settings file or folder that disappears makes the manifest out of date, not the build
    // impossible.
    text += "\n";
    for (const auto& path : tree.settingsFiles) {
        text += "build" + manifest.Paths({path}) + ": phony\n";
    }
    for (const auto& path : tree.folders) {
        text += "build" + manifest.Paths({path}) + ": phony\n";
    }
    return text;
}

std::filesystem::path ThisProgram() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("fenwold-cli") : path;
}

int WriteManifest(const BatchOptions& options) {
    std::error_code error;
    const auto assets = std::filesystem::weakly_canonical(options.assets, error);
    if (error || !std::filesystem::is_directory(assets, error)) {
        throw CliFailure(kExitFileFailure, options.assets + ": no such folder");
    }
    std::filesystem::create_directories(options.output, error);
    const auto out = std::filesystem::weakly_canonical(options.output, error);
    if (error || !std::filesystem::is_directory(out, error)) {
        throw CliFailure(kExitFileFailure, options.output + ": cannot make the folder");
    }
    const std::filesystem::path cli =
        options.cli.empty() ? ThisProgram()
                            : std::filesystem::absolute(options.cli).lexically_normal();
    AssetTree tree;
    Walk(assets, out, tree);
    if (tree.settingsFiles.empty()) {
        throw CliFailure(kExitFileFailure,
                         options.assets + ": holds no " + kSettingsFileName +
                             "; write starting ones with: fenwold-cli batch --init " +
                             options.assets);
    }
    const ManifestWriter manifest(out, assets);
    std::vector<Edge> edges;
    std::size_t units = 0;
    for (const auto& settingsFile : tree.settingsFiles) {
        const Settings settings = ReadSettings(settingsFile);
        const std::filesystem::path outFolder =
            out / std::filesystem::relative(settingsFile.parent_path(), assets);
        for (std::size_t i = 0; i < settings.units.size(); ++i) {
            edges.push_back(UnitEdge(manifest, settingsFile, outFolder, i, settings.units[i]));
            ++units;
        }
        for (std::size_t i = 0; i < settings.buildings.size(); ++i) {
            edges.push_back(
                BuildingEdge(manifest, settingsFile, outFolder, i, settings.buildings[i]));
        }
    }
    RefuseClashes(edges);
    const std::filesystem::path target = out / "build.ninja";
    const std::string text = Manifest(manifest, tree, edges, cli);
    try {
        WriteFileAtomically(
            target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    } catch (const FileError& failure) {
        throw CliFailure(kExitFileFailure, failure.what());
    }
    std::cout << "wrote " << (std::filesystem::path(options.output) / "build.ninja").string()
              << ": " << units << " units and " << edges.size() - units << " buildings from "
              << tree.settingsFiles.size() << " settings files; build them with: ninja -C "
              << options.output << '\n';
    return kExitOk;
}

} // namespace

void AddBatchCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<BatchOptions>();
    auto* command = app.add_subcommand(
        "batch", "Write OUT/build.ninja, which builds every unit and building that the settings "
                 "files (fenwold.json) under ASSETS describe; then run: ninja -C OUT");
    command->add_option("ASSETS", options->assets, "the folder of the asset tree")->required();
    command->add_option("-o,--output", options->output, "the build folder OUT");
    command->add_flag("--init", options->init,
                      "first write a starting fenwold.json wherever series folders or building "
                      "pictures with masks lie and none is yet");
    command->add_option("--cli", options->cli,
                        "the fenwold-cli that the build runs (default: this one)");
    command->callback([&context, options] {
        context.run = [&context, options] {
            if (!options->init && options->output.empty()) {
                throw CliFailure(kExitUsage, "batch needs -o OUT (or --init)");
            }
            if (!options->output.empty()) {
                RefuseStandardOutput(options->output);
            }
            if (options->init) {
                WriteStartingSettings(options->assets, context.quiet);
            }
            return options->output.empty() ? kExitOk : WriteManifest(*options);
        };
    });
}

} // namespace fenwold::cli
