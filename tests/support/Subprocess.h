#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace fenwold::test {

// How a program ended and what it wrote.
struct ProgramEnd {
    int exitStatus = -1; // -1 when a signal ended it
    int signal = 0;      // the signal that ended it, else 0
    std::string output;  // its standard output
    std::string errors;  // its standard error
};

struct ProgramOptions {
    // The address space limit (as "ulimit -v" sets it), in bytes.
    std::optional<std::uint64_t> memoryLimit = {};
    // Where its standard output goes; by default it is collected into ProgramEnd::output.
    std::optional<std::filesystem::path> outputFile = {};
    // The folder it runs in; by default the tests'.
    std::optional<std::filesystem::path> workingFolder = {};
};

// A program started in the background; its output is collected in temporary files.
class Program {
public:
    Program(const std::vector<std::string>& arguments, const ProgramOptions& options = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t pid() const { return pid_; }
    void Signal(int signal) const;
    // Waits for the end; a program still running after `limit` is killed (signal SIGKILL).
    ProgramEnd Wait(std::chrono::milliseconds limit = std::chrono::minutes(2));

private:
    pid_t pid_ = -1;
    std::filesystem::path outputPath_;
    std::filesystem::path errorPath_;
    bool collectOutput_ = true;
};

// Runs fenwold-cli with these arguments to its end.
ProgramEnd RunCliProgram(const std::vector<std::string>& arguments,
                         const ProgramOptions& options = {});
// The path of the fenwold-cli program built with the tests.
std::string CliProgram();

// True when the build checks memory with AddressSanitizer, which cannot run under an address
// space limit.
bool UnderAddressSanitizer();

// Reads a named pipe on a thread of its own until the writer closes it, without ever blocking
// for good: a writer that never comes leaves it empty once Finish is called.
class PipeReader {
public:
    explicit PipeReader(const std::filesystem::path& pipe);
    ~PipeReader() { Finish(); }
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

    // Call once the writer is done (or failed): returns everything read.
    std::vector<std::uint8_t> Finish();

private:
    std::atomic<bool> writerDone_{false};
    std::vector<std::uint8_t> bytes_;
    std::thread thread_;
};

// Holds an exclusive advisory lock (flock) on a file or folder until it goes.
class HeldLock {
public:
    explicit HeldLock(const std::filesystem::path& path);
    ~HeldLock();
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    int descriptor_ = -1;
};

// Waits until some process waits for a lock on `path` (as /proc/locks lists waiters); false
// when none did within the time.
bool WaitForLockWaiter(const std::filesystem::path& path, std::chrono::milliseconds within);

// Runs `checks` in a child process that has a private mount namespace with its own /dev (a
// tmpfs holding null, full, and stdout as a link to /proc/self/fd/1), so that nothing the
// checks do reaches the machine's device nodes. Returns what `checks` returned (empty for
// success), or nothing when such a namespace cannot be made here (not root, or a container that
// forbids it).
std::optional<std::string> InPrivateDevices(const std::function<std::string()>& checks);

} // namespace fenwold::test
