#include "unittools/RadialTables.h"

#include <cmath>

namespace fenwold {

const RadialTables& Radial() {
    static const RadialTables tables = [] {
        RadialTables filled;
        for (int i = 0; i < RadialTables::kDegrees; ++i) {
            const double radians = i * RadialTables::kDegreeFactor;
            filled.cosine[static_cast<std::size_t>(i)] = static_cast<float>(std::cos(radians));
            filled.sine[static_cast<std::size_t>(i)] = static_cast<float>(std::sin(radians));
        }
        return filled;
    }();
    return tables;
}

} // namespace fenwold
