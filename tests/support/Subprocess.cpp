#include "support/Subprocess.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sched.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fenwold::test {
namespace {

std::filesystem::path TemporaryFile(const char* what) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string("fenwold-") + what + "-XXXXXX"))
            .string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw std::runtime_error("cannot create a temporary file");
    }
    ::close(fd);
    return pattern;
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

Program::Program(const std::vector<std::string>& arguments, const ProgramOptions& options)
    : outputPath_(options.outputFile.value_or(TemporaryFile("out"))),
      errorPath_(TemporaryFile("err")), collectOutput_(!options.outputFile) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::runtime_error("cannot start a program");
    }
    if (pid_ == 0) {
        if (options.memoryLimit) {
            const rlimit limit{*options.memoryLimit, *options.memoryLimit};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (options.workingFolder && ::chdir(options.workingFolder->c_str()) != 0) {
            ::_exit(125);
        }
        const int out = ::open(outputPath_.c_str(), O_WRONLY | O_TRUNC | O_CREAT, 0644);
        const int err = ::open(errorPath_.c_str(), O_WRONLY | O_TRUNC);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
            ::_exit(126);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
}

Program::~Program() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Wait();
    }
    if (collectOutput_) {
        ::unlink(outputPath_.c_str());
    }
    ::unlink(errorPath_.c_str());
}

void Program::Signal(int signal) const {
    ::kill(pid_, signal);
}

ProgramEnd Program::Wait(std::chrono::milliseconds limit) {
    ProgramEnd end;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (pid_t got = 0; (got = ::waitpid(pid_, &status, WNOHANG)) <= 0;) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    pid_ = -1;
    if (WIFEXITED(status)) {
        end.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        end.signal = WTERMSIG(status);
    }
    if (collectOutput_) {
        end.output = Contents(outputPath_);
    }
    end.errors = Contents(errorPath_);
    return end;
}

std::string CliProgram() {
    return FENWOLD_CLI;
}

ProgramEnd RunCliProgram(const std::vector<std::string>& arguments, const ProgramOptions& options) {
    std::vector<std::string> argv{CliProgram()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    Program program(argv, options);
    return program.Wait();
}

bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

PipeReader::PipeReader(const std::filesystem::path& pipe) {
    thread_ = std::thread([this, pipe] {
        // Opened without waiting; until a writer has written, "no writer" is not the end.
        const int fd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return;
        }
        bool seen = false;
        for (;;) {
            std::uint8_t buffer[65536];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                bytes_.insert(bytes_.end(), buffer, buffer + got);
                seen = true;
                continue;
            }
            if (got == 0 && (seen || writerDone_.load())) {
                break;
            }
            if (got < 0 && errno != EAGAIN && errno != EINTR) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::close(fd);
    });
}

std::vector<std::uint8_t> PipeReader::Finish() {
    writerDone_.store(true);
    if (thread_.joinable()) {
        thread_.join();
    }
    return bytes_;
}

HeldLock::HeldLock(const std::filesystem::path& path)
    : descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (descriptor_ < 0 || ::flock(descriptor_, LOCK_EX) != 0) {
        throw std::runtime_error("cannot lock " + path.string());
    }
}

HeldLock::~HeldLock() {
    ::close(descriptor_);
}

bool WaitForLockWaiter(const std::filesystem::path& path, std::chrono::milliseconds within) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    // Lines such as "1: -> FLOCK  ADVISORY  WRITE 4711 fd:01:123456 0 EOF" list the waiters.
    const std::string inode = ":" + std::to_string(info.st_ino) + " ";
    const auto end = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream locks("/proc/locks");
        for (std::string line; std::getline(locks, line);) {
            if (line.find("->") != std::string::npos && line.find(inode) != std::string::npos) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::optional<std::string> InPrivateDevices(const std::function<std::string()>& checks) {
    constexpr int kCannot = 77;
    const auto report = TemporaryFile("checks");
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (child == 0) {
        const bool ready = ::unshare(CLONE_NEWNS) == 0 &&
                           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                           ::mount("tmpfs", "/dev", "tmpfs", 0, "mode=0755") == 0 &&
                           ::mknod("/dev/null", S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                           ::mknod("/dev/zero", S_IFCHR | 0666, makedev(1, 5)) == 0 &&
                           ::mknod("/dev/full", S_IFCHR | 0666, makedev(1, 7)) == 0 &&
                           ::mknod("/dev/urandom", S_IFCHR | 0666, makedev(1, 9)) == 0 &&
                           ::symlink("/proc/self/fd/1", "/dev/stdout") == 0 &&
                           ::symlink("/proc/self/fd/2", "/dev/stderr") == 0;
        if (!ready) {
            ::_exit(kCannot);
        }
        const std::string failures = checks();
        std::ofstream(report, std::ios::binary) << failures;
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    std::optional<std::string> result = Contents(report);
    ::unlink(report.c_str());
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannot) {
        return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "the checks ended abnormally";
    }
    return result;
}

} // namespace fenwold::test
