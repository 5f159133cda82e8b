#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

// Little-endian field reader over a whole file held in memory. Every read is checked against the
// bytes left and every count against the bytes it needs before anything is allocated; a failure
// raises FileError naming the file.
class BinaryReader {
public:
    static constexpr std::size_t kMagicSize = 32;
    // The magic field and the version word after it, with which most files begin.
    static constexpr std::size_t kHeadSize = kMagicSize + 4;

    // Reads the whole file; raises FileError when it cannot be opened or read.
    static BinaryReader FromFile(const std::filesystem::path& path);
    // Reads only the file's first `count` bytes (all of it when shorter): a header to check, or
    // a format of fixed size, without reading whatever a wrong file holds beyond.
    static BinaryReader FromFileHead(const std::filesystem::path& path, std::uint64_t count);
    // Reads from bytes owned by the caller, which must outlive the reader. `name` is used in
    // messages.
    BinaryReader(std::string name, std::span<const std::uint8_t> bytes);

    BinaryReader(BinaryReader&&) noexcept = default;
    BinaryReader& operator=(BinaryReader&&) noexcept = default;
    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;

    const std::string& name() const { return name_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ == bytes_.size(); }
    // The size of the whole file, of which the reader may hold only the head.
    std::uint64_t fileSize() const { return fileSize_; }
    // Bytes of the file after the current position, read or not.
    std::uint64_t bytesAfter() const { return fileSize_ - position_; }

    std::uint8_t u8();
    std::uint16_t u16();
    std::int16_t i16();
    std::uint32_t u32();
    std::int32_t i32();
    float f32();

    // The 32-byte magic field: its text up to the first zero byte.
    std::string magic();
    // Reads the magic field and refuses the file unless it holds exactly `expected`.
    void expectMagic(std::string_view expected);

    // A view of the next `count` bytes, valid as long as the reader.
    std::span<const std::uint8_t> view(std::size_t count);
    std::vector<std::uint8_t> bytes(std::size_t count);
    void read(std::span<std::uint8_t> out);
    void read(std::span<std::uint16_t> out);
    void read(std::span<std::int16_t> out);
    void read(std::span<std::int32_t> out);
    void skip(std::size_t count);
    void seek(std::size_t position);

    // Refuses the file unless `count` elements of `elementSize` bytes can still be read; call it
    // before allocating for a count that came from the file.
    void requireAvailable(std::uint64_t count, std::size_t elementSize, std::string_view what);

    [[noreturn]] void fail(const std::string& reason) const;

private:
    struct Owned {};
    BinaryReader(Owned, std::string name, std::vector<std::uint8_t> bytes, std::uint64_t fileSize);
    void need(std::size_t count, std::string_view what);

    std::string name_;
    std::vector<std::uint8_t> owned_;
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    std::uint64_t fileSize_ = 0;
};

} // namespace fenwold
