#pragma once

#include "cli/Console.h"
#include "image/RegisteredAnimation.h"
#include "vq/CompressionResult.h"
#include "vq/CompressionRun.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>

namespace fenwold::cli {

// The options of a compression, shared by every command that compresses registered animations
// (a unit's, a building's), so that each takes them with the same names, ranges and defaults.
struct CompressionOptions {
    int lookupTableSize = 500;
    std::string weight = "max";
    bool noSampling = false;
    bool noLbg = false;
    int refine = 0;
    std::optional<std::uint64_t> seed;
    int threads = 0;

    CompressionParameters Parameters() const;
};

// --lookup, --weight, --no-sampling, --no-lbg, --refine, --seed and --threads.
void AddCompressionOptions(CLI::App& command, CompressionOptions& options);

// Hands a finished compression to the document (`kind` names it: "unit", "building"). A result
// the document refuses (it said why through its messages) ends the command with status 1 before
// anything is written.
void TakeCompressionResult(CompressionResultSink& document, std::string_view kind,
                           CompressionResult result);

// Compresses the registered animations into the document, showing the progress on the console.
// False, after saying why, when the run did not finish.
bool CompressInto(CompressionResultSink& document, std::string_view kind,
                  const std::list<RegisteredAnimation>& animations,
                  const CompressionOptions& options, ConsolePlatform& console);

} // namespace fenwold::cli
