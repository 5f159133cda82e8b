#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace fenwold {

// Little-endian field writer into memory. The finished bytes go to disk in one atomic step
// (SaveAtomically), so a failed save never leaves a broken or emptied file behind.
class BinaryWriter {
public:
    static constexpr std::size_t kMagicSize = 32;

    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void i16(std::int16_t value) { u16(static_cast<std::uint16_t>(value)); }
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void f32(float value);
    // The text zero-filled to 32 bytes; the text must leave room for at least one zero.
    void magic(std::string_view text);
    void bytes(std::span<const std::uint8_t> data);
    void write(std::span<const std::uint16_t> values);
    void write(std::span<const std::int16_t> values);
    void write(std::span<const std::int32_t> values);
    void zeros(std::size_t count);

    // Overwrites a 32-bit field written earlier (sizes and offset tables known only later).
    void patchU32(std::size_t offset, std::uint32_t value);

    std::size_t size() const { return buffer_.size(); }
    const std::vector<std::uint8_t>& buffer() const { return buffer_; }
    std::vector<std::uint8_t> take() { return std::move(buffer_); }

    // Writes the buffer to `path` through a temporary file beside it; raises FileError.
    void SaveAtomically(const std::filesystem::path& path) const;

private:
    std::vector<std::uint8_t> buffer_;
};

} // namespace fenwold
