#pragma once

#include "image/Pixel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold::test {

// Builds Targa files in memory, byte by byte: an 18-byte header (true-colour, plain or run-length,
// 24 or 32 bits, bottom row first unless told otherwise) followed by whatever pixel data and
// packets a test appends.
class TgaBuilder {
public:
    TgaBuilder(int width, int height, int depth = 32, bool runLength = false);

    TgaBuilder& Type(std::uint8_t type);
    TgaBuilder& Depth(std::uint8_t depth);
    TgaBuilder& Descriptor(std::uint8_t descriptor);

    // Pixels of `depth` bytes each (B, G, R and, at 32 bits, A), as stored in the file.
    TgaBuilder& Pixels(std::span<const TgaColor> colours);
    TgaBuilder& Pixel(TgaColor colour);
    // A run packet of 1 to 128 pixels and a raw packet of the given 1 to 128 pixels.
    TgaBuilder& Run(int count, TgaColor colour);
    TgaBuilder& Raw(std::span<const TgaColor> colours);
    TgaBuilder& Byte(std::uint8_t value);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    // A whole picture given top row first, as the tool's buffers hold it: rows are stored
    // bottom first, run-length pictures as runs of two or more equal pixels and raw packets,
    // never across a row's end.
    static std::vector<std::uint8_t> Picture(int width, int height,
                                             std::span<const TgaColor> topRowFirst, int depth = 32,
                                             bool runLength = false);

    // The same picture with an image ID field of `length` bytes (byte 0 gives its length), or
    // with a colour map of `entries` 24-bit entries, before the pixel data; a true-colour
    // picture may carry either.
    static std::vector<std::uint8_t> WithImageId(std::vector<std::uint8_t> file,
                                                 std::uint8_t length);
    static std::vector<std::uint8_t> WithColourMap(std::vector<std::uint8_t> file,
                                                   std::uint16_t entries);

private:
    int depth_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace fenwold::test
