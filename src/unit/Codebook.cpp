#include "unit/Codebook.h"

#include "vq/ColourTables.h"

#include <stdexcept>

namespace fenwold {

Codebook CodebookFromLookupTable(std::int32_t entryCount,
                                 std::span<const std::uint8_t> lookupTable) {
    constexpr std::size_t kBytesPerEntry = 48;
    const auto entries = static_cast<std::size_t>(entryCount);
    if (entryCount < 0 || lookupTable.size() != entries * kBytesPerEntry) {
        throw std::invalid_argument("lookup table size does not match its entry count");
    }
    Codebook codebook;
    codebook.blockFlag = 1;
    codebook.entries16 = LookupTablePixels(lookupTable);
    return codebook;
}

} // namespace fenwold
