#include "cli/OutputFiles.h"

#include "cli/Console.h"
#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "platform/WorkingFolder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace fenwold::cli {

void WriteOutput(const std::filesystem::path& output, std::span<const std::uint8_t> bytes) {
    if (output == kStandardOutputName) {
        WriteToStandardOutput(bytes);
    } else {
        WriteFileAtomically(output, bytes);
    }
}

bool GoesToStandardOutput(const std::filesystem::path& output) {
    if (output == kStandardOutputName) {
        return true;
    }
    struct stat target {};
    struct stat standardOutput {};
    return ::stat(output.c_str(), &target) == 0 && ::fstat(STDOUT_FILENO, &standardOutput) == 0 &&
           target.st_dev == standardOutput.st_dev && target.st_ino == standardOutput.st_ino;
}

void RefuseStandardOutput(const std::string& output) {
    if (output == kStandardOutputName) {
        throw CliFailure(kExitUsage, "this command writes files named from -o; \"-o -\" (the "
                                     "standard output) takes only one file");
    }
}

void RefuseOverwritingInputs(const std::vector<std::filesystem::path>& outputs,
                             const std::vector<std::filesystem::path>& inputs) {
    for (const auto& input : inputs) {
        std::filesystem::path found;
        try {
            found = ResolveExisting(input);
        } catch (const FileError&) {
            found = input; // several case variants: each output is checked against the name
        }
        for (const auto& output : outputs) {
            if (IsSameFile(output, found) || IsSameFile(output, input)) {
                throw CliFailure(kExitUsage, "the output " + output.string() +
                                                 " is the input file " + found.string());
            }
        }
    }
}

} // namespace fenwold::cli
