#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"fenwold-cli: builds unit and building sprite data from Targa picture series"};
    app.set_version_flag("--version", std::string("fenwold-cli ") + FENWOLD_VERSION);
    app.require_subcommand(0, 1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // CLI11 returns 0 for --help and --version; every real usage error is status 2.
        const int status = app.exit(error);
        return status == 0 ? 0 : 2;
    }
    std::cout << app.help();
    return 0;
}
