#include "vq/Weights.h"

#include <algorithm>

namespace fenwold {

double Luminance(const std::uint8_t* entry) {
    const double blue = entry[0];
    const double green = entry[1];
    const double red = entry[2];
    return 0.114 * blue + 0.299 * red + 0.589 * green;
}

double BlockWeightFactor(int mode, const BlockVector& block) {
    if (mode == kAverageBrightness) {
        double sum = 0.0;
        for (int e = 0; e < kBlockEntries; ++e) {
            sum += Luminance(&block[static_cast<std::size_t>(3 * e)]);
        }
        return sum * 0.0625;
    }
    if (mode == kMaxBrightness) {
        float largest = 0.0f;
        for (int e = 0; e < kBlockEntries; ++e) {
            largest = std::max(
                largest, static_cast<float>(Luminance(&block[static_cast<std::size_t>(3 * e)])));
        }
        return static_cast<double>(largest) * (1.0 / 31.0) + 0.5;
    }
    return 1.0;
}

void ApplyWeights(std::span<VqVector> vectors, int mode) {
    for (std::size_t i = 1; i < vectors.size(); ++i) {
        vectors[i].weight =
            static_cast<float>(vectors[i].weight * BlockWeightFactor(mode, vectors[i].block));
    }
}

} // namespace fenwold
