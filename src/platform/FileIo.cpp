#include "platform/FileIo.h"

#include "platform/FileError.h"
#include "platform/PosixFile.h"

#include <algorithm>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>

namespace fenwold {

InputFile::InputFile(const std::filesystem::path& path) : name_(path.string()) {
    // Without O_NONBLOCK, opening a pipe would wait for a writer that may never come.
    descriptor_ = ::open(name_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor_ < 0) {
        throw FileError(name_, posix::Reason("cannot open the file"));
    }
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0) {
        const std::string reason = posix::Reason("cannot read the file's size");
        ::close(descriptor_);
        throw FileError(name_, reason);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(descriptor_);
        throw FileError(name_, "is " + std::string(posix::KindOf(info.st_mode)) + ", not a file");
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    ::close(descriptor_);
}

std::vector<std::uint8_t> InputFile::ReadHead(std::uint64_t count) const {
    const std::uint64_t wanted = std::min(count, size_);
    if (wanted > kLargestReadableFile) {
        throw FileError(name_, "the file is too large (" + std::to_string(size_) + " bytes)");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(wanted));
    bytes.resize(ReadHeadInto(bytes)); // the file may have shrunk while we read it
    return bytes;
}

std::size_t InputFile::ReadHeadInto(std::span<std::uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(descriptor_, bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(name_, posix::Reason("cannot read the file"));
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::vector<std::uint8_t> InputFile::ReadAll() const {
    return ReadHead(size_);
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    return InputFile(path).ReadAll();
}

void ByteSink::Append(std::span<const std::uint8_t> bytes, std::uint64_t zerosAfter) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    bytes_.resize(bytes_.size() + zerosAfter);
}

void ByteSink::Overwrite(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset) {
        throw std::out_of_range("a file may only be overwritten where it was written");
    }
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void ByteSink::Read(std::uint64_t offset, std::span<std::uint8_t> bytes) {
    if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset) {
        throw std::out_of_range("a file may only be read back where it was written");
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), bytes.size(), bytes.begin());
}

void WriteToStandardOutput(std::span<const std::uint8_t> bytes) {
    if (!posix::WriteAll(STDOUT_FILENO, bytes)) {
        throw FileError("standard output", posix::Reason("cannot write"));
    }
}

} // namespace fenwold
