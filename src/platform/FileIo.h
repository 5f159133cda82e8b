#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace fenwold {

// Files larger than this are refused rather than read into memory: nothing the tool reads comes
// near it, and a wrong file (a disk image, say) should fail at once.
inline constexpr std::uintmax_t kLargestReadableFile = std::uintmax_t{1} << 30;

// A file opened for reading. Only regular files are read: a pipe or a device might block the run
// for ever or never end, so it is refused at once (it is opened without waiting for a writer).
// Raises FileError naming the file.
class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::uint64_t size() const { return size_; }
    // The first `count` bytes, or the whole file when it is shorter; a format reads its header
    // this way and decides how much more it needs before reading it.
    std::vector<std::uint8_t> ReadHead(std::uint64_t count) const;
    // The same into `bytes`, as many as it holds; returns how many were read (fewer when the
    // file is shorter), so that a caller reading file after file can keep one buffer.
    std::size_t ReadHeadInto(std::span<std::uint8_t> bytes) const;
    // The whole file; refused beyond kLargestReadableFile.
    std::vector<std::uint8_t> ReadAll() const;

private:
    std::string name_;
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

// The whole file; raises FileError when it cannot be opened or read, is not a regular file or
// is too large.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Where a file being saved is written while its contents are made, so that a large file is
// never held in memory whole. Each Append is written before it returns, so its buffer may be
// used again at once; bytes already written can be overwritten once their values are known
// (a total ahead of what it counts). The writer raises what the save raises.
class FileSink {
public:
    virtual ~FileSink() = default;
    // The bytes, then a run of zero bytes that is not held in memory.
    virtual void Append(std::span<const std::uint8_t> bytes, std::uint64_t zerosAfter = 0) = 0;
    // Writes over bytes appended before, which must reach `offset + bytes.size()`.
    virtual void Overwrite(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    // Reads back bytes as they stand now; they must have been appended before.
    virtual void Read(std::uint64_t offset, std::span<std::uint8_t> bytes) = 0;
    // How many bytes were appended.
    virtual std::uint64_t size() const = 0;
};

// A file's contents as the writer that makes them.
using FileContents = std::function<void(FileSink&)>;

// A sink that keeps the bytes in memory.
class ByteSink final : public FileSink {
public:
    void Append(std::span<const std::uint8_t> bytes, std::uint64_t zerosAfter = 0) override;
    void Overwrite(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    void Read(std::uint64_t offset, std::span<std::uint8_t> bytes) override;
    std::uint64_t size() const override { return bytes_.size(); }

    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// One file of a save: where it goes and its contents. Bytes given as a span are not copied:
// they must outlive the save.
struct FileToSave {
    FileToSave(std::filesystem::path target, std::span<const std::uint8_t> bytes)
        : target(std::move(target)), write([bytes](FileSink& sink) { sink.Append(bytes); }) {}
    FileToSave(std::filesystem::path target, FileContents write)
        : target(std::move(target)), write(std::move(write)) {}

    std::filesystem::path target;
    FileContents write;
};

// Saves files as one, so that no failure or signal leaves some replaced and others not:
// 1. every target is checked before anything is written: a folder, a block device, a socket or
//    a read-only file is refused, and so are two names for the same file;
// 2. the new contents go to temporary files beside the files they replace, and are synced;
// 3. a target that exists and is a pipe or a character device (a terminal, /dev/null) is
//    written straight into instead;
// 4. the temporary files are renamed over their targets together, holding an advisory lock on
//    their folders (so concurrent saves of the same files never interleave) and holding off
//    SIGINT, SIGTERM and SIGHUP; should a rename fail, those done are undone.
// A target that is a symbolic link keeps the link: the file it leads to is replaced. A replaced
// file keeps its permissions (and, for root, its owner); a new one gets 0644. Raises FileError
// naming the target; then no target was replaced and no temporary file is left.
void SaveFilesTogether(std::span<const FileToSave> files);

// One file, saved as above.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
void WriteFileAtomically(const std::filesystem::path& path, FileContents write);

// Writes to the program's standard output (for "-o -"); raises FileError.
void WriteToStandardOutput(std::span<const std::uint8_t> bytes);

} // namespace fenwold
