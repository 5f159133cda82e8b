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

// What the drawing reads of one frame: its size, its position in the animation, the index table
// of its group of four frames and its own alpha table.
struct FrameTables {
    int width = 0;
    int height = 0;
    int index = 0;
    std::span<const std::uint8_t> indexTable;
    std::span<const std::uint8_t> alphaTable;
};

// Draws a compressed frame with its top-left pixel at (x, y) into a bufferWidth x bufferHeight
// buffer, clipped to it, straight from its token streams: through the 16-pixel codebook with
// block flag 1, the 8-pixel one with block flag 0; team pixels of a team-coloured animation
// (mask flag not 0) through the 32-entry team colour table, or as the codebook pixel when there
// is none; blended with the overall alpha value 0-255.
//
// The tables must have passed the checks of TableValidation.h for this frame size, block flag,
// mask flag and codebook size: the drawing then reads nothing outside them or the codebook.
void DrawFrameTables(int bufferWidth, int bufferHeight, int x, int y, int maskFlag, int blockFlag,
                     const FrameTables& frame, const Pixel555* codebook8,
                     const Pixel555* codebook16, const Pixel555* teamColours, Pixel555* buffer,
                     int alphaValue);

inline std::span<const std::uint8_t> TableBytes(const std::vector<std::uint8_t>& table) {
    return table;
}
template <typename Node>
std::span<const std::uint8_t> TableBytes(const Node& node) {
    return node.bytes;
}

// The same for a document's records: the animation's list of index tables (one per group of
// four frames) and the frame's node (width, height, index and its alpha table bytes).
template <typename IndexTableList, typename FrameNode>
void DrawCompressedFrame(int bufferWidth, int bufferHeight, int x, int y, int maskFlag,
                         int blockFlag, const IndexTableList& indexTables, const FrameNode& frame,
                         const Pixel555* codebook8, const Pixel555* codebook16,
                         const Pixel555* teamColours, Pixel555* buffer, int alphaValue) {
    const auto table = std::next(std::begin(indexTables), frame.index / 4);
    DrawFrameTables(
        bufferWidth, bufferHeight, x, y, maskFlag, blockFlag,
        FrameTables{frame.width, frame.height, frame.index, TableBytes(*table), TableBytes(frame)},
        codebook8, codebook16, teamColours, buffer, alphaValue);
}

} // namespace fenwold
