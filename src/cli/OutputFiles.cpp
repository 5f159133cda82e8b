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
    // Each file is looked at once, so that a run of hundreds of pictures costs a look at each.
    struct ExistingOutput {
        const std::filesystem::path* name;
        dev_t device;
        ino_t inode;
    };
    std::vector<ExistingOutput> existing;
    for (const auto& output : outputs) {
        struct stat info {};
        if (::stat(output.c_str(), &info) == 0) {
            existing.push_back({&output, info.st_dev, info.st_ino});
        }
    }
    if (existing.empty()) {
        return; // an output that is not there yet is no input
    }
    for (const auto& input : inputs) {
        std::filesystem::path found = input;
        struct stat info {};
        if (::stat(input.c_str(), &info) != 0) {
            try {
                found = ResolveExisting(input);
            } catch (const FileError&) {
                continue; // several files match it ignoring case: it is not read either
            }
            if (::stat(found.c_str(), &info) != 0) {
                continue;
            }
        }
        for (const auto& output : existing) {
            if (output.device == info.st_dev && output.inode == info.st_ino) {
                throw CliFailure(kExitUsage, "the output " + output.name->string() +
                                                 " is the input file " + found.string());
            }
        }
    }
}

} // namespace fenwold::cli
