#include "platform/BinaryReader.h"

#include "platform/FileError.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace fenwold {

BinaryReader BinaryReader::FromFile(const std::filesystem::path& path) {
    const InputFile file(path);
    return BinaryReader(Owned{}, path.string(), file.ReadAll(), file.size());
}

BinaryReader BinaryReader::FromFileHead(const std::filesystem::path& path, std::uint64_t count) {
    const InputFile file(path);
    return BinaryReader(Owned{}, path.string(), file.ReadHead(count), file.size());
}

BinaryReader::BinaryReader(std::string name, std::span<const std::uint8_t> bytes)
    : name_(std::move(name)), bytes_(bytes), fileSize_(bytes.size()) {}

// Moving a vector keeps its storage, so the view stays valid when the reader is moved.
BinaryReader::BinaryReader(Owned, std::string name, std::vector<std::uint8_t> bytes,
                           std::uint64_t fileSize)
    : name_(std::move(name)), owned_(std::move(bytes)), bytes_(owned_),
      fileSize_(std::max<std::uint64_t>(fileSize, owned_.size())) {}

void BinaryReader::fail(const std::string& reason) const {
    throw FileError(name_, reason);
}

void BinaryReader::need(std::size_t count, std::string_view what) {
    if (count > remaining()) {
        fail("the file ends early: " + std::string(what) + " needs " + std::to_string(count) +
             " bytes at offset " + std::to_string(position_) + " but only " +
             std::to_string(remaining()) + " remain");
    }
}

void BinaryReader::requireAvailable(std::uint64_t count, std::size_t elementSize,
                                    std::string_view what) {
    if (elementSize != 0 && count > remaining() / elementSize) {
        fail(std::string(what) + " claims " + std::to_string(count) + " entries of " +
             std::to_string(elementSize) + " bytes but only " + std::to_string(remaining()) +
             " bytes remain");
    }
}

std::uint8_t BinaryReader::u8() {
    need(1, "a byte");
    return bytes_[position_++];
}

std::uint16_t BinaryReader::u16() {
    need(2, "a 16-bit field");
    const auto* p = bytes_.data() + position_;
    position_ += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int16_t BinaryReader::i16() {
    return static_cast<std::int16_t>(u16());
}

std::uint32_t BinaryReader::u32() {
    need(4, "a 32-bit field");
    const auto* p = bytes_.data() + position_;
    position_ += 4;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t BinaryReader::i32() {
    return static_cast<std::int32_t>(u32());
}

float BinaryReader::f32() {
    return std::bit_cast<float>(u32());
}

std::string BinaryReader::magic() {
    auto field = view(kMagicSize);
    const auto* begin = reinterpret_cast<const char*>(field.data());
    return std::string(begin, strnlen(begin, kMagicSize));
}

void BinaryReader::expectMagic(std::string_view expected) {
    if (remaining() < kMagicSize) {
        fail("too short to be a \"" + std::string(expected) + "\" file");
    }
    const std::string found = magic();
    if (found != expected) {
        fail("not a \"" + std::string(expected) + "\" file");
    }
}

std::span<const std::uint8_t> BinaryReader::view(std::size_t count) {
    need(count, "a block of bytes");
    auto result = bytes_.subspan(position_, count);
    position_ += count;
    return result;
}

std::vector<std::uint8_t> BinaryReader::bytes(std::size_t count) {
    auto source = view(count);
    return {source.begin(), source.end()};
}

void BinaryReader::read(std::span<std::uint8_t> out) {
    auto source = view(out.size());
    std::memcpy(out.data(), source.data(), out.size());
}

void BinaryReader::read(std::span<std::uint16_t> out) {
    need(out.size() * 2, "a table of 16-bit fields");
    for (auto& value : out) {
        value = u16();
    }
}

void BinaryReader::read(std::span<std::int16_t> out) {
    need(out.size() * 2, "a table of 16-bit fields");
    for (auto& value : out) {
        value = i16();
    }
}

void BinaryReader::read(std::span<std::int32_t> out) {
    need(out.size() * 4, "a table of 32-bit fields");
    for (auto& value : out) {
        value = i32();
    }
}

void BinaryReader::skip(std::size_t count) {
    need(count, "skipped bytes");
    position_ += count;
}

void BinaryReader::seek(std::size_t position) {
    if (position > bytes_.size()) {
        fail("an offset points past the end of the file (" + std::to_string(position) + " of " +
             std::to_string(bytes_.size()) + " bytes)");
    }
    position_ = position;
}

} // namespace fenwold
