#include "cli/Cli.h"

int main(int argc, char** argv) {
    return fenwold::cli::RunCli(argc, argv);
}
