#include "platform/BinaryWriter.h"

#include "platform/FileIo.h"

#include <bit>
#include <cassert>
#include <stdexcept>

namespace fenwold {

void BinaryWriter::u8(std::uint8_t value) {
    buffer_.push_back(value);
}

void BinaryWriter::u16(std::uint16_t value) {
    buffer_.push_back(static_cast<std::uint8_t>(value));
    buffer_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void BinaryWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        buffer_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void BinaryWriter::f32(float value) {
    u32(std::bit_cast<std::uint32_t>(value));
}

void BinaryWriter::magic(std::string_view text) {
    if (text.size() >= kMagicSize) {
        throw std::invalid_argument("magic text longer than its field");
    }
    buffer_.insert(buffer_.end(), text.begin(), text.end());
    zeros(kMagicSize - text.size());
}

void BinaryWriter::bytes(std::span<const std::uint8_t> data) {
    buffer_.insert(buffer_.end(), data.begin(), data.end());
}

void BinaryWriter::write(std::span<const std::uint16_t> values) {
    buffer_.reserve(buffer_.size() + values.size() * 2);
    for (auto value : values) {
        u16(value);
    }
}

void BinaryWriter::write(std::span<const std::int16_t> values) {
    buffer_.reserve(buffer_.size() + values.size() * 2);
    for (auto value : values) {
        i16(value);
    }
}

void BinaryWriter::write(std::span<const std::int32_t> values) {
    buffer_.reserve(buffer_.size() + values.size() * 4);
    for (auto value : values) {
        i32(value);
    }
}

void BinaryWriter::zeros(std::size_t count) {
    buffer_.insert(buffer_.end(), count, 0);
}

void BinaryWriter::patchU32(std::size_t offset, std::uint32_t value) {
    if (offset + 4 > buffer_.size()) {
        throw std::out_of_range("patchU32 beyond the written bytes");
    }
    for (int i = 0; i < 4; ++i) {
        buffer_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void BinaryWriter::SaveAtomically(const std::filesystem::path& path) const {
    WriteFileAtomically(path, buffer_);
}

} // namespace fenwold
