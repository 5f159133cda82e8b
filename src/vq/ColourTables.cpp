#include "vq/ColourTables.h"

namespace fenwold {

std::uint8_t GreyLevel(Pixel555 pixel) {
    const double red = Red5(pixel);
    const double green = Green5(pixel);
    const double blue = Blue5(pixel);
    // 0.589, not 0.587: the tool has always weighted green this way.
    return static_cast<std::uint8_t>(0.299 * red + 0.589 * green + 0.114 * blue);
}

const std::array<std::uint8_t, 32768>& GreyLevels() {
    static const std::array<std::uint8_t, 32768> table = [] {
        std::array<std::uint8_t, 32768> t{};
        for (std::size_t p = 0; p < t.size(); ++p) {
            t[p] = GreyLevel(static_cast<Pixel555>(p));
        }
        return t;
    }();
    return table;
}

std::vector<Pixel555> LookupTablePixels(std::span<const std::uint8_t> lookupTable) {
    std::vector<Pixel555> pixels;
    pixels.reserve(lookupTable.size() / 3);
    for (std::size_t i = 0; i + 2 < lookupTable.size(); i += 3) {
        const int blue = lookupTable[i] & 31;
        const int green = lookupTable[i + 1] & 31;
        const int red = lookupTable[i + 2] & 31;
        pixels.push_back(static_cast<Pixel555>(red << 10 | green << 5 | blue));
    }
    return pixels;
}

} // namespace fenwold
