#include "platform/FileIo.h"

#include "platform/FileError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fenwold {
namespace {

std::string SystemReason(const char* action) {
    return std::string(action) + ": " + std::strerror(errno);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    const std::string name = path.string();
    Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        throw FileError(name, SystemReason("cannot open the file"));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        throw FileError(name, SystemReason("cannot read the file's size"));
    }
    if (S_ISDIR(info.st_mode)) {
        throw FileError(name, "is a folder, not a file");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kLargestReadableFile) {
        throw FileError(name, "the file is too large (" + std::to_string(info.st_size) + " bytes)");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(name, SystemReason("cannot read the file"));
        }
        if (got == 0) {
            bytes.resize(done); // the file shrank while we read it
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    const auto folder =
        target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + target_.filename().string() + ".tmp-XXXXXX")).string();
    descriptor_ = ::mkstemp(pattern.data());
    if (descriptor_ < 0) {
        throw FileError(target_.string(), SystemReason("cannot create the file"));
    }
    temporary_ = pattern;
    // Keep the permissions of the file being replaced; a new file gets the usual 0644.
    struct stat info {};
    const mode_t mode =
        ::stat(target_.c_str(), &info) == 0 ? (info.st_mode & 07777) : static_cast<mode_t>(0644);
    ::fchmod(descriptor_, mode);
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() noexcept {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
        ::unlink(temporary_.c_str());
    }
}

void AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (descriptor_ < 0) {
        throw FileError(target_.string(), "the file was already closed");
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(descriptor_, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            const std::string reason = SystemReason("cannot write the file");
            Discard();
            throw FileError(target_.string(), reason);
        }
        done += static_cast<std::size_t>(put);
    }
}

void AtomicFileWriter::Commit() {
    if (descriptor_ < 0) {
        throw FileError(target_.string(), "the file was already closed");
    }
    if (::fsync(descriptor_) != 0 || ::close(descriptor_) != 0) {
        const std::string reason = SystemReason("cannot finish writing the file");
        descriptor_ = -1;
        ::unlink(temporary_.c_str());
        throw FileError(target_.string(), reason);
    }
    descriptor_ = -1;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const std::string reason = SystemReason("cannot replace the file");
        ::unlink(temporary_.c_str());
        throw FileError(target_.string(), reason);
    }
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    AtomicFileWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

} // namespace fenwold
