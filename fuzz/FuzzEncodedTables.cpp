// Encoded index and alpha tables as files bring them: the table decoders, the checks a document
// makes, and the drawing of every frame that passes them, at any place in a small buffer.
// Input: frame width, height, flags (bit 0 block flag, bit 1 mask flag, bits 2-3 the frame's
// place in its group of four, bit 4 a team colour table), alpha value, codebook entries, x, y
// (signed), the index table's length (16 bits), the index table, the alpha table.
#include "FuzzSupport.h"
#include "teamcolour/TeamColour.h"
#include "vq/DrawCompressedFrame.h"
#include "vq/RowEncoding.h"
#include "vq/TableValidation.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor input(std::span(data, size));
    const int width = input.u8();
    const int height = input.u8();
    const int flags = input.u8();
    const int alphaValue = input.u8();
    const int entryCount = input.u8();
    const int x = static_cast<std::int8_t>(input.u8());
    const int y = static_cast<std::int8_t>(input.u8());
    const auto indexPart = input.take(input.u16());
    // Copies of their own size, so that reading past either is caught.
    const std::vector<std::uint8_t> indexTable(indexPart.begin(), indexPart.end());
    const std::vector<std::uint8_t> alphaTable(input.rest().begin(), input.rest().end());
    const int blockFlag = flags & 1;
    const int maskFlag = (flags >> 1) & 1;

    if (DecodeAlphaTable(alphaTable, width, height).size() !=
            static_cast<std::size_t>(width) * height ||
        DecodeMaskedAlphaTable(alphaTable, width, height).size() !=
            static_cast<std::size_t>(width) * height) {
        fuzz::Broken("an alpha table decoded to the wrong size");
    }
    if (DecodeIndexTable(indexTable, width, height).size() !=
        static_cast<std::size_t>(width / 2) * height) {
        fuzz::Broken("an index table decoded to the wrong size");
    }
    if (!IndexTableFits(indexTable, height, blockFlag, entryCount) ||
        !AlphaTableFits(alphaTable, height, maskFlag)) {
        return 0;
    }
    std::vector<Pixel555> codebook(static_cast<std::size_t>(entryCount) * (blockFlag ? 16 : 8));
    for (std::size_t i = 0; i < codebook.size(); ++i) {
        codebook[i] = static_cast<Pixel555>(i * 40503u);
    }
    const TeamColourTable team = [] {
        TeamColourTable table;
        table.fill(0x3DEF);
        return table;
    }();
    constexpr int kBufferWidth = 24;
    constexpr int kBufferHeight = 20;
    std::vector<Pixel555> buffer(kBufferWidth * kBufferHeight, 0x0421);
    const FrameTables frame{width, height, (flags >> 2) & 3, indexTable, alphaTable};
    DrawFrameTables({buffer.data(), kBufferWidth, kBufferHeight}, x, y, maskFlag, blockFlag, frame,
                    {blockFlag == 0 ? codebook.data() : nullptr,
                     blockFlag == 1 ? codebook.data() : nullptr,
                     (flags & 16) != 0 ? team.data() : nullptr},
                    alphaValue);
    return 0;
}
