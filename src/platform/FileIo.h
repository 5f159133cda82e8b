#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace fenwold {

// Files larger than this are refused rather than read into memory: nothing the tool reads comes
// near it, and a wrong file (a disk image, say) should fail at once.
inline constexpr std::uintmax_t kLargestReadableFile = std::uintmax_t{1} << 30;

// The whole file; raises FileError when it cannot be opened or read or is too large.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Writes a file through a temporary file in the same folder that replaces the target only when
// everything was written. Destroying it before Commit removes the temporary file and leaves the
// target as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    void Commit();

    const std::filesystem::path& temporaryPath() const { return temporary_; }

private:
    void Discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int descriptor_ = -1;
};

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace fenwold
