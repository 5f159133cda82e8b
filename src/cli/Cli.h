#pragma once

namespace fenwold::cli {

// The whole command line: parses it, runs the chosen subcommand and returns the exit status.
int RunCli(int argc, const char* const* argv);

} // namespace fenwold::cli
