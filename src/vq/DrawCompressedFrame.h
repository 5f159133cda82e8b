#pragma once

#include "image/Pixel.h"

#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

namespace fenwold {

// Source over destination with weight w / 32 (w from 1 to 32), per 5-bit channel
// d + floor(s * w / 32) - floor(d * w / 32), worked on the whole pixel with the red-and-blue
// and the green masks; the destination's bit 15 is kept.
constexpr Pixel555 BlendWeighted(Pixel555 src, Pixel555 dst, int w) {
    const auto part = [w](Pixel555 p, unsigned mask) {
        return static_cast<unsigned>(((p & mask) * static_cast<unsigned>(w)) >> 5) & mask;
    };
    return static_cast<Pixel555>(dst + part(src, 0x7C1F) - part(dst, 0x7C1F) + part(src, 0x03E0) -
                                 part(dst, 0x03E0));
}

// Where a frame is drawn: a buffer of width x height pixels, top row first.
struct DrawTarget {
    Pixel555* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// What a frame is drawn through: the 8-pixel codebook (block flag 0), the 16-pixel one (block
// flag 1), and the 32-entry team colour table for the team pixels of a team-coloured animation;
// without a table they keep the codebook's pixel.
struct FrameCodebooks {
    const Pixel555* entries8 = nullptr;
    const Pixel555* entries16 = nullptr;
    const Pixel555* teamColours = nullptr;
};

// What the drawing reads of one frame: its size, its position in the animation, the index table
// of its group of four frames and its own alpha table.
struct FrameTables {
    int width = 0;
    int height = 0;
    int index = 0;
    std::span<const std::uint8_t> indexTable;
    std::span<const std::uint8_t> alphaTable;
};

// Draws a compressed frame with its top-left pixel at (x, y) into the target, clipped to it,
// straight from its token streams: through the 16-pixel codebook with block flag 1, the 8-pixel
// one with block flag 0; team pixels of a team-coloured animation (mask flag not 0) through the
// team colour table; blended with the overall alpha value 0-255.
//
// The tables must have passed the checks of TableValidation.h for this frame size, block flag,
// mask flag and codebook size: the drawing then reads nothing outside them or the codebook.
void DrawFrameTables(const DrawTarget& target, int x, int y, int maskFlag, int blockFlag,
                     const FrameTables& frame, const FrameCodebooks& codebooks, int alphaValue);

inline std::span<const std::uint8_t> TableBytes(const std::vector<std::uint8_t>& table) {
    return table;
}
template <typename Node>
std::span<const std::uint8_t> TableBytes(const Node& node) {
    return node.bytes;
}

// The same for a document's records: the animation gives its mask flag, block flag and list of
// index tables (one per group of four frames), the frame's node its width, height, index and
// alpha table bytes.
template <typename Animation, typename FrameNode>
void DrawCompressedFrame(const DrawTarget& target, int x, int y, const Animation& animation,
                         const FrameNode& frame, const FrameCodebooks& codebooks, int alphaValue) {
    const auto table = std::next(std::begin(animation.indexTables), frame.index / 4);
    DrawFrameTables(
        target, x, y, animation.maskFlag, animation.blockFlag,
        FrameTables{frame.width, frame.height, frame.index, TableBytes(*table), TableBytes(frame)},
        codebooks, alphaValue);
}

} // namespace fenwold
