#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/Console.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace fenwold::cli {

int RunCli(int argc, const char* const* argv) {
    CLI::App app{"fenwold-cli: builds unit and building sprite data from Targa picture series"};
    app.set_version_flag("--version", std::string("fenwold-cli ") + FENWOLD_VERSION);
    app.require_subcommand(1);
    CommandContext context;
    app.add_flag("-q,--quiet", context.quiet, "no progress on stderr");
    AddSampleCommand(app, context);
    AddCompressCommand(app, context);
    AddBuildingCommand(app, context);
    AddInfoCommand(app, context);
    AddRenderCommand(app, context);
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
    }
}

} // namespace fenwold::cli
