#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace fenwold::cli {

// "-o -" names the standard output, for commands that write one file.
inline constexpr const char* kStandardOutputName = "-";

// Writes a command's one output: "-" to the standard output, anything else saved atomically
// (a pipe or a device straight). Raises FileError.
void WriteOutput(const std::filesystem::path& output, std::span<const std::uint8_t> bytes);

// True when the output lands where the standard output goes ("-", /dev/stdout, or the file the
// standard output was sent to), so that the command's summary must go elsewhere.
bool GoesToStandardOutput(const std::filesystem::path& output);

// Refuses (status 2) "-o -" for a command that names its files from -o.
void RefuseStandardOutput(const std::string& output);

// Refuses (status 2) an output that is one of the inputs, whatever the spelling: both are
// compared as files (device and inode), each input as found ignoring case.
void RefuseOverwritingInputs(const std::vector<std::filesystem::path>& outputs,
                             const std::vector<std::filesystem::path>& inputs);

} // namespace fenwold::cli
