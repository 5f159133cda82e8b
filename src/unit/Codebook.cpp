#include "unit/Codebook.h"

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
    codebook.entries16.reserve(entries * 16);
    for (std::size_t i = 0; i < lookupTable.size(); i += 3) {
        const int blue = lookupTable[i] & 31;
        const int green = lookupTable[i + 1] & 31;
        const int red = lookupTable[i + 2] & 31;
        codebook.entries16.push_back(static_cast<Pixel555>(red << 10 | green << 5 | blue));
    }
    return codebook;
}

} // namespace fenwold
