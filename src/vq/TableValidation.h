#pragma once

#include "vq/CompressionResult.h"
#include "vq/DrawCompressedFrame.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace fenwold {

// Encoded tables come from the engine and from files. A document checks them when it takes them
// in, so that drawing can trust them: every row the drawing reads is framed inside the table,
// every token's values lie inside its row, and every index names an entry of the codebook.

// The rows of an index table a frame of this height reads: one per pixel row pair with
// 16-pixel entries, one per pixel row with 8-pixel entries.
int IndexRowsRead(int height, int blockFlag);

bool IndexTableFits(std::span<const std::uint8_t> table, int height, int blockFlag, int entryCount);
// Plain animations (mask flag 0) use the 7-bit scheme, team-coloured ones the 6-bit scheme.
bool AlphaTableFits(std::span<const std::uint8_t> table, int height, int maskFlag);

// One animation record of a document: its frames' nodes (width, height, index, bytes), its
// index tables (bytes) and its mask and block flags.
template <typename Animation>
bool AnimationTablesFit(const Animation& animation, int entryCount) {
    const auto tableCount = static_cast<std::size_t>(std::size(animation.indexTables));
    for (const auto& frame : animation.alphaTables) {
        if (frame.index < 0 || static_cast<std::size_t>(frame.index / 4) >= tableCount ||
            !AlphaTableFits(TableBytes(frame), frame.height, animation.maskFlag) ||
            !IndexTableFits(
                TableBytes(*std::next(std::begin(animation.indexTables), frame.index / 4)),
                frame.height, animation.blockFlag, entryCount)) {
            return false;
        }
    }
    return true;
}

// A compression result as a document takes it: frame i of an animation is its i-th alpha
// table, entries have 16 pixels.
bool CompressionResultFits(const CompressionResult& result);
// What a document says when it refuses a result that does not fit, and stays as it was.
inline constexpr std::string_view kCompressionResultRefused =
    "The compression made tables that do not fit its frames; nothing was changed.";

} // namespace fenwold
