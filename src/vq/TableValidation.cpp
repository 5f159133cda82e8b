#include "vq/TableValidation.h"

#include "vq/RowEncoding.h"
#include "vq/VqTypes.h"

namespace fenwold {

namespace {

// Walks the first `rows` framed rows; `tokensFit(row bytes)` checks each row's tokens.
template <typename TokensFit>
bool RowsFit(std::span<const std::uint8_t> table, int rows, const TokensFit& tokensFit) {
    std::size_t at = 0;
    for (int r = 0; r < rows; ++r) {
        FramedRow row;
        if (!ReadRowFrame(table, at, row) || !tokensFit(table.subspan(row.tokens, row.length))) {
            return false;
        }
        at = row.tokens + row.length;
    }
    return true;
}

// 7-bit tokens whose values (valueBytes each) lie inside the row and pass valueFits.
template <typename ValueFits>
bool Tokens7Fit(std::span<const std::uint8_t> row, std::size_t valueBytes,
                const ValueFits& valueFits) {
    std::size_t p = 0;
    while (p < row.size()) {
        const std::uint8_t header = row[p++];
        const std::size_t values = (header & kRunFlag) != 0 ? 1 : header & 0x7F;
        if (values * valueBytes > row.size() - p) {
            return false;
        }
        for (std::size_t v = 0; v < values; ++v, p += valueBytes) {
            if (!valueFits(row.subspan(p, valueBytes))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

int IndexRowsRead(int height, int blockFlag) {
    return blockFlag == 1 ? (height + 1) / 2 : height;
}

bool IndexTableFits(std::span<const std::uint8_t> table, int height, int blockFlag,
                    int entryCount) {
    return RowsFit(table, IndexRowsRead(height, blockFlag), [&](std::span<const std::uint8_t> row) {
        return Tokens7Fit(row, 2, [&](std::span<const std::uint8_t> value) {
            return (value[0] | value[1] << 8) < entryCount;
        });
    });
}

bool AlphaTableFits(std::span<const std::uint8_t> table, int height, int maskFlag) {
    if (maskFlag != 0) {
        // Every byte is a whole 6-bit token.
        return RowsFit(table, height, [](std::span<const std::uint8_t>) { return true; });
    }
    return RowsFit(table, height, [](std::span<const std::uint8_t> row) {
        return Tokens7Fit(row, 1, [](std::span<const std::uint8_t>) { return true; });
    });
}

bool CompressionResultFits(const CompressionResult& result) {
    if (result.entryCount < 0 ||
        result.lookupTable.size() != static_cast<std::size_t>(result.entryCount) * kBlockBytes) {
        return false;
    }
    for (const EncodedAnimation& animation : result.animations) {
        const std::size_t frames = animation.alphaTables.size();
        if (animation.indexTables.size() < (frames + 3) / 4) {
            return false;
        }
        for (std::size_t i = 0; i < frames; ++i) {
            const EncodedAlphaTable& alpha = animation.alphaTables[i];
            if (!AlphaTableFits(alpha.bytes, alpha.height, animation.fields.maskFlag) ||
                !IndexTableFits(animation.indexTables[i / 4], alpha.height, 1, result.entryCount)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace fenwold
