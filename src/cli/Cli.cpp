#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/Console.h"
#include "platform/FileError.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <new>
#include <optional>

namespace fenwold::cli {
namespace {

// The first argument that is not an option names the subcommand (the program's own options
// take no values); one that names none is refused by name.
std::optional<std::string> UnknownSubcommand(const CLI::App& app, int argc,
                                             const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.empty() || argument.front() != '-') {
            for (const CLI::App* command : app.get_subcommands({})) {
                if (command->check_name(argument)) {
                    return std::nullopt;
                }
            }
            return argument;
        }
    }
    return std::nullopt;
}

std::string SubcommandNames(const CLI::App& app) {
    std::string names;
    for (const CLI::App* command : app.get_subcommands({})) {
        names += (names.empty() ? "" : ", ") + command->get_name();
    }
    return names;
}

} // namespace

int RunCli(int argc, const char* const* argv) {
    CLI::App app{"fenwold-cli: builds unit and building sprite data from Targa picture series"};
    app.set_version_flag("--version", std::string("fenwold-cli ") + FENWOLD_VERSION);
    app.require_subcommand(1);
    // The program's options (--quiet) may also come after the subcommand: the subcommands pass
    // what they do not know on to it.
    app.fallthrough();
    CommandContext context;
    app.add_flag("-q,--quiet", context.quiet, "no progress on stderr");
    AddSampleCommand(app, context);
    AddCompressCommand(app, context);
    AddBuildingCommand(app, context);
    AddInfoCommand(app, context);
    AddRenderCommand(app, context);
    AddExportCommand(app, context);
    AddBatchCommand(app, context);
    if (const auto unknown = UnknownSubcommand(app, argc, argv)) {
        std::cerr << "fenwold-cli: unknown subcommand \"" << *unknown << "\" (one of "
                  << SubcommandNames(app) << "; see --help)\n";
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // CLI11 answers 0 for --help and --version; every real usage error is status 2.
        const int status = app.exit(error);
        return status == 0 ? kExitOk : kExitUsage;
    }
    try {
        return context.run();
    } catch (const CliFailure& failure) {
        std::cerr << "fenwold-cli: " << failure.what() << '\n';
        return failure.status;
    } catch (const FileError& error) {
        std::cerr << "fenwold-cli: " << error.what() << '\n';
        return kExitFileFailure;
    } catch (const std::bad_alloc&) {
        std::cerr << "fenwold-cli: " << (context.subject.empty() ? "" : context.subject + ": ")
                  << "out of memory\n";
        return kExitFileFailure;
    }
}

} // namespace fenwold::cli
