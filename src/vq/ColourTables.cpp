#include "vq/ColourTables.h"

namespace fenwold {

std::uint8_t GreyLevel(Pixel555 pixel) {
    const double red = Red5(pixel);
    const double green = Green5(pixel);
    const double blue = Blue5(pixel);
    // 0.589, not 0.587: the tool has always weighted green this way.
    return static_cast<std::uint8_t>(0.299 * red + 0.589 * green + 0.114 * blue);
}

const ColourTables& GetColourTables() {
    static const ColourTables tables = [] {
        ColourTables t{};
        for (int p = 0; p < 32768; ++p) {
            const auto pixel = static_cast<Pixel555>(p);
            t.expansion[p] = {static_cast<std::uint8_t>(Blue5(pixel)),
                              static_cast<std::uint8_t>(Green5(pixel)),
                              static_cast<std::uint8_t>(Red5(pixel))};
            t.grey[p] = GreyLevel(pixel);
        }
        return t;
    }();
    return tables;
}

} // namespace fenwold
