#pragma once

#include <CLI/CLI.hpp>
#include <functional>

namespace fenwold::cli {

// What every subcommand shares: the chosen command to run after parsing, and --quiet.
struct CommandContext {
    std::function<int()> run;
    bool quiet = false;
};

void AddSampleCommand(CLI::App& app, CommandContext& context);
void AddInfoCommand(CLI::App& app, CommandContext& context);
void AddRenderCommand(CLI::App& app, CommandContext& context);
void AddCompressCommand(CLI::App& app, CommandContext& context);
void AddBuildingCommand(CLI::App& app, CommandContext& context);

} // namespace fenwold::cli
