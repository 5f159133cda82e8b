#include "cli/Cli.h"
#include "platform/TerminationCleanup.h"

int main(int argc, char** argv) {
    fenwold::InstallTerminationCleanup();
    return fenwold::cli::RunCli(argc, argv);
}
