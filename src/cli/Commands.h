#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace fenwold::cli {

// What every subcommand shares: the chosen command to run after parsing, --quiet, and the file
// the command is working on, named when memory runs out.
struct CommandContext {
    std::function<int()> run;
    bool quiet = false;
    std::string subject;
};

// Refuses an empty value ("-o ''"): it never names a file the user meant.
const CLI::Validator& NonEmpty();
// The largest seed the commands take: the desktop program seeds with the clock's seconds, and
// a seed written down from either fits in 32 bits.
inline constexpr std::uint64_t kLargestSeed = 4294967295;
// A seed: a whole number from 0 to kLargestSeed, written in decimal.
const CLI::Validator& SeedNumber();
// Two whole numbers joined by `separator` ("100x80", "-3,5"); anything else ends the command
// with status 2, naming the option `what`.
std::pair<int, int> ParsePair(const std::string& text, char separator, const char* what);

void AddSampleCommand(CLI::App& app, CommandContext& context);
void AddInfoCommand(CLI::App& app, CommandContext& context);
void AddRenderCommand(CLI::App& app, CommandContext& context);
void AddCompressCommand(CLI::App& app, CommandContext& context);
void AddBuildingCommand(CLI::App& app, CommandContext& context);
void AddExportCommand(CLI::App& app, CommandContext& context);
void AddBatchCommand(CLI::App& app, CommandContext& context);

} // namespace fenwold::cli
