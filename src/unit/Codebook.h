#pragma once

#include "image/Pixel.h"
#include "vq/DrawCompressedFrame.h"

#include <cstdint>
#include <span>
#include <vector>

namespace fenwold {

// The shared table of picture blocks every compressed frame refers to. With block flag 1 an entry
// is 16 pixels, a 2 x 2 square over four frames (pixel c + 2r + 4f is column c, row r of frame
// f); older files have block flag 0 and entries of 8 pixels. Only the table of the flag is used.
struct Codebook {
    std::int32_t blockFlag = 0;
    std::vector<Pixel555> entries8;
    std::vector<Pixel555> entries16;

    int PixelsPerEntry() const { return blockFlag == 1 ? 16 : 8; }
    std::vector<Pixel555>& InUse() { return blockFlag == 1 ? entries16 : entries8; }
    const std::vector<Pixel555>& InUse() const { return blockFlag == 1 ? entries16 : entries8; }
    std::int32_t Size() const {
        return static_cast<std::int32_t>(InUse().size() /
                                         static_cast<std::size_t>(PixelsPerEntry()));
    }
    // The tables a frame is drawn through, with a team colour table or none.
    FrameCodebooks Drawing(const Pixel555* teamColours) const {
        return {entries8.data(), entries16.data(), teamColours};
    }
};

// The 16-pixel codebook of a compression run from its lookup table: 48 bytes an entry, each pixel
// three bytes blue, green, red of which only the low five bits count.
Codebook CodebookFromLookupTable(std::int32_t entryCount,
                                 std::span<const std::uint8_t> lookupTable);

} // namespace fenwold
