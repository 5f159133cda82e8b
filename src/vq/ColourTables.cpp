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

} // namespace fenwold
